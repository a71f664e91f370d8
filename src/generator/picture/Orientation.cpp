#include "generator/picture/Orientation.h"

#include <cstring>

namespace lumetra {

// Orientation n says where the stored first row and column belong: for each,
// the upright pixel (x, y) is read from the stored pixel at sx, sy below.
Bitmap Upright(Bitmap stored, int orientation) {
    if (orientation < 2 || orientation > 8) return stored;
    const int sw = stored.width, sh = stored.height;
    const bool swap = SwapsSides(orientation);
    Bitmap out(swap ? sh : sw, swap ? sw : sh);
    for (int y = 0; y < out.height; ++y) {
        std::uint8_t* dst = out.row(y);
        for (int x = 0; x < out.width; ++x, dst += 3) {
            int sx = x, sy = y;
            switch (orientation) {
                case 2:
                    sx = sw - 1 - x;
                    break;  // mirrored
                case 3:
                    sx = sw - 1 - x, sy = sh - 1 - y;
                    break;  // turned 180 degrees
                case 4:
                    sy = sh - 1 - y;
                    break;  // mirrored vertically
                case 5:
                    sx = y, sy = x;
                    break;  // transposed
                case 6:
                    sx = y, sy = sh - 1 - x;
                    break;  // turned 90 degrees clockwise
                case 7:
                    sx = sw - 1 - y, sy = sh - 1 - x;
                    break;  // transversed
                case 8:
                    sx = sw - 1 - y, sy = x;
                    break;  // turned 90 degrees anticlockwise
            }
            std::memcpy(dst, stored.row(sy) + std::size_t(sx) * 3, 3);
        }
    }
    return out;
}

}  // namespace lumetra
