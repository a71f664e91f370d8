#pragma once
// Colour strings for the page and the show description.

#include <cstdint>
#include <string>

namespace lumetra {

// 0x00BBGGRR → "#RRGGBB" in upper-case hexadecimal; the top byte is ignored.
std::string ColorToHtml(std::int32_t color);

// The same six digits without "#", as the show description writes them.
std::string ColorDigits(std::int32_t color);

}  // namespace lumetra
