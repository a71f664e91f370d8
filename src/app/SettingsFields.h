#pragma once
// The rules of the settings page's fields that need no widget: the digit
// filter of the fixed-size fields, the own-music field with its hint text,
// and when the fixed-size fields show.

#include <string>
#include <string_view>

namespace lumetra {

struct FilteredText {
    std::string text;
    int caret = 0;
    bool changed = false;  // something was removed: the caller beeps
};

// The characters of text that are in allowed, in their order. When that
// removed something, the caret goes one place back from where it was (not
// before the start; the field keeps it within its text); otherwise it stays.
FilteredText FilterAllowed(std::string_view text, std::string_view allowed, int caret);

inline constexpr std::string_view kDigits = "0123456789";

// The own-music field as a path: its hint text counts as no file.
std::string OwnAudioPath(const std::string& fieldText, const std::string& hint);

// The fixed-size fields show only while fitting to a given size.
bool FixedSizeFieldsVisible(bool fitImages, int fitMode);

}  // namespace lumetra
