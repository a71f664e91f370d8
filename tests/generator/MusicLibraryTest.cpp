// The delivered music library: every title must play as MP3 once unscrambled,
// and the music list must offer exactly these titles with both defaults.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/FileOps.h"
#include "app/MusicList.h"
#include "generator/XorScramble.h"
#include "support/TestFolder.h"

namespace lumetra {
namespace {

const std::filesystem::path kAudioFolder = std::filesystem::path(LUMETRA_SOURCE_DIR) / "data/audio";

const std::vector<std::string> kTitles = {"America the Beautiful", "Bossa 08 Medit L1",
                                          "Evening Harbor", "Garden Waltz", "Happy"};

struct FrameHeader {
    int bitrateKbps = 0;
    int sampleRate = 0;
    bool mono = false;
    std::size_t length = 0;
};

// MPEG-1 Layer III only: what the library is made of. Anything else counts as
// no frame, so a stray sync pattern inside a tag cannot pass.
std::optional<FrameHeader> ParseFrameHeader(const std::string& data, std::size_t pos) {
    if (pos + 4 > data.size()) return std::nullopt;
    auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(data[pos + i]); };
    if (byte(0) != 0xFF || (byte(1) & 0xFE) != 0xFA) return std::nullopt;  // sync, MPEG-1, L III
    static constexpr int kBitrates[16] = {0,   32,  40,  48,  56,  64,  80,  96,
                                          112, 128, 160, 192, 224, 256, 320, 0};
    static constexpr int kRates[4] = {44100, 48000, 32000, 0};
    FrameHeader h;
    h.bitrateKbps = kBitrates[byte(2) >> 4];
    h.sampleRate = kRates[(byte(2) >> 2) & 3];
    if (h.bitrateKbps == 0 || h.sampleRate == 0) return std::nullopt;
    const int padding = (byte(2) >> 1) & 1;
    h.mono = (byte(3) >> 6) == 3;
    h.length = static_cast<std::size_t>(144000 * h.bitrateKbps / h.sampleRate + padding);
    return h;
}

// Size of an ID3v2 tag at the start (with its footer), 0 without one.
std::size_t Id3v2Size(const std::string& data) {
    if (data.size() < 10 || data.compare(0, 3, "ID3") != 0) return 0;
    std::size_t size = 0;
    for (int i = 6; i < 10; ++i) size = (size << 7) | (static_cast<std::uint8_t>(data[i]) & 0x7F);
    const bool footer = (static_cast<std::uint8_t>(data[5]) & 0x10) != 0;
    return 10 + size + (footer ? 10 : 0);
}

struct StreamInfo {
    std::size_t frames = 0;
    double seconds = 0;
    int minKbps = 0, maxKbps = 0;
    bool allStereo44k = true;
    bool reachesEnd = false;
};

// Walks the frame chain from the first frame after the tag to the end.
std::optional<StreamInfo> ReadStream(const std::string& data) {
    std::size_t pos = Id3v2Size(data);
    while (pos < data.size() && data[pos] == '\0') ++pos;  // tag padding
    if (!ParseFrameHeader(data, pos)) return std::nullopt;
    StreamInfo info;
    info.minKbps = 1000;
    while (auto h = ParseFrameHeader(data, pos)) {
        ++info.frames;
        info.minKbps = std::min(info.minKbps, h->bitrateKbps);
        info.maxKbps = std::max(info.maxKbps, h->bitrateKbps);
        info.allStereo44k = info.allStereo44k && !h->mono && h->sampleRate == 44100;
        pos += h->length;
    }
    // The last frame must end exactly at the file's end (or at an ID3v1 tag).
    info.reachesEnd =
        pos == data.size() || (pos + 128 == data.size() && data.compare(pos, 3, "TAG") == 0);
    info.seconds = static_cast<double>(info.frames) * 1152.0 / 44100.0;
    return info;
}

TEST(MusicLibrary, ListsExactlyTheDeliveredTitlesWithBothDefaults) {
    const auto titles = FillMusicList(kAudioFolder);
    EXPECT_EQ(titles, kTitles);
    EXPECT_EQ(DefaultMusicTitle(titles, "English"), kEnglishDefaultMusic);
    EXPECT_EQ(DefaultMusicTitle(titles, "Deutsch"), kGermanDefaultMusic);
    EXPECT_EQ(FindMusicTitle(titles, kOldDefaultMusic), kOldDefaultMusic);
}

class MusicTitle : public ::testing::TestWithParam<std::string> {};

TEST_P(MusicTitle, UnscramblesToALoopLengthStereoMp3) {
    const std::filesystem::path library = kAudioFolder / (GetParam() + ".ravoz");
    const std::string stored = ReadWholeFile(library);
    // Stored scrambled: the plain MP3 would start with a tag or a frame.
    EXPECT_FALSE(Id3v2Size(stored) > 0 || ParseFrameHeader(stored, 0)) << "stored unscrambled";

    // The same copy-and-unscramble the program does before playing a title.
    test::TestFolder folder;
    const auto copy = folder / "lmtswfa.dat";
    std::filesystem::copy_file(library, copy);
    ASSERT_TRUE(XorScrambleFile(copy));
    const auto info = ReadStream(ReadWholeFile(copy));

    ASSERT_TRUE(info) << "no MPEG-1 Layer III frame after the tag";
    EXPECT_TRUE(info->reachesEnd) << "frame chain breaks off after " << info->frames << " frames";
    EXPECT_TRUE(info->allStereo44k);
    EXPECT_GE(info->minKbps, 128);
    EXPECT_LE(info->maxKbps, 192);
    EXPECT_GE(info->seconds, 60.0);
    EXPECT_LE(info->seconds, 120.0);
}

INSTANTIATE_TEST_SUITE_P(Library, MusicTitle, ::testing::ValuesIn(kTitles), [](const auto& info) {
    std::string name;
    for (char c : info.param)
        if (std::isalnum(static_cast<unsigned char>(c))) name += c;
    return name;
});

}  // namespace
}  // namespace lumetra
