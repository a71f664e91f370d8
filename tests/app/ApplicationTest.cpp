// New-project defaults, the modified flag, new slides, the music list and the
// start-up order.

#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>

#include "app/Application.h"
#include "app/MusicList.h"
#include "app/ProjectFile.h"
#include "app/Startup.h"
#include "support/ScriptedServices.h"
#include "support/TestFolder.h"

namespace lumetra {
namespace {

namespace fs = std::filesystem;

constexpr const char* kEnglish =
    "[GUI]\nTitle=Lumetra\nDefaultDir=Slideshows\nDefaultShowName=slideshow\n"
    "[frmMain]\ntxtAudio=(none)\n";
constexpr const char* kGerman =
    "[GUI]\nTitle=Lumetra\nDefaultDir=Diashows\nDefaultShowName=diashow\n"
    "[frmMain]\ntxtAudio=(keine)\n";

class ApplicationTest : public ::testing::Test {
  protected:
    test::TestFolder dir;
    test::ScriptedServices services;
    Application app{services, dir / "program", dir / "docs"};

    void SetUp() override {
        test::writeLanguageFile(dir / "program", "English", kEnglish);
        test::writeLanguageFile(dir / "program", "Deutsch", kGerman);
        app.settings.setSettingsFile(dir / "Settings.ini");
    }
    void language(const char* value) {
        dir.write("Settings.ini", std::string("[Main]\nLanguage=") + value + "\n");
    }
};

TEST_F(ApplicationTest, NewProjectDefaultsByLanguage) {
    struct {
        const char* language;
        std::vector<std::string> titles;
        const char* music;
        const char* output;
    } cases[] = {
        {"English",
         {"America the Beautiful", "Bossa 08 Medit L1"},
         "America the Beautiful",
         "Slideshows/slideshow.html"},
        {"Deutsch",
         {"America the Beautiful", "Bossa 08 Medit L1"},
         "Bossa 08 Medit L1",
         "Diashows/diashow.html"},
        {"English", {"Happy", "Zen"}, "Happy", "Slideshows/slideshow.html"},
        {"English", {}, "", "Slideshows/slideshow.html"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language);
        test::ScriptedServices fresh;
        Application a(fresh, dir / "program", dir / "docs");
        a.settings.setSettingsFile(dir / "Settings.ini");
        language(c.language);
        a.musicTitles = c.titles;
        a.project.ImgItems.resize(3);
        a.project.LargeImageHintDeclined = true;
        NewProject(a);
        const Project& p = a.project;
        EXPECT_TRUE(p.ImgItems.empty());
        EXPECT_FALSE(p.Modified());
        EXPECT_FALSE(p.Loading());
        EXPECT_FALSE(p.LargeImageHintDeclined);
        EXPECT_EQ(p.WindowTitle, "Lumetra 3.3.1");
        EXPECT_EQ(p.Settings.MusicTitle, c.music);
        EXPECT_EQ(p.Settings.OutputFile, (dir / "docs" / c.output).string());
        ShowSettings expected;
        expected.MusicTitle = c.music;
        expected.OutputFile = p.Settings.OutputFile;
        EXPECT_EQ(p.Settings, expected);
        EXPECT_TRUE(fresh.messages.empty());
    }
}

TEST_F(ApplicationTest, SetModifiedIsIgnoredWhileLoading) {
    Project& p = app.project;
    p.SetModified(true);
    EXPECT_TRUE(p.Modified());
    {
        Project::LoadingScope loading(p);
        p.SetModified(false);
        EXPECT_TRUE(p.Modified());
        { Project::LoadingScope nested(p); }
        EXPECT_TRUE(p.Loading());
    }
    EXPECT_FALSE(p.Loading());
    p.SetModified(false);
    EXPECT_FALSE(p.Modified());
}

// A view callback that throws inside the load must not leave Loading set,
// or no later edit would count and closing would lose them.
TEST_F(ApplicationTest, AnExceptionInsideLoadingClearsIt) {
    struct ThrowingView : ProjectView {
        void showSettingsChanged() override { throw std::runtime_error("view"); }
    } view;
    app.project.setView(&view);
    EXPECT_THROW(NewProject(app), std::runtime_error);
    app.project.setView(nullptr);
    EXPECT_FALSE(app.project.Loading());
    app.project.SetModified(true);
    EXPECT_TRUE(app.project.Modified());
}

TEST_F(ApplicationTest, SettingsRules) {
    struct {
        bool autostart, navBar;
        const char *width, *height;
        bool navAfter;
        const char *widthAfter, *heightAfter;
    } cases[] = {
        {true, false, "600", "450", false, "600", "450"},
        {false, false, "600", "450", true, "600", "450"},
        {false, true, "12a4", "", true, "124", "1"},
        {true, true, "x", "0", true, "1", "0"},
    };
    for (const auto& c : cases) {
        ShowSettings s;
        s.Autostart = c.autostart;
        s.NavBar = c.navBar;
        s.FitWidth = c.width;
        s.FitHeight = c.height;
        ApplySettingsRules(s);
        EXPECT_EQ(s.NavBar, c.navAfter);
        EXPECT_EQ(s.FitWidth, c.widthAfter);
        EXPECT_EQ(s.FitHeight, c.heightAfter);
        EXPECT_EQ(NavBarEditable(s), c.autostart);
    }
}

TEST_F(ApplicationTest, NewSlideDefaults) {
    dir.write("pic.jpg", "1234567");
    auto reader = [](const std::string&, int& h, int& w) {
        h = 105;
        w = 105;
        return true;
    };
    recImgItems s = NewSlide((dir / "pic.jpg").string(), 7.4, reader);
    EXPECT_EQ(s.Duration, 7000);
    EXPECT_EQ(s.FileSize, 7);
    EXPECT_EQ(s.ImgWidth, 105);
    EXPECT_EQ(s.EffectIn, 0);
    EXPECT_EQ(s.EffectOut, -1);
    EXPECT_EQ(s.Reserved1, 0);
    EXPECT_EQ(s.Reserved2, 1);
    EXPECT_EQ(s.TextColor, 0);
    EXPECT_TRUE(s.Title.empty() && s.Description.empty() && s.Link.empty());

    auto failing = [](const std::string&, int&, int&) { return false; };
    s = NewSlide((dir / "gone.jpg").string(), 5, failing);
    EXPECT_EQ(s.FileSize, -1);
    EXPECT_EQ(s.ImgWidth, 0);
    EXPECT_EQ(s.ImgHeight, 0);
}

TEST_F(ApplicationTest, MusicListTakesExactExtensionOnly) {
    for (const char* name : {"Zen.ravoz", "america the beautiful.ravoz", "Happy.ravoz",
                             "Loud.RAVOZ", "notes.txt", "Old.ravoz.bak", ".ravoz"})
        dir.write(fs::path("audio") / name, "x");
    fs::create_directories(dir / "audio" / "Folder.ravoz");
    const std::vector<std::string> expected = {"america the beautiful", "Happy", "Zen"};
    EXPECT_EQ(FillMusicList(dir / "audio"), expected);
    EXPECT_TRUE(FillMusicList(dir / "missing").empty());
    EXPECT_EQ(DefaultMusicTitle(expected, "English"), "america the beautiful");
}

TEST_F(ApplicationTest, LanguageIsFixedByTheFirstLookup) {
    language("English");
    EXPECT_EQ(app.GetLangString(lang::gui::kDefaultDir), "Slideshows");
    language("Deutsch");
    EXPECT_EQ(app.GetLangString(lang::gui::kDefaultDir), "Slideshows");
    EXPECT_EQ(app.language.CurrentLanguage(), "English");
}

// The start-up order runs against the real environment folders, so point
// them into the test folder.
class StartupTest : public ApplicationTest {
  protected:
    void SetUp() override {
        ApplicationTest::SetUp();
        setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
        setenv("XDG_CONFIG_DIRS", (dir / "xdg").c_str(), 1);
        dir.write("program/data/audio/Happy.ravoz", "x");
        dir.write("xdg/Tesmor/Lumetra/Settings.ini", "[Main]\nLanguage=English\n");
    }
};

TEST_F(StartupTest, RunsTheStartupOrderAndLoadsTheFirstArgument) {
    RunStartup(app, {});
    EXPECT_EQ(app.settings.SettingsFile(), dir / "config" / "Tesmor" / "Lumetra" / "Settings.ini");
    EXPECT_EQ(app.musicTitles, std::vector<std::string>{"Happy"});
    EXPECT_EQ(app.language.CurrentLanguage(), "English");
    EXPECT_EQ(app.project.Settings.MusicTitle, "Happy");
    EXPECT_TRUE(app.instanceMarker);

    app.project.ImgItems.resize(2);
    const std::string path = (dir / "p.lmx").string();
    SaveProject(app, path);
    test::ScriptedServices fresh;
    Application second(fresh, dir / "program", dir / "docs");
    RunStartup(second, {path});
    EXPECT_EQ(second.project.ImgItems.size(), 2u);
    EXPECT_EQ(second.project.WindowTitle, path + " - Lumetra 3.3.1");

    Application third(fresh, dir / "program", dir / "docs");
    RunStartup(third, {""});
    EXPECT_TRUE(third.project.ProjectFileName.empty());
    EXPECT_THROW(RunStartup(third, {(dir / "missing.lmx").string()}), std::system_error);
}

}  // namespace
}  // namespace lumetra
