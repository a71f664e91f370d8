// Arbitrary bytes as a PNG file (checks in PictureFuzzing.h).

#include "PictureFuzzing.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    lumetra::fuzz::LimitPictures();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return lumetra::fuzz::FuzzPicture(lumetra::PictureFormat::Png, &lumetra::DecodePng, data, size);
}
