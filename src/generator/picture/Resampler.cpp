#include "generator/picture/Resampler.h"

#include <algorithm>
#include <cstring>

namespace lumetra {

namespace {

// Source rows arrive in small bands; the decoders work best with several at once.
constexpr int kBand = 16;
// Σ weight × value / Σ weight by a multiply with the rounded-up reciprocal:
// exact while sum × divisor < 2^48, which the side limit of the decoders
// guarantees (sums stay below 255 × divisor, divisors far below 2^20).
inline std::uint8_t Divide(std::uint64_t sum, std::uint64_t reciprocal) {
    const std::uint64_t q = (sum * reciprocal) >> 48;
    return std::uint8_t(q > 255 ? 255 : q);
}

// The horizontal taps rearranged for the inner loop: with a box kernel nearly
// every target pixel reads a contiguous run of source pixels of one weight,
// so the run is summed first and weighted once (the same integer result).
struct RowPlan {
    struct Pixel {
        std::uint32_t start;  // first source pixel of the run; unused for general taps
        std::uint32_t count;  // run length, 0 for general taps
        std::uint32_t weight;
        std::uint64_t reciprocal;
    };
    std::vector<Pixel> pixels;
    const AxisTaps* taps;
};

RowPlan PlanRow(const AxisTaps& t) {
    RowPlan plan{{}, &t};
    for (int i = 0; i < t.size(); ++i) {
        const auto k0 = std::size_t(t.first[std::size_t(i)]);
        const auto k1 = std::size_t(t.first[std::size_t(i) + 1]);
        bool run = k1 > k0;
        for (std::size_t k = k0 + 1; run && k < k1; ++k)
            run = t.index[k] == t.index[k - 1] + 1 && t.weight[k] == t.weight[k0];
        plan.pixels.push_back({run ? std::uint32_t(t.index[k0]) : 0,
                               run ? std::uint32_t(k1 - k0) : 0, run ? t.weight[k0] : 0,
                               t.reciprocal[std::size_t(i)]});
    }
    return plan;
}

void HorizontalPass(const RowPlan& plan, const std::uint8_t* src, std::uint8_t* dst) {
    const AxisTaps& t = *plan.taps;
    std::size_t i = 0;
    for (const RowPlan::Pixel& px : plan.pixels) {
        std::uint32_t r = 0, g = 0, b = 0;
        if (px.count) {
            const std::uint8_t* p = src + std::size_t(px.start) * 3;
            for (std::uint32_t k = 0; k < px.count; ++k, p += 3) r += p[0], g += p[1], b += p[2];
            r *= px.weight, g *= px.weight, b *= px.weight;
        } else {
            for (std::int32_t k = t.first[i]; k < t.first[i + 1]; ++k) {
                const std::uint8_t* p = src + std::size_t(t.index[std::size_t(k)]) * 3;
                const std::uint32_t w = t.weight[std::size_t(k)];
                r += w * p[0], g += w * p[1], b += w * p[2];
            }
        }
        dst[0] = Divide(r, px.reciprocal), dst[1] = Divide(g, px.reciprocal);
        dst[2] = Divide(b, px.reciprocal);
        dst += 3;
        ++i;
    }
}

// Vertical pass of one target row over `taps` intermediate rows.
void VerticalPass(const std::uint8_t* const* rows, const std::uint32_t* weight, int taps,
                  std::uint64_t reciprocal, std::size_t values, std::uint32_t* acc,
                  std::uint8_t* out) {
    std::fill(acc, acc + values, 0u);
    for (int k = 0; k < taps; ++k) {
        const std::uint8_t* row = rows[k];
        const std::uint32_t w = weight[k];
        for (std::size_t x = 0; x < values; ++x) acc[x] += w * row[x];
    }
    for (std::size_t x = 0; x < values; ++x) out[x] = Divide(acc[x], reciprocal);
}

// How many intermediate rows must be held at once, and from which row on each
// target row can be made.
struct RowWindow {
    std::vector<int> lastNeeded;  // per target row: highest source row it reads
    int capacity = 1;
};

RowWindow PlanRows(const AxisTaps& v) {
    const int th = v.size();
    RowWindow plan;
    plan.lastNeeded.resize(std::size_t(th));
    std::vector<int> lowest(std::size_t(th) + 1, 1 << 30);  // lowest row read from y on
    for (int y = th - 1; y >= 0; --y) {
        int lo = 1 << 30, hi = 0;
        for (int k = v.first[std::size_t(y)]; k < v.first[std::size_t(y) + 1]; ++k)
            lo = std::min(lo, v.index[std::size_t(k)]), hi = std::max(hi, v.index[std::size_t(k)]);
        lowest[std::size_t(y)] = std::min(lo, lowest[std::size_t(y) + 1]);
        plan.lastNeeded[std::size_t(y)] = hi;
    }
    int read = 0;
    for (int y = 0; y < th; ++y) {
        read = std::max(read, plan.lastNeeded[std::size_t(y)]);
        plan.lastNeeded[std::size_t(y)] = read;
        plan.capacity = std::max(plan.capacity, read - lowest[std::size_t(y)] + 1);
    }
    // Rows are read in whole bands, which may run that far past the last one needed.
    plan.capacity += kBand - 1;
    return plan;
}

void Copy(int sw, int sh, const RowReader& read, const RowWriter& write) {
    std::vector<std::uint8_t> row(std::size_t(sw) * 3);
    for (int y = 0; y < sh; ++y) {
        read(row.data(), row.size(), 1);
        write(row.data());
    }
}

}  // namespace

void Resample(int sw, int sh, int tw, int th, const RowReader& read, const RowWriter& write) {
    if (sw == tw && sh == th) return Copy(sw, sh, read, write);
    const AxisTaps h = ComputeAxisTaps(sw, tw);
    const RowPlan rowPlan = PlanRow(h);
    const AxisTaps v = ComputeAxisTaps(sh, th);
    const RowWindow plan = PlanRows(v);

    const std::size_t srcStride = std::size_t(sw) * 3, midStride = std::size_t(tw) * 3;
    std::vector<std::uint8_t> band(srcStride * kBand);
    std::vector<std::uint8_t> ring(midStride * std::size_t(plan.capacity));
    std::vector<std::uint32_t> acc(midStride);
    std::vector<std::uint8_t> out(midStride);
    std::vector<const std::uint8_t*> rows;

    int rowsRead = 0;  // intermediate rows made so far
    for (int y = 0; y < th; ++y) {
        while (rowsRead <= plan.lastNeeded[std::size_t(y)]) {
            const int n = std::min(kBand, sh - rowsRead);
            read(band.data(), srcStride, n);
            for (int r = 0; r < n; ++r, ++rowsRead)
                HorizontalPass(rowPlan, band.data() + std::size_t(r) * srcStride,
                               ring.data() + std::size_t(rowsRead % plan.capacity) * midStride);
        }
        const int k0 = v.first[std::size_t(y)], k1 = v.first[std::size_t(y) + 1];
        rows.clear();
        for (int k = k0; k < k1; ++k)
            rows.push_back(ring.data() +
                           std::size_t(v.index[std::size_t(k)] % plan.capacity) * midStride);
        VerticalPass(rows.data(), v.weight.data() + k0, k1 - k0, v.reciprocal[std::size_t(y)],
                     midStride, acc.data(), out.data());
        write(out.data());
    }
}

Bitmap Resample(const Bitmap& source, int tw, int th) {
    Bitmap target(tw, th);
    int next = 0, written = 0;
    Resample(
        source.width, source.height, tw, th,
        [&](std::uint8_t* out, std::size_t stride, int count) {
            for (int i = 0; i < count; ++i, ++next)
                std::memcpy(out + std::size_t(i) * stride, source.row(next), source.stride());
        },
        [&](const std::uint8_t* row) { std::memcpy(target.row(written++), row, target.stride()); });
    return target;
}

}  // namespace lumetra
