#pragma once
// The separable box-filter resampler of the show's pictures. Both passes use
// taps computed once per picture size; the picture streams through it row by
// row, so only a few rows are ever held.

#include <cstdint>
#include <functional>
#include <vector>

#include "generator/picture/Bitmap.h"

namespace lumetra {

// The source positions and weights that make up each target position of one axis.
struct AxisTaps {
    std::vector<std::int32_t> first;  // target i uses taps first[i] .. first[i+1]-1
    std::vector<std::int32_t> index;  // source position, edges mirrored
    std::vector<std::uint32_t> weight;
    std::vector<std::uint32_t> divisor;     // per target: sum of its weights (256 when 0)
    std::vector<std::uint64_t> reciprocal;  // per target: 2^48 / divisor, rounded up

    int size() const { return int(first.size()) - 1; }
};

// Taps for resampling `source` positions onto `target` positions (both >= 1).
AxisTaps ComputeAxisTaps(int source, int target);

// Reads the next `count` source rows (RGB) into `out`, rows `stride` bytes apart.
using RowReader = std::function<void(std::uint8_t* out, std::size_t stride, int count)>;
// Receives each finished target row (RGB) in order.
using RowWriter = std::function<void(const std::uint8_t* row)>;

// Streams a sw x sh picture through the resampler into tw x th rows.
void Resample(int sw, int sh, int tw, int th, const RowReader& read, const RowWriter& write);

// The same on whole bitmaps.
Bitmap Resample(const Bitmap& source, int tw, int th);

}  // namespace lumetra
