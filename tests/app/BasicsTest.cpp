// Version strings, text encodings and the file helpers.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <sstream>

#include "app/Encoding.h"
#include "app/FileOps.h"
#include "app/Version.h"
#include "support/TestFolder.h"

namespace lumetra {
namespace {

TEST(Version, FormsAndTrimmingRules) {
    struct {
        VersionNumber v;
        const char* shortForm;
        const char* fullForm;
    } cases[] = {
        {{3, 3, 1, 37}, "3.3.1", "3.3.1.37"}, {{3, 3, 0, 0}, "3.3", "3.3"},
        {{3, 3, 1, 0}, "3.3.1", "3.3.1"},     {{3, 0, 0, 5}, "3.0", "3.0.0.5"},
        {{2, 9, 0, 0}, "2.9", "2.9"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatVersion(c.v, true), c.shortForm);
        EXPECT_EQ(FormatVersion(c.v, false), c.fullForm);
    }
    EXPECT_EQ(ProgramVersion(true), "3.3.1");
    EXPECT_EQ(ProgramVersion(false), "3.3.1.37");
    EXPECT_EQ(GetVersionString("/proc/self/exe", true), "3.3.1");
    EXPECT_EQ(GetVersionString("/bin/sh", true), "0");
    EXPECT_EQ(GetVersionString("/no/such/file", false), "0");
}

TEST(Version, StringOrder) {
    const char* ordered[] = {"2.5", "3.0", "3.10", "3.2.4", "3.3", "3.3.1", "3.3.2"};
    for (std::size_t i = 0; i + 1 < std::size(ordered); ++i) {
        EXPECT_TRUE(VersionOlderThan(ordered[i], ordered[i + 1])) << ordered[i];
        EXPECT_FALSE(VersionOlderThan(ordered[i + 1], ordered[i])) << ordered[i];
    }
    EXPECT_FALSE(VersionOlderThan("3.3", "3.3"));
}

TEST(Encoding, Utf8ValidityAndWindows1252) {
    struct {
        const char* bytes;
        bool valid;
    } cases[] = {
        {"plain", true}, {"Größe", true},     {"\xE2\x82\xAC", true},  {"\xF0\x9F\x98\x80", true},
        {"\xC3", false}, {"\xC0\xAF", false}, {"\xED\xA0\x80", false}, {"\xF4\x90\x80\x80", false},
        {"\xFF", false}, {"caf\xE9", false}};
    for (const auto& c : cases) EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << c.bytes;

    EXPECT_EQ(Windows1252ToUtf8("caf\xE9 \x80 \x84\x93\x94 \x9F \x81"), "café € „“” Ÿ \xC2\x81");
    EXPECT_EQ(ProjectTextToUtf8("Größe"), "Größe");
    EXPECT_EQ(ProjectTextToUtf8("Gr\xF6\xDF"
                                "e"),
              "Größe");
}

TEST(FileOps, StreamHelpersUseLittleEndianAndLengthPrefixes) {
    std::ostringstream out;
    WriteStr(out, "ab");
    WriteInt(out, -2);
    WriteBool(out, true);
    WriteStr(out, "");
    const std::string bytes = out.str();
    EXPECT_EQ(bytes, std::string("\x02\x00\x00\x00"
                                 "ab"
                                 "\xFE\xFF\xFF\xFF"
                                 "\x01"
                                 "\x00\x00\x00\x00",
                                 15));
    ByteReader r(bytes);
    EXPECT_EQ(r.ReadStr(), "ab");
    EXPECT_EQ(r.ReadInt(), -2);
    EXPECT_EQ(r.ReadBool(), 1);
    EXPECT_EQ(r.ReadStr(), "");
    EXPECT_THROW(r.ReadBool(), ReadError);

    const std::string lie(
        "\x10\x00\x00\x00"
        "abc",
        7);  // claims 16 bytes, has 3
    ByteReader lying(lie);
    EXPECT_THROW(lying.ReadStr(), ReadError);
}

TEST(FileOps, LoadTextFileJoinsLinesWithCrLf) {
    test::TestFolder dir;
    struct {
        const char* content;
        const char* expected;
    } cases[] = {
        {"a\nb\n", "a\r\nb"},
        {"a\r\nb", "a\r\nb"},
        {"a\rb\r\n", "a\r\nb"},
        {"a\n\n", "a\r\n"},
        {"", ""},
        {"one", "one"},
    };
    for (const auto& c : cases) {
        dir.write("t.txt", c.content);
        EXPECT_EQ(LoadTextFile(dir / "t.txt"), c.expected) << c.content;
    }
    EXPECT_THROW(LoadTextFile(dir / "missing.txt"), std::system_error);
}

TEST(FileOps, ReadWholeFileReadsOnlyRegularFiles) {
    test::TestFolder dir;
    std::string big(100000, 'x');
    big[0] = '\0';
    big.back() = '\xFF';
    dir.write("big", big);
    dir.write("empty", "");
    EXPECT_EQ(ReadWholeFile(dir / "big"), big);
    EXPECT_EQ(ReadWholeFile(dir / "empty"), "");
    // Each of these must fail at once, neither waiting for a writer nor reading without end.
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
    for (const std::filesystem::path& path :
         {dir / "missing", dir / "pipe", dir.path(), std::filesystem::path("/dev/zero")})
        EXPECT_THROW(ReadWholeFile(path), std::system_error) << path;
}

TEST(FileOps, FileSizeByName) {
    test::TestFolder dir;
    dir.write("five", "12345");
    EXPECT_EQ(GetFileSizeByName(dir / "five"), 5);
    EXPECT_EQ(GetFileSizeByName(dir / "none"), -1);
}

}  // namespace
}  // namespace lumetra
