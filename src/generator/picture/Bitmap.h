#pragma once
// The one in-memory picture type of the core: 8-bit RGB, rows top to bottom,
// no padding. Every decoder delivers this, the resampler and encoder take it.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lumetra {

struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // width * height * 3 bytes

    Bitmap() = default;
    Bitmap(int w, int h) : width(w), height(h), pixels(std::size_t(w) * std::size_t(h) * 3) {}

    bool empty() const { return width <= 0 || height <= 0; }
    std::size_t stride() const { return std::size_t(width) * 3; }
    std::uint8_t* row(int y) { return pixels.data() + std::size_t(y) * stride(); }
    const std::uint8_t* row(int y) const { return pixels.data() + std::size_t(y) * stride(); }
};

}  // namespace lumetra
