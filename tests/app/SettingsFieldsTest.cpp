// The digit filter of the fixed-size fields.
#include <gtest/gtest.h>

#include "app/SettingsFields.h"

namespace lumetra {
namespace {

TEST(SettingsFieldsTest, FilterKeepsTheAllowedCharactersAndMovesTheCaretBack) {
    struct Case {
        const char* text;
        int caret;
        const char* kept;
        int caretAfter;
        bool changed;
    };
    const Case cases[] = {
        {"124", 3, "124", 3, false},     // nothing to remove: the caret stays
        {"12a4", 4, "124", 3, true},     // pasted: one place back
        {"a", 1, "", 0, true},           // never before the start
        {"x600", 0, "600", 0, true},     // already at the start
        {"6\xC3\xBC", 3, "6", 2, true},  // both bytes of a letter go; the field clamps the caret
        {"", 0, "", 0, false},          {"-5", 2, "5", 1, true},
    };
    for (const Case& c : cases) {
        const FilteredText out = FilterAllowed(c.text, kDigits, c.caret);
        EXPECT_EQ(out.text, c.kept) << c.text;
        EXPECT_EQ(out.caret, c.caretAfter) << c.text;
        EXPECT_EQ(out.changed, c.changed) << c.text;
    }
}

}  // namespace
}  // namespace lumetra
