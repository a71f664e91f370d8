#pragma once
// Turns a picture stored in EXIF/TIFF orientation 1..8 upright.

#include "generator/picture/Bitmap.h"

namespace lumetra {

// Orientations 5 to 8 swap width and height.
inline bool SwapsSides(int orientation) {
    return orientation >= 5 && orientation <= 8;
}

Bitmap Upright(Bitmap stored, int orientation);

}  // namespace lumetra
