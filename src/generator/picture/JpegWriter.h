#pragma once
// The show's JPEG files: baseline, quality 100, 24-bit colour, everything else
// libjpeg's defaults (4:2:0 chroma, standard Huffman tables). Rows are fed one
// at a time; the compressed file is collected in memory.

#include <cstdint>
#include <memory>
#include <vector>

namespace lumetra {

class JpegWriter {
  public:
    JpegWriter(int width, int height);
    ~JpegWriter();
    JpegWriter(const JpegWriter&) = delete;
    JpegWriter& operator=(const JpegWriter&) = delete;

    void writeRow(const std::uint8_t* rgb);
    // Completes the file once every row is written.
    std::vector<std::uint8_t> finish();

  private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace lumetra
