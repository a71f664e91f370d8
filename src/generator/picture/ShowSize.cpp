// Show and slide sizes. The ratios are 32-bit floats and the computed side is
// evaluated in extended precision (long double on x86-64) in exactly the
// order below, rounded half to even: existing shows were sized this way, and
// double precision would differ by a pixel now and then (48 x 33 in a 40 x 40
// box is 40 x 27, not 40 x 28).

#include <cmath>

#include "app/Project.h"
#include "generator/picture/DecodeLimits.h"
#include "generator/picture/ImagePreparation.h"

namespace lumetra {

namespace {

std::int32_t ClampSide(long double v) {
    if (!(v >= 1)) return 1;  // also NaN
    if (v > kMaxJpegSide) return kMaxJpegSide;
    return std::int32_t(v);
}

// Leading digits of a size field, saturated; "0" or no digits give 1.
std::int32_t ParseSide(const std::string& text) {
    long long value = 0;
    for (char ch : text) {
        if (ch < '0' || ch > '9') break;
        value = std::min<long long>(value * 10 + (ch - '0'), kMaxJpegSide);
    }
    return ClampSide(static_cast<long double>(value));
}

struct Fit {
    std::int32_t width, height;
};

Fit SlideTarget(const Project& project, std::size_t slide) {
    const recImgItems& item = project.ImgItems.at(slide);
    const std::int32_t iw = item.ImgWidth, ih = item.ImgHeight;
    if (!project.Settings.FitImages) return {ClampSide(iw), ClampSide(ih)};
    const ShowSize box = GetShowSize(project);
    const std::int32_t bw = ClampSide(box.W), bh = ClampSide(box.H);
    if (iw <= 0 || ih <= 0) return {bw, bh};

    const float rx = float(static_cast<long double>(bw) / iw);
    const float ry = float(static_cast<long double>(bh) / ih);
    if (rx < ry) {
        const long double h = static_cast<long double>(ih) / (static_cast<long double>(iw) / bw);
        return {bw, ClampSide(std::nearbyint(h))};
    }
    if (ry < rx) {
        const long double w = static_cast<long double>(iw) / (static_cast<long double>(ih) / bh);
        return {ClampSide(std::nearbyint(w)), bh};
    }
    return {bw, bh};
}

}  // namespace

ShowSize GetShowSize(const Project& project) {
    const ShowSettings& s = project.Settings;
    // Extents come from sizes stored in project files, which may be anything.
    if (s.FitImages && s.FitMode == 0)
        return {ClampSide(project.MinImgWidth), ClampSide(project.MinImgHeight)};
    if (s.FitImages && s.FitMode == 2) return {ParseSide(s.FitWidth), ParseSide(s.FitHeight)};
    return {ClampSide(project.MaxImgWidth), ClampSide(project.MaxImgHeight)};
}

std::int32_t TargetWidth(const Project& project, std::size_t slide) {
    return SlideTarget(project, slide).width;
}

std::int32_t TargetHeight(const Project& project, std::size_t slide) {
    return SlideTarget(project, slide).height;
}

}  // namespace lumetra
