#include "lang/Placeholders.h"

#include <gtest/gtest.h>

namespace lumetra {
namespace {

TEST(Placeholders, ReplaceEveryOccurrenceWithoutRescanning) {
    struct {
        const char* text;
        const char* token;
        const char* value;
        const char* expected;
    } cases[] = {
        {"%1% and %1%", "%1%", "x", "x and x"},
        {"%1%", "%1%", "%1%%1%", "%1%%1%"},    // inserted text is not searched again
        {"%BR%%br%", "%br%", "\n", "%BR%\n"},  // letter case counts
        {"100%1%%", "%1%", "a", "100a%"},
        {"none", "%1%", "a", "none"},
        {"", "%1%", "a", ""},
        {"%1%1%", "%1%", "%", "%1%"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReplacePlaceholder(c.text, c.token, c.value), c.expected) << c.text;
}

TEST(Placeholders, SeveralTokensInOnePass) {
    EXPECT_EQ(ReplacePlaceholders("%1% needs %2%, this is %3%.",
                                  {{"%1%", "/p/a %2% b.lmx"}, {"%2%", "3.3.2"}, {"%3%", "3.3.1"}}),
              "/p/a %2% b.lmx needs 3.3.2, this is 3.3.1.");
    EXPECT_EQ(ReplacePlaceholders("a%br%b%br%", {{"%br%", kLineBreak}}), "a\nb\n");
}

}  // namespace
}  // namespace lumetra
