#pragma once
// Limits that keep a hostile or absurd picture from exhausting memory: it is
// refused before anything of its size is allocated.

#include <atomic>
#include <cstdint>

namespace lumetra {

inline constexpr std::uint64_t kMaxPicturePixels = 200'000'000;

// The pixel limit in force: kMaxPicturePixels, lowered only by the fuzzers so
// that each of their runs stays small and quick.
inline std::atomic<std::uint64_t> gPixelLimit{kMaxPicturePixels};
inline void LimitPicturePixels(std::uint64_t pixels) {
    gPixelLimit = pixels;
}
inline constexpr std::uint64_t kMaxDecodedBytes = std::uint64_t(1) << 30;
// Longer sides would only be absurd strips; the limit also keeps the
// resampler's sums within 32 bits.
inline constexpr std::uint64_t kMaxPictureSide = 1'000'000;
// The largest side a JPEG file can hold.
inline constexpr int kMaxJpegSide = 65500;

// True when a picture of width x height with bytesPerPixel in the decoder's
// own format may be decoded.
inline bool WithinDecodeLimits(std::uint64_t width, std::uint64_t height, unsigned bytesPerPixel) {
    if (width == 0 || height == 0 || width > kMaxPictureSide || height > kMaxPictureSide)
        return false;
    const std::uint64_t pixels = width * height;
    if (pixels > gPixelLimit.load(std::memory_order_relaxed)) return false;
    const unsigned bpp = bytesPerPixel < 3 ? 3 : bytesPerPixel;  // we always hold RGB
    return pixels * bpp <= kMaxDecodedBytes;
}

}  // namespace lumetra
