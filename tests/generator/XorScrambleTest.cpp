#include "generator/XorScramble.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "support/TestFolder.h"

namespace lumetra {
namespace {

// Written out here rather than taken from the header, so a changed key in the
// code fails the test instead of silently making the library unreadable.
const std::string kKey = "OpenDefaultPathName";

std::string patternBytes(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 131 + 7) & 0xFF);
    return bytes;
}

std::string xorWithKey(std::string bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] ^= kKey[i % kKey.size()];
    return bytes;
}

struct SizeCase {
    const char* name;
    std::size_t size;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const SizeCase& c, std::ostream* os) {
    *os << c.name;
}

class XorScrambleSizes : public ::testing::TestWithParam<SizeCase> {};

// Sizes around the key length and around the internal block size, where a
// lost key position would show.
TEST_P(XorScrambleSizes, ScramblesWithTheKeyAndTwiceGivesBackTheBytes) {
    test::TestFolder folder;
    const std::string original = patternBytes(GetParam().size);
    const auto file = folder.write("track.ravoz", original);

    ASSERT_TRUE(XorScrambleFile(file));
    EXPECT_EQ(folder.read("track.ravoz"), xorWithKey(original));
    ASSERT_TRUE(XorScrambleFile(file));
    EXPECT_EQ(folder.read("track.ravoz"), original);
}

INSTANTIATE_TEST_SUITE_P(Sizes, XorScrambleSizes,
                         ::testing::Values(SizeCase{"Empty", 0}, SizeCase{"OneByte", 1},
                                           SizeCase{"KeyLength", 19}, SizeCase{"KeyPlusOne", 20},
                                           SizeCase{"AcrossBlocks", 3 * 65536 + 5}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(XorScramble, Byte19UsesTheFirstKeyCharacterAgain) {
    test::TestFolder folder;
    const auto file = folder.write("zeros", std::string(21, '\0'));
    ASSERT_TRUE(XorScrambleFile(file));
    const std::string scrambled = folder.read("zeros");
    ASSERT_EQ(scrambled.size(), 21u);
    EXPECT_EQ(scrambled[0], 'O');
    EXPECT_EQ(scrambled[18], 'e');
    EXPECT_EQ(scrambled[19], 'O');
    EXPECT_EQ(scrambled[20], 'p');
}

TEST(XorScramble, OtherKeyIsUsedAsGiven) {
    test::TestFolder folder;
    const auto file = folder.write("data", std::string("\x01\x02\x03", 3));
    ASSERT_TRUE(XorScrambleFile("ab", file));
    EXPECT_EQ(folder.read("data"), std::string("\x60\x60\x62", 3));
}

TEST(XorScramble, ReportsFailureWithoutTouchingAnything) {
    test::TestFolder folder;
    const auto existing = folder.write("kept", "abc");
    const auto dir = folder.path() / "sub";
    std::filesystem::create_directories(dir);

    EXPECT_FALSE(XorScrambleFile(folder.path() / "missing.ravoz"));
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "missing.ravoz"));
    EXPECT_FALSE(XorScrambleFile(dir));
    const auto pipe = folder.path() / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_FALSE(XorScrambleFile(pipe));
    EXPECT_FALSE(XorScrambleFile("", existing));
    EXPECT_EQ(folder.read("kept"), "abc");
}

// A second converter at work on the same file would turn our result back into
// the input; the call must refuse rather than interleave or wait forever.
TEST(XorScramble, RefusesAFileLockedByAnotherHolder) {
    test::TestFolder folder;
    const auto file = folder.write("busy.ravoz", "busy bytes");
    int holder = ::open(file.c_str(), O_RDONLY);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);

    EXPECT_FALSE(XorScrambleFile(file));
    EXPECT_EQ(folder.read("busy.ravoz"), "busy bytes");

    ::close(holder);
    EXPECT_TRUE(XorScrambleFile(file));
}

}  // namespace
}  // namespace lumetra
