#pragma once
// The steps shared by every way a picture is read: map the file, decode it,
// turn it upright and into sRGB.

#include <string>

#include "generator/picture/Bitmap.h"
#include "generator/picture/Decoders.h"

namespace lumetra {

// Decodes a picture file completely (scaleDenom applies to JPEG only) and
// returns it upright, in sRGB, opaque. Throws PictureError when it cannot.
Bitmap ReadPicture(const std::string& file, int scaleDenom = 1);

// Makes a decoded picture upright and sRGB.
Bitmap Finish(DecodedPicture picture);

// Upright size from the header alone (JPEG, PNG, TIFF) or a full decode.
PictureHeader ReadUprightSize(PictureFormat format, ByteSpan data);

class MemoryBudget;

// Converts a picture into a JPEG file's bytes of tw x th pixels, streaming
// where it can. With a budget, the decoding waits until its memory fits.
// Throws PictureError when the picture cannot be decoded, or when tw x th is
// beyond what a picture may be.
std::vector<std::uint8_t> ConvertPictureToJpeg(PictureFormat format, ByteSpan data, int tw, int th,
                                               MemoryBudget* budget = nullptr);
// The same for a picture file.
std::vector<std::uint8_t> ConvertToJpeg(const std::string& file, int tw, int th,
                                        MemoryBudget* budget = nullptr);

}  // namespace lumetra
