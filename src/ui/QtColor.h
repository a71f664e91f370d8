#pragma once
// Colours of the program (0x00BBGGRR, red in the low byte) as Qt's.

#include <QColor>
#include <cstdint>

namespace lumetra::ui {

inline QColor ToQColor(std::uint32_t bgr) {
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

inline std::uint32_t FromQColor(const QColor& c) {
    return std::uint32_t(c.red()) | (std::uint32_t(c.green()) << 8) |
           (std::uint32_t(c.blue()) << 16);
}

}  // namespace lumetra::ui
