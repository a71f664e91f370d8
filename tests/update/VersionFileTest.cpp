// The rules of the version file that need no server: the ordinal comparison,
// the line split and the address.

#include <gtest/gtest.h>

#include <cstdlib>

#include "lang/LangKeys.h"
#include "update/VersionCompare.h"
#include "update/VersionFile.h"

namespace lumetra::test {
namespace {

using namespace update;
using namespace std::string_literals;

TEST(VersionCompareTest, OrdinalByteByByteAndAPrefixIsSmaller) {
    struct Case {
        const char* own;
        std::string offered;
        bool newer;
    } cases[] = {
        {"2.1", "2.1", false},  {"2.1", "2.1.1", true},    {"2.1", "2.0.9", false},
        {"9.5", "10.0", false},  // "1" sorts before "9": nothing is parsed
        {"3.0", "3.0.1", true}, {"3.0.1", "3.0", false},   {"3.3.1", "3.10", false},
        {"2.1", "", false},     {"3.3.a", "3.3.A", false},  // case-sensitive: "A" sorts before "a"
        {"2.1", "2.1 ", true},  {"2.1", "\xe9", true},      // bytes compare unsigned
        {"2.1", "2\0"s, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.own) + " / " + c.offered);
        EXPECT_EQ(IsNewerVersion(c.offered, c.own), c.newer);
    }
}

TEST(VersionFileTest, LinesEndInCrLfOrLf) {
    struct Case {
        std::string body;
        std::vector<std::string> lines;
    } cases[] = {
        {"", {}},
        {"2.1", {"2.1"}},
        {"2.1\n", {"2.1"}},
        {"2.1\r\n", {"2.1"}},
        {"2.2\r\nChanges\nmore", {"2.2", "Changes", "more"}},
        {"\n2.1", {"", "2.1"}},
        {"\r\n", {""}},
        {"2.1\n\n", {"2.1", ""}},
        {"a\rb\r\n", {"a\rb"}},  // a lone CR ends no line
        {"2.1\r", {"2.1\r"}},
        {"a\0b\nc"s, {"a\0b"s, "c"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        EXPECT_EQ(SplitLines(c.body), c.lines);
    }
}

TEST(VersionFileTest, AddressReplacedOnlyByANonEmptyVariable) {
    unsetenv("LUMETRA_UPDATE_URL");
    EXPECT_EQ(VersionFileAddress(), lang::kVersionFileAddress);
    EXPECT_TRUE(VersionFileAddress().ends_with("/version.dat"));
    setenv("LUMETRA_UPDATE_URL", "", 1);
    EXPECT_EQ(VersionFileAddress(), lang::kVersionFileAddress);
    setenv("LUMETRA_UPDATE_URL", "http://127.0.0.1:9/v.dat", 1);
    EXPECT_EQ(VersionFileAddress(), "http://127.0.0.1:9/v.dat");
    unsetenv("LUMETRA_UPDATE_URL");
}

}  // namespace
}  // namespace lumetra::test
