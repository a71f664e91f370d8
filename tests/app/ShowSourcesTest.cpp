// The checks before a show is built, and the strict mode of the scripted
// services that the window tests rely on.

#include "generator/ShowSources.h"

#include <gtest/gtest.h>

#include "support/AppFixture.h"

namespace lumetra {
namespace {

using Result = ShowSourcesCheck::Result;

class ShowSourcesTest : public test::AppFixture {
  protected:
    void SetUp() override {
        useLanguage(
            "[Messages]\nNoImagesAdded=none\nFileDoesntExist=no %1%\n"
            "AudioDoesntExist=no audio %1%\n[GUI]\nTitle=T\n");
        app.project.AudioFileHint = "(hint)";
    }
    recImgItems slide(const std::string& name) {
        recImgItems s;
        s.FileName = (dir / name).string();
        return s;
    }
};

TEST_F(ShowSourcesTest, Table) {
    dir.write("a.jpg", "x");
    dir.write("song.mp3", "x");
    const std::string song = (dir / "song.mp3").string();
    const std::string gone = (dir / "gone.jpg").string();
    struct {
        const char* name;
        std::vector<std::string> pictures;
        AudioMode mode;
        std::string audio;
        Result result;
        std::string path;
        AudioMode modeAfter;
        std::string message;
        int flags;
    } cases[] = {
        {"no slides",
         {},
         AudioMode::None,
         "",
         Result::NoPictures,
         "",
         AudioMode::None,
         "none",
         mb::kInformation},
        {"first missing picture",
         {"a.jpg", "gone.jpg", "gone2.jpg"},
         AudioMode::None,
         "",
         Result::MissingPicture,
         gone,
         AudioMode::None,
         "no " + gone,
         mb::kError},
        {"own audio missing",
         {"a.jpg"},
         AudioMode::OwnFile,
         "/no/song.mp3",
         Result::MissingAudio,
         "/no/song.mp3",
         AudioMode::OwnFile,
         "no audio /no/song.mp3",
         mb::kError},
        {"own audio empty",
         {"a.jpg"},
         AudioMode::OwnFile,
         "",
         Result::AudioEmptied,
         "",
         AudioMode::None,
         "",
         0},
        {"own audio is the hint",
         {"a.jpg"},
         AudioMode::OwnFile,
         "(hint)",
         Result::AudioEmptied,
         "",
         AudioMode::None,
         "",
         0},
        {"own audio there",
         {"a.jpg"},
         AudioMode::OwnFile,
         song,
         Result::Ready,
         "",
         AudioMode::OwnFile,
         "",
         0},
        {"picture first, audio not looked at",
         {"gone.jpg"},
         AudioMode::OwnFile,
         "",
         Result::MissingPicture,
         gone,
         AudioMode::OwnFile,
         "no " + gone,
         mb::kError},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        services.messages.clear();
        app.project.ImgItems.clear();
        for (const auto& p : c.pictures) app.project.ImgItems.push_back(slide(p));
        app.project.Settings.audioMode = c.mode;
        app.project.Settings.AudioFile = c.audio;
        const ShowSourcesCheck check = CheckShowSources(app.project);
        EXPECT_EQ(check.result, c.result);
        EXPECT_EQ(check.path, c.path);
        EXPECT_EQ(app.project.Settings.audioMode, c.modeAfter);
        EXPECT_EQ(ReportShowSources(app, check), check.ready());
        if (c.message.empty()) {
            EXPECT_TRUE(services.messages.empty());
        } else {
            ASSERT_EQ(services.messages.size(), 1u);
            EXPECT_EQ(services.messages[0].text, c.message);
            EXPECT_EQ(services.messages[0].flags, c.flags);
        }
    }
}

TEST(ScriptedServicesTest, StrictModeFailsOnWhatNobodyExpected) {
    test::ScriptedServices s;
    s.strict = true;
    std::vector<std::string> reported;
    s.report = [&](const std::string& what) { reported.push_back(what); };
    EXPECT_EQ(s.messageBox("note", "T", mb::kInformation), mb::IDOK);
    EXPECT_TRUE(reported.empty());
    EXPECT_EQ(s.messageBox("save?", "T", mb::kQuestion), mb::IDCANCEL);
    s.answers.push_back(mb::IDOK);
    EXPECT_EQ(s.messageBox("sure?", "T", mb::kQuestionYesNo), mb::IDNO);
    s.answers.push_back(mb::IDYES);
    EXPECT_EQ(s.messageBox("sure?", "T", mb::kQuestionYesNo), mb::IDYES);
    EXPECT_TRUE(s.openFiles({"", "Pictures|*.jpg", "/start", ""}, true).empty());
    EXPECT_FALSE(s.saveFile({"", "P|*.lmx", "", "lmx"}));
    EXPECT_FALSE(s.chooseFolder("Folder?", ""));
    EXPECT_FALSE(s.chooseColor(0));
    EXPECT_EQ(reported.size(), 6u);
    EXPECT_EQ(s.unexpected, reported);
    ASSERT_EQ(s.dialogs.size(), 4u);
    EXPECT_EQ(s.dialogs[0].kind, test::DialogKind::OpenFiles);
    EXPECT_EQ(s.dialogs[0].request.filter, "Pictures|*.jpg");
    EXPECT_EQ(s.dialogs[0].request.initialPath, "/start");
    EXPECT_TRUE(s.dialogs[0].multiple);
    EXPECT_EQ(s.dialogs[1].request.defaultExtension, "lmx");
    EXPECT_EQ(s.dialogs[2].request.title, "Folder?");
}

}  // namespace
}  // namespace lumetra
