#include "app/IniFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "support/TestFolder.h"

namespace lumetra {
namespace {

// Test names from a case's label: letters and digits kept, the rest "_".
struct CaseName {
    template <typename Info>
    std::string operator()(const Info& info) const {
        std::string n = info.param.name;
        for (char& ch : n)
            if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return n;
    }
};

struct FindCase {
    const char* name;
    const char* text;
    const char* section;
    const char* key;
    std::optional<std::string> expected;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const FindCase& c, std::ostream* os) {
    *os << c.name;
}

class IniFind : public ::testing::TestWithParam<FindCase> {};

TEST_P(IniFind, ReadsValueAsProfileFunctionsDo) {
    const FindCase& c = GetParam();
    EXPECT_EQ(ini::findValue(c.text, c.section, c.key), c.expected) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniFind,
    ::testing::Values(
        FindCase{"plain", "[Main]\nLanguage=English\n", "Main", "Language", "English"},
        FindCase{"names ignore case", "[mAIN]\nlanguage=English\n", "Main", "LANGUAGE", "English"},
        FindCase{"blanks around", "[ Main ]\n  Language =  English  \n", "Main", "Language",
                 "English"},
        FindCase{"double quotes", "[A]\nk=\"  quoted  \"\n", "A", "k", "  quoted  "},
        FindCase{"single quotes", "[A]\nk='x'\n", "A", "k", "x"},
        FindCase{"only one pair removed", "[A]\nk=\"\"x\"\"\n", "A", "k", "\"x\""},
        FindCase{"unbalanced quote stays", "[A]\nk=\"x\n", "A", "k", "\"x"},
        FindCase{"mixed quotes stay", "[A]\nk=\"x'\n", "A", "k", "\"x'"},
        FindCase{"empty value", "[A]\nk=\n", "A", "k", ""},
        FindCase{"missing key", "[A]\nj=1\n", "A", "k", std::nullopt},
        FindCase{"key of other section", "[A]\nj=1\n[B]\nk=2\n", "A", "k", std::nullopt},
        FindCase{"missing section", "[B]\nk=2\n", "A", "k", std::nullopt},
        FindCase{"CR LF lines", "[A]\r\nk=v\r\n", "A", "k", "v"},
        FindCase{"first of duplicates", "[A]\nk=1\nk=2\n", "A", "k", "1"},
        FindCase{"equals in value", "[A]\nk=a=b\n", "A", "k", "a=b"},
        FindCase{"comment line", "[A]\n;k=1\nk=2\n", "A", "k", "2"},
        FindCase{"byte order mark", "\xEF\xBB\xBF[A]\nk=v\n", "A", "k", "v"},
        FindCase{"utf-8 value", "[A]\nk=Größe\n", "A", "k", "Größe"},
        FindCase{"no final line break", "[A]\nk=v", "A", "k", "v"}),
    CaseName());

TEST(IniFind, CutsValuesAt2047Characters) {
    std::string longValue(3000, 'x');
    auto v = ini::findValue("[A]\nk=" + longValue + "\n", "A", "k");
    ASSERT_TRUE(v);
    EXPECT_EQ(v->size(), 2047u);

    // Counted in characters, never splitting a multi-byte character.
    std::string umlauts;
    for (int i = 0; i < 2100; ++i) umlauts += "ä";
    v = ini::findValue("[A]\nk=" + umlauts + "\n", "A", "k");
    ASSERT_TRUE(v);
    EXPECT_EQ(v->size(), 2047u * 2);
}

struct SetCase {
    const char* name;
    const char* before;
    const char* section;
    const char* key;
    const char* value;
    const char* after;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const SetCase& c, std::ostream* os) {
    *os << c.name;
}

class IniSet : public ::testing::TestWithParam<SetCase> {};

TEST_P(IniSet, WritesByteForByte) {
    const SetCase& c = GetParam();
    EXPECT_EQ(ini::setValue(c.before, c.section, c.key, c.value), c.after) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniSet,
    ::testing::Values(
        SetCase{"empty file", "", "FTP", "Host", "h", "[FTP]\nHost=h\n"},
        SetCase{"replace line", "[FTP]\nHost=a\nUser=u\n", "FTP", "host", "b",
                "[FTP]\nhost=b\nUser=u\n"},
        SetCase{"append to section", "[FTP]\nHost=a\n\n[Main]\nLanguage=English\n", "FTP", "User",
                "u", "[FTP]\nHost=a\nUser=u\n\n[Main]\nLanguage=English\n"},
        SetCase{"append to last section", "[FTP]\nHost=a\n", "ftp", "User", "u",
                "[FTP]\nHost=a\nUser=u\n"},
        SetCase{"new section", "[FTP]\nHost=a\n", "Main", "Language", "Deutsch",
                "[FTP]\nHost=a\n\n[Main]\nLanguage=Deutsch\n"},
        SetCase{"keeps CR LF", "[A]\r\nk=1\r\n", "A", "j", "2", "[A]\r\nk=1\r\nj=2\r\n"},
        SetCase{"no final break", "[A]\nk=1", "A", "j", "2", "[A]\nk=1\nj=2\n"},
        SetCase{"line breaks in value flattened", "", "A", "k", "x\ny\rz", "[A]\nk=x y z\n"},
        SetCase{"empty section header only", "[A]\n", "A", "k", "v", "[A]\nk=v\n"},
        SetCase{"keeps comments and other keys", "; note\n[A]\nx=1\n", "A", "x", "2",
                "; note\n[A]\nx=2\n"},
        SetCase{"byte order mark kept, its section found", "\xEF\xBB\xBF[FTP]\nHost=a\n", "FTP",
                "Host", "b", "\xEF\xBB\xBF[FTP]\nHost=b\n"},
        SetCase{"byte order mark, new key in its section", "\xEF\xBB\xBF[FTP]\n", "FTP", "User",
                "u", "\xEF\xBB\xBF[FTP]\nUser=u\n"},
        SetCase{"a second byte order mark is text", "\xEF\xBB\xBF\xEF\xBB\xBF", "A", "k", "v",
                "\xEF\xBB\xBF\xEF\xBB\xBF\n\n[A]\nk=v\n"}),
    CaseName());

struct IntCase {
    const char* text;
    std::optional<int> expected;
};

TEST(IniParseInt, DecimalHexAndGarbage) {
    const IntCase cases[] = {
        {"0", 0},
        {"1", 1},
        {"2", 2},
        {"-5", -5},
        {"+7", 7},
        {"0x1F", 31},
        {"0X1f", 31},
        {"0xFFFFFFFF", -1},
        {"0x", std::nullopt},
        {"yes", std::nullopt},
        {"", std::nullopt},
        {"12abc", std::nullopt},
        {"99999999999", std::nullopt},
        {"0x123456789", std::nullopt},
        {"1.5", std::nullopt},
        {"--1", std::nullopt},
        {"+-1", std::nullopt},
        {"++1", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(ini::parseInt(c.text), c.expected) << c.text;
}

TEST(IniFile, ReadsDefaultsFromMissingFileAndBooleansAsIntegers) {
    test::TestFolder dir;
    auto file = dir / "Settings.ini";
    EXPECT_EQ(ini::readString(file, "Main", "Language", "Deutsch"), "Deutsch");
    EXPECT_EQ(ini::readInt(file, "Main", "FlashWarning", 0), 0);

    dir.write("Settings.ini", "[Dialog]\nchkBrowser=2\nchkFTP=yes\nchkOpenDir=0\nn=0x10\n");
    EXPECT_TRUE(ini::readBool(file, "Dialog", "chkBrowser", false));
    EXPECT_FALSE(ini::readBool(file, "Dialog", "chkFTP", false));  // unparsable: default
    EXPECT_TRUE(ini::readBool(file, "Dialog", "chkFTP", true));
    EXPECT_FALSE(ini::readBool(file, "Dialog", "chkOpenDir", true));
    EXPECT_EQ(ini::readInt(file, "Dialog", "n", 0), 16);
}

TEST(IniFile, WriteCreatesFilePrivatelyButNeverAFolder) {
    test::TestFolder dir;
    auto file = dir / "Settings.ini";
    ini::writeBool(file, "FTP", "SaveData", true);
    ini::writeInt(file, "Main", "FlashWarning", 3);
    ini::writeString(file, "FTP", "Pass", "secret");
    EXPECT_EQ(dir.read("Settings.ini"),
              "[FTP]\nSaveData=1\nPass=secret\n\n[Main]\nFlashWarning=3\n");
    struct stat st {};
    ASSERT_EQ(stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);  // it can hold the FTP password

    auto missing = dir / "no" / "such" / "Settings.ini";
    try {
        ini::writeString(missing, "Main", "Language", "English");
        FAIL() << "write into a missing folder succeeded";
    } catch (const ini::WriteError& e) {
        EXPECT_NE(std::string(e.what()).find(missing.string()), std::string::npos);
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "no"));
}

TEST(IniFile, WriteLeavesNoTemporaryFilesAndKeepsLinks) {
    test::TestFolder dir;
    dir.write("real.ini", "[A]\nk=1\n");
    std::filesystem::create_symlink(dir / "real.ini", dir / "Settings.ini");
    ini::writeString(dir / "Settings.ini", "A", "k", "2");
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "Settings.ini"));
    EXPECT_EQ(dir.read("real.ini"), "[A]\nk=2\n");
    int files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++files;
    EXPECT_EQ(files, 2);
}

TEST(IniFile, AFileThatCannotBeReadIsNeverRewritten) {
    // A pipe stands for any settings file we cannot read (root reads every mode).
    test::TestFolder dir;
    const auto file = dir / "Settings.ini";
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    EXPECT_EQ(ini::readString(file, "Main", "Language", "Deutsch"), "Deutsch");  // no waiting
    EXPECT_THROW(ini::writeString(file, "Main", "Language", "English"), ini::WriteError);
    EXPECT_TRUE(std::filesystem::is_fifo(file));
}

}  // namespace
}  // namespace lumetra
