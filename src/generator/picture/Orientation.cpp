#include "generator/picture/Orientation.h"

#include <cstring>

namespace lumetra {

// Upright pixel (x, y) sits at origin + x * dx + y * dy of the stored pixels;
// orientation n says where the stored first row and column belong.
UprightRows::UprightRows(const Bitmap& stored, int orientation) {
    const std::ptrdiff_t row = std::ptrdiff_t(stored.stride()), px = 3;
    const std::ptrdiff_t right = (stored.width - 1) * px, bottom = (stored.height - 1) * row;
    struct Steps {
        std::ptrdiff_t origin, dx, dy;
    };
    Steps s{0, px, row};
    switch (orientation) {
        case 2:
            s = {right, -px, row};
            break;  // mirrored
        case 3:
            s = {bottom + right, -px, -row};
            break;  // turned 180 degrees
        case 4:
            s = {bottom, px, -row};
            break;  // mirrored vertically
        case 5:
            s = {0, row, px};
            break;  // transposed
        case 6:
            s = {bottom, -row, px};
            break;  // turned 90 degrees clockwise
        case 7:
            s = {bottom + right, -row, -px};
            break;  // transversed
        case 8:
            s = {right, row, -px};
            break;  // turned 90 degrees anticlockwise
        default:
            break;
    }
    origin_ = stored.pixels.data() + s.origin;
    dx_ = s.dx, dy_ = s.dy;
    const bool swap = SwapsSides(orientation);
    width_ = swap ? stored.height : stored.width;
    height_ = swap ? stored.width : stored.height;
}

void UprightRows::readRows(std::uint8_t* out, std::size_t stride, int count) {
    // Column by column across the band: along a band the stored pixels lie
    // close together even when upright rows are stored columns.
    const std::uint8_t* first = origin_ + next_ * dy_;
    for (int x = 0; x < width_; ++x) {
        const std::uint8_t* p = first + x * dx_;
        std::uint8_t* o = out + std::size_t(x) * 3;
        for (int r = 0; r < count; ++r, p += dy_, o += stride) std::memcpy(o, p, 3);
    }
    next_ += count;
}

Bitmap Upright(Bitmap stored, int orientation) {
    if (orientation < 2 || orientation > 8) return stored;
    UprightRows rows(stored, orientation);
    Bitmap out(rows.width(), rows.height());
    rows.readRows(out.pixels.data(), out.stride(), out.height);
    return out;
}

}  // namespace lumetra
