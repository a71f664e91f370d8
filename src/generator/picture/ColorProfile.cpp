#include "generator/picture/ColorProfile.h"

#include <cstdlib>
#include <mutex>

#include <lcms2.h>

namespace lumetra {

namespace {

void QuietLog(cmsContext, cmsUInt32Number, const char*) {}

// A profile counts as sRGB when it maps a grid of colours onto themselves
// (within one step, the spread between the sRGB profiles in circulation).
bool ActsLikeSrgb(cmsHTRANSFORM transform) {
    std::uint8_t samples[5 * 5 * 5 * 3];
    std::size_t n = 0;
    for (int r = 0; r < 5; ++r)
        for (int g = 0; g < 5; ++g)
            for (int b = 0; b < 5; ++b) {
                samples[n++] = std::uint8_t(r * 255 / 4);
                samples[n++] = std::uint8_t(g * 255 / 4);
                samples[n++] = std::uint8_t(b * 255 / 4);
            }
    std::uint8_t out[sizeof samples];
    cmsDoTransform(transform, samples, out, 125);
    for (std::size_t i = 0; i < sizeof samples; ++i)
        if (std::abs(int(samples[i]) - int(out[i])) > 1) return false;
    return true;
}

}  // namespace

std::unique_ptr<SrgbConverter> SrgbConverter::For(const std::vector<std::uint8_t>& iccProfile) {
    if (iccProfile.empty()) return nullptr;
    static std::once_flag quiet;
    std::call_once(quiet, [] { cmsSetLogErrorHandler(QuietLog); });

    cmsHPROFILE source =
        cmsOpenProfileFromMem(iccProfile.data(), static_cast<cmsUInt32Number>(iccProfile.size()));
    if (!source) return nullptr;
    cmsHTRANSFORM transform = nullptr;
    if (cmsGetColorSpace(source) == cmsSigRgbData) {
        cmsHPROFILE srgb = cmsCreate_sRGBProfile();
        if (srgb) {
            transform =
                cmsCreateTransform(source, TYPE_RGB_8, srgb, TYPE_RGB_8, INTENT_PERCEPTUAL, 0);
            cmsCloseProfile(srgb);
        }
    }
    cmsCloseProfile(source);
    if (!transform) return nullptr;
    if (ActsLikeSrgb(transform)) {
        cmsDeleteTransform(transform);
        return nullptr;
    }
    return std::unique_ptr<SrgbConverter>(new SrgbConverter(transform));
}

SrgbConverter::~SrgbConverter() {
    cmsDeleteTransform(static_cast<cmsHTRANSFORM>(transform_));
}

void SrgbConverter::convert(std::uint8_t* rgb, std::size_t pixels) const {
    // lcms takes at most 2^32 - 1 pixels per call.
    constexpr std::size_t kChunk = 1 << 20;
    for (std::size_t done = 0; done < pixels; done += kChunk) {
        const std::size_t n = std::min(kChunk, pixels - done);
        cmsDoTransform(static_cast<cmsHTRANSFORM>(transform_), rgb + done * 3, rgb + done * 3,
                       static_cast<cmsUInt32Number>(n));
    }
}

}  // namespace lumetra
