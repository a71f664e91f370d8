#pragma once
// Placeholder replacement for language texts ("%1%", "%2%", "%3%", "%br%")
// and page templates.

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace lumetra {

// Line break that "%br%" becomes in messages shown on this platform.
inline constexpr std::string_view kLineBreak = "\n";

// Replaces every occurrence of token (letter case counts), left to right; the
// inserted text is never searched again.
std::string ReplacePlaceholder(std::string_view text, std::string_view token,
                               std::string_view value);

// Several tokens in one pass: at each position the tokens are tried in the
// given order. A value that itself contains a token (a path with "%2%" in it)
// is inserted as it is and never replaced again.
std::string ReplacePlaceholders(
    std::string_view text,
    std::initializer_list<std::pair<std::string_view, std::string_view>> replacements);

}  // namespace lumetra
