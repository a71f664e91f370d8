// Arbitrary bytes as a JPEG file (checks in PictureFuzzing.h), decoded at
// full size and, since reduced-size decoding takes other paths through the
// library, at one eighth.

#include "PictureFuzzing.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    lumetra::fuzz::LimitPictures();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        (void)lumetra::DecodeJpeg(lumetra::ByteSpan(data, size), 8);
    } catch (const lumetra::PictureError&) {
    }
    auto full = [](lumetra::ByteSpan bytes) { return lumetra::DecodeJpeg(bytes); };
    return lumetra::fuzz::FuzzPicture(lumetra::PictureFormat::Jpeg, full, data, size);
}
