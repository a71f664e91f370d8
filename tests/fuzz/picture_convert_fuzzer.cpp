// Arbitrary bytes through the whole slide conversion (decode, resample,
// encode into memory), as a picture file and as that file cut in half: an
// interrupted download must end in a JPEG or in PictureError, whatever state
// the decoder and the encoder were in when it stopped.

#include <cstdlib>
#include <cstring>
#include <vector>

#include "PictureFuzzing.h"
#include "generator/picture/Decoders.h"
#include "generator/picture/MemoryBudget.h"
#include "generator/picture/PictureError.h"
#include "generator/picture/PictureReading.h"

namespace {

using lumetra::PictureFormat;

// The decoder a user's file of these bytes would most likely get.
PictureFormat Sniff(const std::uint8_t* data, std::size_t size) {
    const auto starts = [&](const char* magic, std::size_t n) {
        return size >= n && std::memcmp(data, magic, n) == 0;
    };
    if (starts("\xFF\xD8", 2)) return PictureFormat::Jpeg;
    if (starts("\x89PNG", 4)) return PictureFormat::Png;
    if (starts("GIF8", 4)) return PictureFormat::Gif;
    if (starts("BM", 2)) return PictureFormat::Bmp;
    if (starts("II", 2) || starts("MM", 2)) return PictureFormat::Tiff;
    static constexpr PictureFormat kAll[] = {PictureFormat::Jpeg, PictureFormat::Png,
                                             PictureFormat::Gif, PictureFormat::Bmp,
                                             PictureFormat::Tiff};
    return kAll[size ? data[0] % 5 : 0];
}

void Convert(PictureFormat format, const std::uint8_t* data, std::size_t size, int tw, int th,
             lumetra::MemoryBudget& budget) {
    try {
        const std::vector<std::uint8_t> jpeg =
            lumetra::ConvertPictureToJpeg(format, {data, size}, tw, th, &budget);
        // What comes out is always a complete JPEG file of the asked size.
        const lumetra::Bitmap b = lumetra::DecodeJpeg(jpeg).bitmap;
        if (b.width != tw || b.height != th) std::abort();
    } catch (const lumetra::PictureError&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    lumetra::fuzz::LimitPictures();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static lumetra::MemoryBudget budget(lumetra::kConversionBudgetBytes);
    const PictureFormat format = Sniff(data, size);
    // Small targets of varying shape, so both shrinking and enlarging happen,
    // and for the cut file one large enough that the encoder's buffer grows
    // before the decoder fails.
    const int tw = 1 + int(size % 61), th = 1 + int(size / 61 % 47);
    Convert(format, data, size, tw, th, budget);
    Convert(format, data, size / 2, 160 + int(size % 320), 120 + int(size % 240), budget);
    return 0;
}
