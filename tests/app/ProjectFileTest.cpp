#include "app/ProjectFile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <sstream>

#include "app/Application.h"
#include "app/FileOps.h"
#include "support/AppFixture.h"

namespace lumetra {
namespace {

namespace fs = std::filesystem;

constexpr const char* kLanguageFile =
    "[GUI]\nTitle=Lumetra\nDefaultDir=Slideshows\nDefaultShowName=my-show\n"
    "[frmMain]\ntxtAudio=(choose a file)\n"
    "[Messages]\nPrjLoadErr=Cannot read %1%.\nPrjTooNew=%1% needs %2%, this is %3%.\n";

// Records what the window would be told.
struct RecordingView : ProjectView {
    std::vector<std::string> events;
    void slideRowsCleared() override { events.push_back("clear"); }
    void slideRowAppended(std::size_t i) override { events.push_back("row" + std::to_string(i)); }
    void firstSlideSelected() override { events.push_back("select"); }
    void addHintShown(bool v) override { events.push_back(v ? "hint" : "nohint"); }
};

class ProjectFileTest : public test::AppFixture {
  protected:
    void SetUp() override {
        useLanguage(kLanguageFile);
        app.musicTitles = {"America the Beautiful", "Bossa 08 Medit L1", "Happy", "Zen"};
        NewProject(app);
    }

    recImgItems slide(const std::string& name) {
        recImgItems s;
        s.FileName = "/pictures/" + name;
        s.Title = "Title of " + name;
        s.Description = "line one\r\nline two";
        s.FileSize = 123456;
        s.ImgHeight = 600;
        s.ImgWidth = 800;
        s.Duration = 7000;
        s.TextColor = 0x00FF8040;
        s.EffectIn = 24;
        s.EffectOut = 3;
        s.Reserved1 = 17;
        s.Reserved2 = -4;
        s.Link = "https://example.org/" + name;
        return s;
    }

    // A file in the layout of an older version, field by field.
    struct OldFile {
        std::string version = "3.3.1";
        std::vector<recImgItems> slides;
        std::uint8_t audio[6] = {1, 0, 0, 0, 0, 0};  // fields 4 to 9
        std::string audioFile, musicTitle = "Zen";
        std::uint8_t bgNone = 0, bgColour = 1;
    };

    std::string build(const OldFile& f) {
        const bool before30 = f.version < "3.0", before33 = f.version < "3.3";
        std::ostringstream out;
        WriteStr(out, f.version);
        WriteInt(out, static_cast<std::int32_t>(f.slides.size()));
        for (const auto& s : f.slides) {
            WriteStr(out, s.FileName);
            WriteStr(out, s.Title);
            WriteStr(out, s.Description);
            for (int v : {s.FileSize, s.ImgHeight, s.ImgWidth, s.Duration, s.TextColor, s.EffectIn,
                          s.EffectOut, s.Reserved1, s.Reserved2})
                WriteInt(out, v);
            if (!before30) WriteStr(out, s.Link);
        }
        for (std::uint8_t b : f.audio) out.put(static_cast<char>(b));
        WriteStr(out, f.audioFile);
        WriteBool(out, false);  // loop
        if (!before33) WriteStr(out, f.musicTitle);
        WriteBool(out, false);
        WriteBool(out, true);  // fit
        WriteInt(out, 2);
        WriteStr(out, "800");
        WriteStr(out, "600");
        if (!before30) WriteBool(out, true);  // trim
        WriteBool(out, false);                // loop
        WriteBool(out, false);
        WriteBool(out, false);  // navbar
        out.put(static_cast<char>(f.bgNone));
        out.put(static_cast<char>(f.bgColour));
        WriteInt(out, 0x123456);
        if (!before30) WriteBool(out, true);  // random order
        if (!before33) {
            WriteBool(out, false);
            WriteBool(out, false);
        }
        if (!before30) WriteStr(out, "/out/show.html");
        return out.str();
    }
};

TEST_F(ProjectFileTest, RoundTripKeepsEveryField) {
    Project& p = app.project;
    p.ImgItems = {slide("a.jpg"), slide("b.png"), slide("c d.GIF")};
    p.ImgItems[1].EffectIn = 0;
    p.ImgItems[2].Link.clear();
    ShowSettings& s = p.Settings;
    s.audioMode = AudioMode::OwnFile;
    s.MusicTitle = "Zen";
    s.AudioFile = "/music/own.mp3";
    s.AudioLoop = false;
    s.FitImages = true;
    s.FitMode = 2;
    s.FitWidth = "1024";
    s.FitHeight = "768";
    s.Trim = true;
    s.Loop = false;
    s.NavBar = false;  // stored, but read back as set: without autostart the bar is needed
    s.BackgroundTransparent = true;
    s.BackgroundColor = 0x00ABCDEF;
    s.RandomOrder = true;
    s.LinkTargetBlank = false;
    s.Autostart = false;
    s.OutputFile = "/home/me/Shows/Urlaub in Österreich.html";
    const auto slides = p.ImgItems;
    auto settings = s;
    settings.NavBar = true;
    p.SetModified(true);

    const std::string path = (dir / "project.lmx").string();
    SaveProject(app, path);
    EXPECT_FALSE(p.Modified());
    EXPECT_EQ(p.WindowTitle, path + " - Lumetra 3.3.1");

    NewProject(app);
    RecordingView view;
    p.setView(&view);
    ASSERT_EQ(LoadProject(app, path), LoadResult::Loaded);
    EXPECT_EQ(p.ImgItems, slides);
    EXPECT_EQ(p.Settings, settings);
    EXPECT_EQ(p.ProjectFileName, path);
    EXPECT_FALSE(p.Modified());
    EXPECT_FALSE(p.Loading());
    EXPECT_EQ(p.WindowTitle, path + " - Lumetra 3.3.1");
    EXPECT_TRUE(services.messages.empty());
    const std::vector<std::string> expected = {"clear", "clear",  "row0",  "row1",
                                               "row2",  "select", "nohint"};
    EXPECT_EQ(view.events, expected);
    p.setView(nullptr);
}

TEST_F(ProjectFileTest, EmptyProjectAndPlaceholderAudioText) {
    app.project.Settings.AudioFile = "(choose a file)";
    std::string bytes = SerializeProject(app);
    ByteReader r(bytes);
    EXPECT_EQ(r.ReadStr(), "3.3.1");
    EXPECT_EQ(r.ReadInt(), 0);
    for (int i = 0; i < 6; ++i) r.ReadBool();
    EXPECT_EQ(r.ReadStr(), "");  // the hint text counts as empty

    const std::string path = (dir / "empty.lmx").string();
    SaveProject(app, path);
    RecordingView view;
    app.project.setView(&view);
    ASSERT_EQ(LoadProject(app, path), LoadResult::Loaded);
    EXPECT_EQ(view.events.back(), "hint");
    EXPECT_EQ(app.project.Settings.AudioFile, "");
    app.project.setView(nullptr);
}

struct VersionCase {
    const char* version;
    bool hasLink, hasTrim, hasMusicTitle, hasLinkTarget;
};

TEST_F(ProjectFileTest, OlderVersionsUseDefaultsForMissingFields) {
    const VersionCase cases[] = {
        {"2.9", false, false, false, false},
        {"3.0", true, true, false, false},
        {"3.2", true, true, false, false},
        {"3.10", true, true, false, false},  // string order: older than 3.3
        {"3.3", true, true, true, true},
        {"3.3.1", true, true, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
        OldFile f;
        f.version = c.version;
        f.slides = {slide("a.jpg")};
        const std::string path = dir.write("old.lmx", build(f)).string();
        ASSERT_EQ(LoadProject(app, path), LoadResult::Loaded);
        const Project& p = app.project;
        ASSERT_EQ(p.ImgItems.size(), 1u);
        EXPECT_EQ(p.ImgItems[0].EffectIn, c.hasLink ? 24 : 0);
        EXPECT_EQ(p.ImgItems[0].Link, c.hasLink ? "https://example.org/a.jpg" : "");
        EXPECT_EQ(p.Settings.Trim, c.hasTrim);
        EXPECT_EQ(p.Settings.RandomOrder, c.hasTrim);
        EXPECT_EQ(
            p.Settings.OutputFile,
            c.hasTrim ? "/out/show.html" : (dir / "docs" / "Slideshows" / "my-show.html").string());
        EXPECT_EQ(p.Settings.MusicTitle, c.hasMusicTitle ? "Zen" : "America the Beautiful");
        EXPECT_EQ(p.Settings.LinkTargetBlank, !c.hasLinkTarget);
        EXPECT_EQ(p.Settings.Autostart, !c.hasLinkTarget);
        EXPECT_EQ(p.Settings.FitWidth, "800");
        EXPECT_TRUE(services.messages.empty());
    }
}

struct AudioCase {
    const char* name;
    const char* version;
    std::uint8_t bytes[6];
    AudioMode mode;
    const char* title;
};

TEST_F(ProjectFileTest, AudioButtonsAndTheOldHappyByte) {
    const AudioCase cases[] = {
        {"none", "3.3.1", {1, 0, 0, 0, 0, 0}, AudioMode::None, "Zen"},
        {"library", "3.3.1", {0, 1, 0, 0, 0, 0}, AudioMode::Library, "Zen"},
        {"own file", "3.3.1", {0, 0, 0, 0, 0, 1}, AudioMode::OwnFile, "Zen"},
        {"last one wins", "3.3.1", {1, 1, 0, 0, 0, 1}, AudioMode::OwnFile, "Zen"},
        {"none set", "3.3.1", {0, 0, 0, 0, 0, 0}, AudioMode::NotSet, "Zen"},
        {"happy byte in 3.2", "3.2", {1, 0, 0, 1, 0, 0}, AudioMode::Library, "Happy"},
        {"happy then own file", "3.2", {0, 0, 0, 1, 0, 1}, AudioMode::OwnFile, "Happy"},
        {"happy byte ignored in 3.3", "3.3", {1, 0, 0, 1, 0, 0}, AudioMode::None, "Zen"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        OldFile f;
        f.version = c.version;
        std::copy(std::begin(c.bytes), std::end(c.bytes), f.audio);
        const std::string path = dir.write("audio.lmx", build(f)).string();
        ASSERT_EQ(LoadProject(app, path), LoadResult::Loaded);
        EXPECT_EQ(app.project.Settings.audioMode, c.mode);
        EXPECT_EQ(app.project.Settings.MusicTitle, c.title);
    }
}

TEST_F(ProjectFileTest, MusicTitleFallbacks) {
    struct {
        const char* stored;
        std::vector<std::string> library;
        const char* expected;
    } cases[] = {
        {"zen", {"Bossa 08 Medit L1", "Zen"}, "Zen"},  // letter case ignored
        {"Gone", {"Alpha", "Bossa 08 Medit L1"}, "Bossa 08 Medit L1"},
        {"Gone", {"Alpha", "Beta"}, "Alpha"},
        {"Gone", {}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        app.musicTitles = c.library;
        OldFile f;
        f.musicTitle = c.stored;
        const std::string path = dir.write("music.lmx", build(f)).string();
        ASSERT_EQ(LoadProject(app, path), LoadResult::Loaded);
        EXPECT_EQ(app.project.Settings.MusicTitle, c.expected);
    }
}

TEST_F(ProjectFileTest, BackgroundButtons) {
    struct {
        std::uint8_t none, colour;
        bool transparent;
    } cases[] = {{1, 0, true}, {0, 1, false}, {1, 1, false}, {0, 0, false}};
    for (const auto& c : cases) {
        OldFile f;
        f.bgNone = c.none;
        f.bgColour = c.colour;
        ASSERT_EQ(LoadProject(app, dir.write("bg.lmx", build(f)).string()), LoadResult::Loaded);
        EXPECT_EQ(app.project.Settings.BackgroundTransparent, c.transparent);
        EXPECT_EQ(app.project.Settings.BackgroundColor, 0x123456);
    }
}

TEST_F(ProjectFileTest, NewerFileIsRefusedWithItsVersion) {
    OldFile f;
    f.version = "3.3.2";
    f.slides = {slide("a.jpg")};
    const std::string path = dir.write("new %2%.lmx", build(f)).string();
    EXPECT_EQ(LoadProject(app, path), LoadResult::TooNew);
    ASSERT_EQ(services.messages.size(), 1u);
    // The path's own "%2%" is not replaced again.
    EXPECT_EQ(services.messages[0].text, path + " needs 3.3.2, this is 3.3.1.");
    EXPECT_EQ(services.messages[0].flags, 16);
    EXPECT_EQ(services.messages[0].caption, "Lumetra");
    EXPECT_TRUE(app.project.ImgItems.empty());
    EXPECT_TRUE(app.project.ProjectFileName.empty());
    EXPECT_FALSE(app.project.Loading());
}

TEST_F(ProjectFileTest, DamagedFilesLeaveANewProject) {
    OldFile f;
    f.slides = {slide("a.jpg"), slide("b.jpg")};
    const std::string good = build(f);
    std::string hugeCount = good;
    hugeCount.replace(4 + 5, 4, std::string("\xFF\xFF\xFF\x7F", 4));
    std::string negativeCount = good;
    negativeCount.replace(4 + 5, 4, std::string("\xFF\xFF\xFF\xFF", 4));
    std::string hugeString = good;
    hugeString.replace(4 + 5 + 4, 4, std::string("\x00\x00\x00\x70", 4));

    const std::pair<const char*, std::string> cases[] = {
        {"empty file", ""},
        {"cut in the version", good.substr(0, 6)},
        {"cut in a slide", good.substr(0, 40)},
        {"cut before the last field", good.substr(0, good.size() - 3)},
        {"slide count beyond the file", hugeCount},
        {"negative slide count", negativeCount},
        {"string beyond the file", hugeString},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        services.messages.clear();
        app.project.ImgItems = {slide("keep.jpg")};
        const std::string path = dir.write("bad.lmx", bytes).string();
        EXPECT_EQ(LoadProject(app, path), LoadResult::ReadError);
        ASSERT_EQ(services.messages.size(), 1u);
        EXPECT_EQ(services.messages[0].text, "Cannot read " + path + ".");
        EXPECT_TRUE(app.project.ImgItems.empty());
        EXPECT_TRUE(app.project.ProjectFileName.empty());
        EXPECT_FALSE(app.project.Loading());
        EXPECT_FALSE(app.project.Modified());
    }
}

TEST_F(ProjectFileTest, MissingFileThrowsAndLeavesANewProject) {
    app.project.ImgItems = {slide("a.jpg")};
    EXPECT_THROW(LoadProject(app, (dir / "missing.lmx").string()), std::system_error);
    EXPECT_TRUE(app.project.ImgItems.empty());
    EXPECT_FALSE(app.project.Loading());
}

TEST_F(ProjectFileTest, Windows1252StringsBecomeUtf8) {
    OldFile f;
    recImgItems s = slide("x.jpg");
    s.FileName =
        "C:\\Bilder\\Gr\xF6\xDF"
        "e.jpg";
    s.Title = "\x80 5 \x96 caf\xE9";
    s.Description = "Sch\xF6n";
    f.slides = {s};
    ASSERT_EQ(LoadProject(app, dir.write("cp.lmx", build(f)).string()), LoadResult::Loaded);
    EXPECT_EQ(app.project.ImgItems[0].FileName, "C:\\Bilder\\Größe.jpg");
    EXPECT_EQ(app.project.ImgItems[0].Title, "€ 5 – café");
    EXPECT_EQ(app.project.ImgItems[0].Description, "Schön");
}

TEST_F(ProjectFileTest, FailedSaveKeepsThePreviousFileAndState) {
    const std::string path = (dir / "keep.lmx").string();
    app.project.ImgItems = {slide("a.jpg")};
    SaveProject(app, path);
    const std::string before = dir.read("keep.lmx");
    app.project.ImgItems.push_back(slide("b.jpg"));
    app.project.SetModified(true);

    const std::string unwritable = (dir / "missing-folder" / "x.lmx").string();
    EXPECT_THROW(SaveProject(app, unwritable), std::system_error);
    EXPECT_EQ(app.project.ProjectFileName, path);
    EXPECT_TRUE(app.project.Modified());
    EXPECT_EQ(dir.read("keep.lmx"), before);

    fs::permissions(dir.path(), fs::perms::owner_write, fs::perm_options::remove);
    if (access(dir.path().c_str(), W_OK) != 0) {  // root may write anyway
        EXPECT_THROW(SaveProject(app, path), std::system_error);
        EXPECT_EQ(dir.read("keep.lmx"), before);
    }
    fs::permissions(dir.path(), fs::perms::owner_write, fs::perm_options::add);
}

}  // namespace
}  // namespace lumetra
