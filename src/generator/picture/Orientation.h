#pragma once
// Turns a picture stored in EXIF/TIFF orientation 1..8 upright.

#include <cstddef>
#include <cstdint>

#include "generator/picture/Bitmap.h"

namespace lumetra {

// Orientations 5 to 8 swap width and height.
inline bool SwapsSides(int orientation) {
    return orientation >= 5 && orientation <= 8;
}

// Reads the upright rows of a stored picture in order, without making an
// upright copy of it (the resampler takes them a band at a time).
class UprightRows {
  public:
    UprightRows(const Bitmap& stored, int orientation);
    int width() const { return width_; }
    int height() const { return height_; }
    // The next `count` upright rows as RGB, rows `stride` bytes apart.
    void readRows(std::uint8_t* out, std::size_t stride, int count);

  private:
    const std::uint8_t* origin_;
    std::ptrdiff_t dx_, dy_;  // byte steps in the stored picture per upright column and row
    int width_, height_;
    int next_ = 0;
};

Bitmap Upright(Bitmap stored, int orientation);

}  // namespace lumetra
