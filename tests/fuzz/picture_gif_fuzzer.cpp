// Arbitrary bytes as a GIF file: the decoder either delivers a picture of
// the size its header reads or refuses with PictureError, and the finishing
// steps (orientation, colour profile, resampling) take whatever it delivers.

#include <cstdint>
#include <cstdlib>

#include "generator/picture/DecodeLimits.h"
#include "generator/picture/Decoders.h"
#include "generator/picture/PictureError.h"
#include "generator/picture/PictureReading.h"
#include "generator/picture/Resampler.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    lumetra::LimitPicturePixels(4'000'000);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const lumetra::ByteSpan bytes(data, size);
    // The header alone, as for a newly added slide.
    try {
        (void)lumetra::ReadUprightSize(lumetra::PictureFormat::Gif, bytes);
    } catch (const lumetra::PictureError&) {
    }
    lumetra::DecodedPicture picture;
    try {
        picture = lumetra::DecodeGif(bytes);
    } catch (const lumetra::PictureError&) {
        return 0;
    }
    const lumetra::Bitmap& b = picture.bitmap;
    if (b.empty() || b.pixels.size() != std::size_t(b.width) * b.height * 3) std::abort();
    // A decodable file's header must be readable and agree with the pixels.
    const lumetra::PictureHeader header =
        lumetra::ReadUprightSize(lumetra::PictureFormat::Gif, bytes);
    const lumetra::Bitmap upright = lumetra::Finish(std::move(picture));
    if (header.width != upright.width || header.height != upright.height) std::abort();
    (void)lumetra::Resample(upright, 1 + upright.width % 7, 1 + upright.height % 5);
    return 0;
}
