#pragma once
// Transparent pixels are shown over white, the page colour most shows sit on.

#include <cstddef>
#include <cstdint>

namespace lumetra {

// RGBA with straight (not premultiplied) alpha to RGB.
void ComposeOverWhite(const std::uint8_t* rgba, std::uint8_t* rgb, std::size_t count);

// RGBA with premultiplied alpha to RGB.
void ComposePremultipliedOverWhite(const std::uint8_t* rgba, std::uint8_t* rgb, std::size_t count);

}  // namespace lumetra
