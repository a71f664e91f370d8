#include <cmath>
#include <random>

#include <gtest/gtest.h>

#include "PictureFixtures.h"
#include "generator/picture/Resampler.h"

namespace lumetra {
namespace {

// The box-filter rule spelled out pixel by pixel, without precomputed taps:
// one axis of `n` values `step` bytes apart, resampled onto `target` values.
std::vector<std::uint8_t> ReferenceAxis(const std::vector<std::uint8_t>& line, int n, int target) {
    const float s =
        n == 1 ? float((long double)target / n) : float((long double)(target - 1) / (n - 1));
    auto box = [](long double x) { return x > -0.5L && x <= 0.5L ? 1.0L : 0.0L; };
    std::vector<std::uint8_t> out(std::size_t(target) * 3);
    for (int i = 0; i < target; ++i) {
        const float c = float((long double)i / s);
        const long double half = s >= 1 ? 0.5L : 0.5L / s;
        long long sum[3] = {0, 0, 0}, weights = 0;
        for (long long j = (long long)std::floor(c - half); j <= (long long)std::ceil(c + half);
             ++j) {
            const long double d = (long double)c - j;
            const long double w =
                s >= 1 ? std::nearbyint(box(d) * 256) : std::nearbyint(box(d * s) * s * 256);
            if (w == 0) continue;
            long long m = j < 0 ? -j : j;
            if (m >= n) m = 2LL * n - 1 - m;
            for (int ch = 0; ch < 3; ++ch) sum[ch] += (long long)w * line[std::size_t(m) * 3 + ch];
            weights += (long long)w;
        }
        for (int ch = 0; ch < 3; ++ch) {
            long long v = weights ? sum[ch] / weights : sum[ch] / 256;
            out[std::size_t(i) * 3 + ch] = std::uint8_t(std::clamp(v, 0LL, 255LL));
        }
    }
    return out;
}

Bitmap Reference(const Bitmap& src, int tw, int th) {
    Bitmap mid(tw, src.height);
    for (int y = 0; y < src.height; ++y) {
        std::vector<std::uint8_t> line(src.row(y), src.row(y) + src.stride());
        const auto out = ReferenceAxis(line, src.width, tw);
        std::copy(out.begin(), out.end(), mid.row(y));
    }
    Bitmap dst(tw, th);
    for (int x = 0; x < tw; ++x) {
        std::vector<std::uint8_t> column(std::size_t(src.height) * 3);
        for (int y = 0; y < src.height; ++y)
            std::copy(mid.row(y) + x * 3, mid.row(y) + x * 3 + 3, &column[std::size_t(y) * 3]);
        const auto out = ReferenceAxis(column, src.height, th);
        for (int y = 0; y < th; ++y)
            std::copy(&out[std::size_t(y) * 3], &out[std::size_t(y) * 3] + 3, dst.row(y) + x * 3);
    }
    return dst;
}

Bitmap Noise(int w, int h, std::mt19937& rng) {
    Bitmap b(w, h);
    for (auto& v : b.pixels) v = std::uint8_t(rng());
    return b;
}

TEST(Resampler, MatchesTheRuleForRandomSizesBothWays) {
    std::mt19937 rng(7);
    for (int round = 0; round < 150; ++round) {
        const int sw = 1 + int(rng() % 70), sh = 1 + int(rng() % 70);
        const int tw = 2 + int(rng() % 110), th = 2 + int(rng() % 110);
        const Bitmap src = Noise(sw, sh, rng);
        const Bitmap got = Resample(src, tw, th);
        const Bitmap want = Reference(src, tw, th);
        ASSERT_EQ(got.pixels, want.pixels) << sw << "x" << sh << " -> " << tw << "x" << th;
    }
}

TEST(Resampler, MatchesTheRuleForPhotoSizedShrinking) {
    std::mt19937 rng(11);
    const Bitmap src = Noise(603, 311, rng);
    for (auto [tw, th] : {std::pair{512, 260}, {300, 200}, {97, 13}, {602, 310}}) {
        ASSERT_EQ(Resample(src, tw, th).pixels, Reference(src, tw, th).pixels) << tw << "x" << th;
    }
}

TEST(Resampler, KeepsAPictureAtItsOwnSizeUnchanged) {
    std::mt19937 rng(3);
    for (auto [w, h] : {std::pair{1, 1}, {1, 9}, {17, 1}, {64, 48}}) {
        const Bitmap src = Noise(w, h, rng);
        EXPECT_EQ(Resample(src, w, h).pixels, src.pixels);
        // The taps themselves are the identity too (the copy is only a shortcut).
        const AxisTaps t = ComputeAxisTaps(w, w);
        for (int i = 0; i < w; ++i) {
            ASSERT_EQ(t.first[std::size_t(i) + 1] - t.first[std::size_t(i)], 1);
            EXPECT_EQ(t.index[std::size_t(t.first[std::size_t(i)])], i);
        }
    }
}

TEST(Resampler, MirrorsIndicesAtTheEdges) {
    // Shrinking 10 -> 4: target 0 sits on source 0 with a filter reaching -1,
    // read as 1; the last reaches 10, read as 2 * 10 - 1 - 10 = 9.
    const AxisTaps t = ComputeAxisTaps(10, 4);
    std::vector<int> first(t.index.begin() + t.first[0], t.index.begin() + t.first[1]);
    EXPECT_EQ(first, (std::vector<int>{1, 0, 1}));
    std::vector<int> last(t.index.begin() + t.first[3], t.index.begin() + t.first[4]);
    EXPECT_EQ(last, (std::vector<int>{8, 9, 9}));
}

// Where the rule itself breaks down the resampler still gives the average colour.
TEST(Resampler, DegenerateShrinkingKeepsTheColour) {
    Bitmap grey(2000, 3);
    std::fill(grey.pixels.begin(), grey.pixels.end(), 200);
    for (auto [tw, th] : {std::pair{3, 3}, {1, 1}, {1, 2}, {2, 1}}) {
        const Bitmap out = Resample(grey, tw, th);
        for (auto v : out.pixels) ASSERT_EQ(v, 200) << tw << "x" << th;
    }
    Bitmap ramp(4, 1);
    for (int x = 0; x < 4; ++x) std::fill_n(ramp.row(0) + x * 3, 3, std::uint8_t(x * 10));
    EXPECT_EQ(Resample(ramp, 1, 1).pixels, (std::vector<std::uint8_t>{15, 15, 15}));
}

TEST(Resampler, StreamsWithFewRowsHeld) {
    std::mt19937 rng(5);
    const Bitmap src = Noise(40, 3000, rng);
    int rowsOut = 0, rowsIn = 0;
    Resample(
        40, 3000, 20, 700,
        [&](std::uint8_t* out, std::size_t stride, int count) {
            for (int i = 0; i < count; ++i, ++rowsIn)
                std::copy(src.row(rowsIn), src.row(rowsIn) + src.stride(),
                          out + std::size_t(i) * stride);
        },
        [&](const std::uint8_t*) {
            // Output starts long before the input ends.
            if (rowsOut == 0) {
                EXPECT_LT(rowsIn, 100);
            }
            ++rowsOut;
        });
    EXPECT_EQ(rowsOut, 700);
    EXPECT_EQ(rowsIn, 3000);
}

}  // namespace
}  // namespace lumetra
