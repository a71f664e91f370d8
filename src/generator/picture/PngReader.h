#pragma once
// Row-by-row PNG decoding with libpng's full interface (the simplified one
// hides the ICC profile). Interlaced files are decoded whole on the first
// read, the others stream. libpng's error callback throws PictureError; the
// reader releases the library's structures however decoding ends.

#include <cstdint>
#include <memory>
#include <vector>

#include "generator/picture/Decoders.h"

namespace lumetra {

class PngReader {
  public:
    explicit PngReader(ByteSpan data);
    ~PngReader();
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;

    int width() const { return width_; }
    int height() const { return height_; }
    const std::vector<std::uint8_t>& iccProfile() const { return icc_; }

    // The next `count` rows as RGB, transparency composed over white.
    void readRows(std::uint8_t* out, std::size_t stride, int count);

  private:
    struct State;
    std::unique_ptr<State> state_;
    int width_ = 0, height_ = 0;
    std::vector<std::uint8_t> icc_;
};

}  // namespace lumetra
