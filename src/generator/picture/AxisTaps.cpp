// Taps of the box filter. The scale factor and the centres are 32-bit floats
// and the products are evaluated in extended precision, the arithmetic the
// pictures of existing shows were made with; a picture resampled again comes
// out identical to the last byte.

#include <cmath>

#include "generator/picture/Resampler.h"

namespace lumetra {

namespace {

bool InBox(long double x) {
    return x > -0.5L && x <= 0.5L;
}

std::int32_t Mirror(std::int64_t j, int source) {
    if (j < 0) j = -j;
    if (j >= source) j = 2 * std::int64_t(source) - 1 - j;
    // Only a filter wider than the whole source reaches further; stay inside.
    if (j < 0) j = 0;
    if (j >= source) j = source - 1;
    return std::int32_t(j);
}

float ScaleFactor(int source, int target) {
    // First and last pixels align; a single source pixel scales by the plain ratio.
    if (source == 1) return float(static_cast<long double>(target) / source);
    return float(static_cast<long double>(target - 1) / (source - 1));
}

void Finish(AxisTaps& taps, std::uint32_t sum) {
    const std::uint32_t d = sum ? sum : 256;
    taps.divisor.push_back(d);
    taps.reciprocal.push_back((std::uint64_t(1) << 48) / d + 1);
    taps.first.push_back(std::int32_t(taps.index.size()));
}

}  // namespace

AxisTaps ComputeAxisTaps(int source, int target) {
    AxisTaps taps;
    taps.first.push_back(0);
    if (target == 1 && source > 1) {
        // The scale factor would be 0: one pixel stands for the whole source.
        for (int j = 0; j < source; ++j) taps.index.push_back(j), taps.weight.push_back(1);
        Finish(taps, std::uint32_t(source));
        return taps;
    }
    const float s = ScaleFactor(source, target);
    const bool shrinking = s < 1.0f;
    const long double halfWidth = shrinking ? 0.5L / s : 0.5L;
    // With a box kernel every covered candidate has the same weight. Below
    // 1/512 it would round to 0 and turn the picture black; weight 1 keeps the
    // plain average that every larger weight gives.
    std::uint32_t shrinkWeight = std::uint32_t(std::nearbyint(static_cast<long double>(s) * 256));
    if (shrinking && shrinkWeight == 0) shrinkWeight = 1;

    for (int i = 0; i < target; ++i) {
        const float c = float(static_cast<long double>(i) / s);
        const auto lo = std::int64_t(std::floor(c - halfWidth));
        const auto hi = std::int64_t(std::ceil(c + halfWidth));
        std::uint32_t sum = 0;
        for (std::int64_t j = lo; j <= hi; ++j) {
            const long double d = static_cast<long double>(c) - j;
            const std::uint32_t w =
                shrinking ? (InBox(d * s) ? shrinkWeight : 0) : (InBox(d) ? 256 : 0);
            if (w == 0) continue;
            taps.index.push_back(Mirror(j, source));
            taps.weight.push_back(w);
            sum += w;
        }
        Finish(taps, sum);
    }
    return taps;
}

}  // namespace lumetra
