// The preview and the created show: folder layout, copies, music, the lists
// that connect the steps, and the reports when something cannot be done.

#include <gtest/gtest.h>

#include <filesystem>

#include "ShowFixture.h"
#include "app/FileOps.h"
#include "generator/CreateFlow.h"
#include "generator/ShowDocuments.h"
#include "generator/ShowFolder.h"
#include "generator/XorScramble.h"

namespace lumetra {
namespace {

namespace fs = std::filesystem;

class ShowFolderTest : public test::ShowFixture {
  protected:
    fs::path temp;
    std::vector<std::size_t> progress;
    BuildHooks hooks;

    void SetUp() override {
        ShowFixture::SetUp();
        temp = dir / "tmp";
        dir.write("program/data/slideshow.js", "player");
        dir.write("program/data/template.html", "<p>%FILENAME%</p>\n");
        dir.write("program/data/swfembed.html", "");
        hooks.convert = [this](Application&, const fs::path& folder,
                               const std::vector<std::string>& names,
                               const std::function<void(std::size_t)>& done) {
            std::vector<fs::path> written;
            for (const auto& name : names) {
                written.push_back(dir.write(folder / name, "jpeg " + name));
                done(written.size());
            }
            return written;
        };
        hooks.progress = [this](std::size_t done) { progress.push_back(done); };
        addSlide((dir / "in/a.png").string());
        addSlide((dir / "in/other/a.jpg").string(), 24);
        app.project.Settings.OutputFile = (dir / "out/Mein Urlaub.html").string();
        ComputeImageExtents(app.project);
    }

    bool preview() {
        test::QueuedRandom random({});
        return BuildPreview(app, temp, hooks, {}, nullptr, random.source());
    }

    std::vector<std::string> uploads() const {
        std::vector<std::string> names;
        for (const auto& item : app.project.FTPItems)
            names.push_back(fs::relative(item.FileName, dir.path()).string() +
                            (item.Sync ? " sync" : ""));
        return names;
    }
};

TEST_F(ShowFolderTest, PreviewThenCreate) {
    ASSERT_TRUE(preview());
    EXPECT_EQ(progress, (std::vector<std::size_t>{1, 2}));
    ASSERT_EQ(app.project.TempFiles.size(), 2u);
    EXPECT_EQ(app.project.TempFiles[1].FileName, (temp / "a-2.jpg").string());
    EXPECT_TRUE(fs::exists(temp / "Mein Urlaub.js"));
    EXPECT_TRUE(fs::exists(temp / "Mein Urlaub.xml"));
    EXPECT_FALSE(fs::exists(temp / "Mein Urlaub.html"));

    ASSERT_TRUE(CreateShow(app));
    EXPECT_EQ(app.project.Settings.OutputFile, (dir / "out/Mein-Urlaub.html").string());
    EXPECT_TRUE(app.project.Modified());
    EXPECT_EQ(uploads(), (std::vector<std::string>{
                             "out/Mein-Urlaub_files/a.jpg sync",
                             "out/Mein-Urlaub_files/a-2.jpg sync",
                             "out/Mein-Urlaub_files/Mein-Urlaub.js sync",
                             "out/Mein-Urlaub_files/Mein-Urlaub.xml",
                             "out/Mein-Urlaub.html",
                         }));
    EXPECT_EQ(dir.read("out/Mein-Urlaub_files/a-2.jpg"), "jpeg a-2.jpg");
    EXPECT_EQ(dir.read("out/Mein-Urlaub_files/Mein-Urlaub.js"), "player");
    EXPECT_EQ(dir.read("out/Mein-Urlaub.html"),
              "<p>Mein-Urlaub_files/Mein-Urlaub.js?xml_source=Mein-Urlaub_files/Mein-Urlaub.xml"
              "</p>");

    // The description addresses each slide's own picture.
    auto doc = test::ParseXml(dir.read("out/Mein-Urlaub_files/Mein-Urlaub.xml"));
    ASSERT_TRUE(doc);
    std::vector<std::string> urls;
    for (xmlNode* slide : test::Children(xmlDocGetRootElement(doc.get()), "slide"))
        urls.push_back(test::Attr(test::Child(slide, "image"), "url"));
    EXPECT_EQ(urls,
              (std::vector<std::string>{"Mein-Urlaub_files/a.jpg", "Mein-Urlaub_files/a-2.jpg",
                                        "Mein-Urlaub_files/a-2.jpg"}));

    // The publishing wizard writes the documents again with its address.
    ASSERT_TRUE(WriteShowDocuments(app, app.project.Settings.OutputFile, ShowMode::Output,
                                   "http://example.org/s/"));
    const auto after = uploads();
    ASSERT_EQ(after.size(), 7u);
    EXPECT_EQ(after[5], "out/Mein-Urlaub_files/Mein-Urlaub.xml");
    EXPECT_EQ(after[6], "out/Mein-Urlaub.html");
    EXPECT_NE(dir.read("out/Mein-Urlaub_files/Mein-Urlaub.xml")
                  .find("url=\"http://example.org/s/Mein-Urlaub_files/a.jpg\""),
              std::string::npos);
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(ShowFolderTest, LibraryMusicIsDecodedIntoTheShow) {
    const std::string mp3 = "ID3 plain music bytes, long enough to wrap the key twice over";
    const fs::path library = dir.write("program/data/audio/Waltz.ravoz", mp3);
    ASSERT_TRUE(XorScrambleFile(library));
    const std::string scrambled = dir.read("program/data/audio/Waltz.ravoz");
    app.project.Settings.audioMode = AudioMode::Library;
    app.project.Settings.MusicTitle = "Waltz";
    ASSERT_TRUE(preview());
    EXPECT_EQ(dir.read("tmp/lmtswfa.dat"), mp3);
    ASSERT_TRUE(CreateShow(app));
    EXPECT_EQ(dir.read("out/Mein-Urlaub_files/lmtswfa.dat"), mp3);
    EXPECT_EQ(dir.read("program/data/audio/Waltz.ravoz"), scrambled);
    EXPECT_EQ(uploads()[3], "out/Mein-Urlaub_files/lmtswfa.dat sync");
}

TEST_F(ShowFolderTest, OwnMusicIsCopiedUnderItsName) {
    dir.write("music/My Song.mp3", "song");
    app.project.Settings.audioMode = AudioMode::OwnFile;
    app.project.Settings.AudioFile = (dir / "music/My Song.mp3").string();
    ASSERT_TRUE(preview());
    ASSERT_TRUE(CreateShow(app));
    EXPECT_EQ(dir.read("out/Mein-Urlaub_files/My Song.mp3"), "song");
    EXPECT_EQ(uploads()[3], "out/Mein-Urlaub_files/My Song.mp3 sync");
}

TEST_F(ShowFolderTest, ProblemsAreReportedAndStopTheBuild) {
    struct {
        const char* name;
        std::function<void()> arrange;
        const char* message;
        int flags;
    } cases[] = {
        {"missing own music",
         [&] {
             app.project.Settings.audioMode = AudioMode::OwnFile;
             app.project.Settings.AudioFile = (dir / "gone.mp3").string();
         },
         "Missing music ", mb::kError},
        {"missing library title",
         [&] {
             app.project.Settings.audioMode = AudioMode::Library;
             app.project.Settings.MusicTitle = "Nothing";
         },
         "Cannot copy lmtswfa.dat", mb::kWarning},
        {"missing player", [&] { fs::remove(dir / "program/data/slideshow.js"); },
         "Cannot copy Mein Urlaub.js", mb::kWarning},
    };
    for (const auto& c : cases) {
        app.project.Settings.audioMode = AudioMode::None;
        dir.write("program/data/slideshow.js", "player");
        services.messages.clear();
        c.arrange();
        EXPECT_FALSE(preview()) << c.name;
        ASSERT_EQ(services.messages.size(), 1u) << c.name;
        EXPECT_EQ(services.messages[0].text.rfind(c.message, 0), 0u) << services.messages[0].text;
        EXPECT_EQ(services.messages[0].flags, c.flags) << c.name;
        EXPECT_FALSE(fs::exists(temp / "Mein Urlaub.xml")) << c.name;
        fs::remove_all(temp);
    }
}

TEST_F(ShowFolderTest, UncreatableFolderIsReported) {
    ASSERT_TRUE(preview());
    dir.write("blocker", "a file where a folder should be");
    app.project.Settings.OutputFile = (dir / "blocker/show.html").string();
    EXPECT_FALSE(CreateShow(app));
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].text, "Cannot create " + (dir / "blocker/show_files").string());
    EXPECT_EQ(services.messages[0].flags, mb::kWarning);
    EXPECT_TRUE(app.project.FTPItems.empty());
}

TEST_F(ShowFolderTest, FailedLibraryMusicLeavesTheEarlierFileAsItWas) {
    dir.write("tmp/lmtswfa.dat", "music of an earlier build");
    app.project.Settings.audioMode = AudioMode::Library;
    app.project.Settings.MusicTitle = "Missing";
    EXPECT_FALSE(preview());
    EXPECT_EQ(dir.read("tmp/lmtswfa.dat"), "music of an earlier build");  // not decoded into noise
}

}  // namespace
}  // namespace lumetra

namespace lumetra {
namespace {

class ShowFolderNames : public ShowFolderTest {};

// Own music named like a file of the show gets a name of its own; the player,
// the description and the pictures stay what they are, in both folders.
TEST_F(ShowFolderNames, OwnMusicNeverReplacesAFileOfTheShow) {
    struct {
        const char* music;
        const char* copy;
        const char* kept;  // the show's own file of that name
    } cases[] = {
        {"Mein-Urlaub.js", "Mein-Urlaub-2.js", "Mein-Urlaub.js"},
        {"a.jpg", "a-3.jpg", "a.jpg"},
        {"Mein-Urlaub.xml", "Mein-Urlaub-2.xml", "Mein-Urlaub.xml"},
        {"song #1?.mp3", "song -1-.mp3", nullptr},
    };
    app.project.Settings.OutputFile = (dir / "out/Mein-Urlaub.html").string();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.music);
        const fs::path music = dir.write(std::string("music/") + c.music, "own music");
        app.project.Settings.audioMode = AudioMode::OwnFile;
        app.project.Settings.AudioFile = music.string();
        ASSERT_TRUE(preview());
        ASSERT_TRUE(CreateShow(app));
        const fs::path data = dir / "out/Mein-Urlaub_files";
        for (const fs::path& folder : {temp, data}) {
            EXPECT_EQ(dir.read(folder / c.copy), "own music") << folder;
            if (c.kept) {
                EXPECT_NE(dir.read(folder / c.kept), "own music") << folder;
            }
        }
        const std::string xml = ReadWholeFile(data / "Mein-Urlaub.xml");
        EXPECT_NE(xml.find(std::string("url=\"Mein-Urlaub_files/") + c.copy + "\""),
                  std::string::npos)
            << xml;
    }
}

}  // namespace
}  // namespace lumetra
