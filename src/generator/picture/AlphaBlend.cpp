#include "generator/picture/AlphaBlend.h"

namespace lumetra {

void ComposeOverWhite(const std::uint8_t* rgba, std::uint8_t* rgb, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i, rgba += 4, rgb += 3) {
        const unsigned a = rgba[3];
        const unsigned white = 255 * (255 - a);
        for (int c = 0; c < 3; ++c) rgb[c] = std::uint8_t((rgba[c] * a + white + 127) / 255);
    }
}

void ComposePremultipliedOverWhite(const std::uint8_t* rgba, std::uint8_t* rgb, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i, rgba += 4, rgb += 3) {
        const unsigned rest = 255 - rgba[3];
        for (int c = 0; c < 3; ++c) {
            const unsigned v = rgba[c] + rest;
            rgb[c] = std::uint8_t(v > 255 ? 255 : v);
        }
    }
}

}  // namespace lumetra
