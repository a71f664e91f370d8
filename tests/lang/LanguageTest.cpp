#include "lang/Language.h"

#include <gtest/gtest.h>

#include "app/Settings.h"
#include "support/ScriptedServices.h"
#include "support/TestFolder.h"

namespace lumetra {
namespace {

class LanguageTest : public ::testing::Test {
  protected:
    test::TestFolder dir;
    test::ScriptedServices services;
    Settings settings{dir / "Settings.ini"};
    Language lang{settings, services, dir / "program"};

    void setLanguage(const std::string& value) {
        dir.write("Settings.ini", "[Main]\nLanguage=" + value + "\n");
    }
};

TEST_F(LanguageTest, LookupCases) {
    test::writeLanguageFile(dir / "program", "English",
                            "[GUI]\nTitle=Lumetra\nEmpty=\nQuoted=\"  spaced  \"\n"
                            "[messages]\nImgErr=Cannot load %1%.%br%Sorry.\n");
    setLanguage("English");
    struct {
        const char* section;
        const char* key;
        const char* text;
        bool complains;
    } cases[] = {
        {"GUI", "Title", "Lumetra", false},
        {"gui", "TITLE", "Lumetra", false},
        {"GUI", "Quoted", "  spaced  ", false},
        {"Messages", "ImgErr", "Cannot load %1%.%br%Sorry.", false},  // tokens stay
        {"GUI", "Empty", "", true},
        {"GUI", "Missing", "", true},
        {"NoSection", "Title", "", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        services.messages.clear();
        EXPECT_EQ(lang.GetLangString(c.section, c.key), c.text);
        if (c.complains) {
            ASSERT_EQ(services.messages.size(), 1u);
            EXPECT_EQ(services.messages[0].text, std::string("Dod ERR at ") + c.key);
            EXPECT_EQ(services.messages[0].caption, "Lumetra");
        } else {
            EXPECT_TRUE(services.messages.empty());
        }
    }
}

TEST_F(LanguageTest, LanguageFromSettingsOnFirstUseOnly) {
    test::writeLanguageFile(dir / "program", "English", "[GUI]\nTitle=English title\n");
    test::writeLanguageFile(dir / "program", "Deutsch", "[GUI]\nTitle=Deutscher Titel\n");
    setLanguage("English");
    EXPECT_EQ(lang.GetLangString("GUI", "Title"), "English title");
    setLanguage("Deutsch");
    EXPECT_EQ(lang.GetLangString("GUI", "Title"), "English title");
    EXPECT_EQ(lang.CurrentLanguage(), "English");
}

TEST_F(LanguageTest, DefaultIsGermanAndOddSpellingsNameNoFile) {
    test::writeLanguageFile(dir / "program", "Deutsch", "[GUI]\nTitle=Deutscher Titel\n");
    test::writeLanguageFile(dir / "program", "English", "[GUI]\nTitle=English title\n");
    EXPECT_EQ(lang.GetLangString("GUI", "Title"), "Deutscher Titel");  // no settings file

    for (const char* odd : {"english", "ENGLISH", "Français", ""}) {
        SCOPED_TRACE(odd);
        test::ScriptedServices s;
        Language fresh(settings, s, dir / "program");
        setLanguage(odd);
        EXPECT_EQ(fresh.GetLangString("GUI", "Title"), "");
        EXPECT_EQ(fresh.CurrentLanguage(), "");
        ASSERT_EQ(s.messages.size(), 1u);
        EXPECT_EQ(s.messages[0].text, "Dod ERR at Title");
        // Asked again at the next lookup.
        setLanguage("English");
        EXPECT_EQ(fresh.GetLangString("GUI", "Title"), "English title");
    }
}

TEST_F(LanguageTest, NoCachingAndLongTextsCut) {
    setLanguage("English");
    test::writeLanguageFile(dir / "program", "English", "[GUI]\nTitle=one\n");
    EXPECT_EQ(lang.GetLangString("GUI", "Title"), "one");
    test::writeLanguageFile(dir / "program", "English",
                            "[GUI]\nTitle=two\nLong=" + std::string(5000, 'x') + "\n");
    EXPECT_EQ(lang.GetLangString("GUI", "Title"), "two");
    EXPECT_EQ(lang.GetLangString("GUI", "Long").size(), 2047u);
}

TEST_F(LanguageTest, MsgBoxUsesTheTitleAsCaption) {
    setLanguage("English");
    test::writeLanguageFile(dir / "program", "English", "[GUI]\nTitle=Lumetra Test\n");
    services.answers.push_back(mb::IDNO);
    EXPECT_EQ(MsgBox(lang, "Save?", mb::kQuestion), mb::IDNO);
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].caption, "Lumetra Test");
    EXPECT_EQ(services.messages[0].flags, 35);
}

}  // namespace
}  // namespace lumetra
