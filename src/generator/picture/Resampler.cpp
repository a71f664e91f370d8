#include "generator/picture/Resampler.h"

#include <algorithm>
#include <cstring>

namespace lumetra {

namespace {

// Source rows arrive in small bands; the decoders work best with several at once.
constexpr int kBand = 16;
constexpr std::uint64_t kFastDivisorLimit = std::uint64_t(1) << 20;

// Σ weight × value / Σ weight, by a multiply where that is exact (sums below
// 2^48 / divisor, which holds for every divisor under 2^20).
inline std::uint8_t Divide(std::uint64_t sum, std::uint32_t divisor, std::uint64_t reciprocal) {
    const std::uint64_t q = divisor < kFastDivisorLimit ? (sum * reciprocal) >> 48 : sum / divisor;
    return std::uint8_t(q > 255 ? 255 : q);
}

void HorizontalPass(const AxisTaps& t, const std::uint8_t* src, std::uint8_t* dst) {
    const std::int32_t* first = t.first.data();
    const std::int32_t* index = t.index.data();
    const std::uint32_t* weight = t.weight.data();
    const int n = t.size();
    for (int i = 0; i < n; ++i, dst += 3) {
        std::uint32_t r = 0, g = 0, b = 0;
        for (std::int32_t k = first[i]; k < first[i + 1]; ++k) {
            const std::uint8_t* p = src + std::size_t(index[k]) * 3;
            const std::uint32_t w = weight[k];
            r += w * p[0], g += w * p[1], b += w * p[2];
        }
        const std::uint32_t d = t.divisor[std::size_t(i)];
        const std::uint64_t m = t.reciprocal[std::size_t(i)];
        dst[0] = Divide(r, d, m), dst[1] = Divide(g, d, m), dst[2] = Divide(b, d, m);
    }
}

// Vertical pass of one target row over `taps` intermediate rows.
void VerticalPass(const std::uint8_t* const* rows, const std::uint32_t* weight, int taps,
                  std::uint32_t divisor, std::uint64_t reciprocal, std::size_t values,
                  std::uint32_t* acc, std::uint8_t* out) {
    std::fill(acc, acc + values, 0u);
    for (int k = 0; k < taps; ++k) {
        const std::uint8_t* row = rows[k];
        const std::uint32_t w = weight[k];
        for (std::size_t x = 0; x < values; ++x) acc[x] += w * row[x];
    }
    for (std::size_t x = 0; x < values; ++x) out[x] = Divide(acc[x], divisor, reciprocal);
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
                HorizontalPass(h, band.data() + std::size_t(r) * srcStride,
                               ring.data() + std::size_t(rowsRead % plan.capacity) * midStride);
        }
        const int k0 = v.first[std::size_t(y)], k1 = v.first[std::size_t(y) + 1];
        rows.clear();
        for (int k = k0; k < k1; ++k)
            rows.push_back(ring.data() +
                           std::size_t(v.index[std::size_t(k)] % plan.capacity) * midStride);
        VerticalPass(rows.data(), v.weight.data() + k0, k1 - k0, v.divisor[std::size_t(y)],
                     v.reciprocal[std::size_t(y)], midStride, acc.data(), out.data());
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
