#include "generator/HtmlColor.h"

#include <cstdio>

namespace lumetra {

std::string ColorDigits(std::int32_t color) {
    const auto value = static_cast<std::uint32_t>(color);
    char digits[8];
    std::snprintf(digits, sizeof digits, "%02X%02X%02X", value & 0xFFu, (value >> 8) & 0xFFu,
                  (value >> 16) & 0xFFu);
    return digits;
}

std::string ColorToHtml(std::int32_t color) {
    return "#" + ColorDigits(color);
}

}  // namespace lumetra
