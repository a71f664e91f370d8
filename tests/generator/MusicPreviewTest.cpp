// The music preview's copies and attempts, with scripted playback; the real
// player is tested with the window (tests/ui/AudioPreviewTest.cpp).
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "app/Application.h"
#include "generator/Id3v2Tag.h"
#include "generator/MusicPreview.h"
#include "generator/XorScramble.h"
#include "support/JunkTaggedMp3.h"
#include "support/ScriptedServices.h"
#include "support/TestFolder.h"

namespace lumetra {
namespace {

namespace fs = std::filesystem;
using test::TestFolder;

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A delivered library title, unscrambled and without its own tag.
std::string untaggedLibraryMp3(const TestFolder& dir) {
    const fs::path copy =
        dir.write("plain.mp3", readFile(fs::path(LUMETRA_SOURCE_DIR) / "data/audio/Happy.ravoz"));
    EXPECT_TRUE(XorScrambleFile(copy));
    EXPECT_TRUE(StripId3v2Tag(copy));
    return readFile(copy);
}

class MusicPreviewTest : public ::testing::Test {
  protected:
    TestFolder dir;
    test::ScriptedServices services;
    std::unique_ptr<Application> app;
    std::unique_ptr<MusicPreview> preview;
    std::optional<std::string> runtimeBefore;

    void SetUp() override {
        if (const char* before = std::getenv("XDG_RUNTIME_DIR")) runtimeBefore = before;
        fs::create_directories(dir / "run");
        chmod((dir / "run").c_str(), 0700);
        setenv("XDG_RUNTIME_DIR", (dir / "run").c_str(), 1);
        dir.write("config/Settings.ini", "[Main]\nLanguage=English\n");
        test::writeLanguageFile(dir / "program", "English", "[GUI]\nTitle=Lumetra\n");
        app = std::make_unique<Application>(services, dir / "program", dir / "docs");
        app->settings.setSettingsFile(dir / "config" / "Settings.ini");
        preview = std::make_unique<MusicPreview>(*app);
        services.strict = true;
    }
    void TearDown() override {
        preview.reset();
        if (runtimeBefore)
            setenv("XDG_RUNTIME_DIR", runtimeBefore->c_str(), 1);
        else
            unsetenv("XDG_RUNTIME_DIR");
    }

    std::size_t copies() {
        std::size_t n = 0;
        for (const auto& entry : fs::directory_iterator(dir / "run"))
            n += entry.path().filename().string().rfind("LMT", 0) == 0;
        return n;
    }
    void expectRefused() {
        ASSERT_EQ(services.messages.size(), 1u);
        EXPECT_EQ(services.messages[0].text, kAudioNotPlayable);
        EXPECT_EQ(services.messages[0].caption, "Lumetra");
        EXPECT_EQ(services.messages[0].flags, mb::kError);
    }
};

TEST_F(MusicPreviewTest, StrippingTheJunkTagLeavesTheAudio) {
    const std::string plain = untaggedLibraryMp3(dir);
    const fs::path junk = dir.write("junk.mp3", test::JunkTaggedMp3(plain));
    ASSERT_TRUE(StripId3v2Tag(junk));
    EXPECT_TRUE(readFile(junk) == plain);
    // Without a tag there is nothing to do.
    ASSERT_TRUE(StripId3v2Tag(junk));
    EXPECT_TRUE(readFile(junk) == plain);
    EXPECT_FALSE(StripId3v2Tag(dir / "missing.mp3"));
}

TEST_F(MusicPreviewTest, AMissingLibraryFileIsRefusedWithoutPlaying) {
    EXPECT_FALSE(preview->PlayLibraryTrack(preview->libraryFile("Gone")));
    EXPECT_TRUE(services.played.empty());
    expectRefused();
    EXPECT_EQ(copies(), 0u);
}

TEST_F(MusicPreviewTest, AHugeOwnFileIsNotCopiedForASecondAttempt) {
    const fs::path huge = dir / "huge.mp3";
    { std::ofstream(huge) << "x"; }
    fs::resize_file(huge, kMaxRetryCopySize + 1);  // sparse: no disk space used
    services.playResult = false;
    EXPECT_FALSE(preview->PlayOwnFile(huge));
    EXPECT_EQ(services.played.size(), 1u);
    expectRefused();
    EXPECT_EQ(copies(), 0u);
}

TEST_F(MusicPreviewTest, OnlyRegularFilesAreTried) {
    ASSERT_EQ(mkfifo((dir / "pipe.mp3").c_str(), 0600), 0);
    for (const fs::path& path : {dir / "pipe.mp3", dir.path(), dir / "missing.mp3"}) {
        services.messages.clear();
        EXPECT_FALSE(preview->PlayOwnFile(path)) << path;
        expectRefused();
    }
    EXPECT_TRUE(services.played.empty());
}

TEST_F(MusicPreviewTest, LeftoversGoWhenTheyCan) {
    dir.write("program/data/audio/Song.ravoz", "abc");
    services.onPlay = [&](const std::string& path) {
        fs::remove(path);
        dir.write(fs::path(path) / "held", "x");  // a folder keeps the name
    };
    EXPECT_TRUE(preview->PlayLibraryTrack(preview->libraryFile("Song")));
    ASSERT_EQ(preview->leftovers().size(), 1u);
    const fs::path held = preview->leftovers()[0];
    preview->removeLeftovers();
    EXPECT_EQ(preview->leftovers().size(), 1u);  // still held: kept for later
    fs::remove(held / "held");
    preview.reset();  // the end of the preview removes what is left
    EXPECT_FALSE(fs::exists(held));
    EXPECT_EQ(copies(), 0u);
}

}  // namespace
}  // namespace lumetra
