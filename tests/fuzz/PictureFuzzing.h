#pragma once
// The checks every picture decoder's fuzzer makes: the header alone never
// crashes; the decoder either delivers a picture of the size its header reads
// or refuses with PictureError; the finishing steps (orientation, colour
// profile, resampling) take whatever it delivers.

#include <cstdint>
#include <cstdlib>

#include "generator/picture/DecodeLimits.h"
#include "generator/picture/Decoders.h"
#include "generator/picture/PictureError.h"
#include "generator/picture/PictureReading.h"
#include "generator/picture/Resampler.h"

namespace lumetra::fuzz {

inline void LimitPictures() {
    LimitPicturePixels(4'000'000);
}

template <typename Decode>
int FuzzPicture(PictureFormat format, Decode decode, const std::uint8_t* data, std::size_t size) {
    const ByteSpan bytes(data, size);
    // The header alone, as for a newly added slide.
    try {
        (void)ReadUprightSize(format, bytes);
    } catch (const PictureError&) {
    }
    DecodedPicture picture;
    try {
        picture = decode(bytes);
    } catch (const PictureError&) {
        return 0;
    }
    const Bitmap& b = picture.bitmap;
    if (b.empty() || b.pixels.size() != std::size_t(b.width) * b.height * 3) std::abort();
    // A decodable file's header must be readable and agree with the pixels.
    const PictureHeader header = ReadUprightSize(format, bytes);
    const Bitmap upright = Finish(std::move(picture));
    if (header.width != upright.width || header.height != upright.height) std::abort();
    (void)Resample(upright, 1 + upright.width % 7, 1 + upright.height % 5);
    return 0;
}

}  // namespace lumetra::fuzz
