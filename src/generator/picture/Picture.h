#pragma once
// Reading pictures for display and for their size. Every picture comes out
// upright (EXIF/TIFF orientation applied), in sRGB (an embedded ICC profile
// of another colour space is converted) and opaque (transparency over white).

#include <string>

#include "generator/picture/Bitmap.h"

namespace lumetra {

class Language;

// The pixel size of a fresh picture area, reported for files that cannot be read.
inline constexpr int kFreshAreaSide = 105;

// Reduced-size JPEG decoding for a preview area: 1 (full size), 2, 4 or 8,
// from f = floor(min(picture width / area width, picture height / area height)).
// An area without size gets the full picture.
int ThumbnailScale(int pictureWidth, int pictureHeight, int areaWidth, int areaHeight);

// Reads `file` into `area`. The decoder is chosen by the lower-cased
// extension; any other extension loads nothing and says nothing. A file that
// cannot be decoded leaves `area` empty and, when `language` is given, shows
// Messages/ImgErr naming the file (null: quiet). With `thumbnail` a JPEG
// may be decoded at a half, quarter or eighth of its size to fit an area of
// areaWidth x areaHeight.
bool LoadPicture(Language* language, Bitmap& area, const std::string& file, bool thumbnail = false,
                 int areaWidth = 0, int areaHeight = 0);

// The upright pixel size of a picture for a new slide. A file that cannot be
// read, or has an unsupported extension, measures 105 x 105 and still counts
// as success. Only the header is read: for every file that can be decoded it
// gives the size a full decode gives.
bool GetImageSize(const std::string& path, int& height, int& width);

}  // namespace lumetra
