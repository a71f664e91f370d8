#pragma once
// Row-by-row JPEG decoding with libjpeg-turbo. Errors of the library come back
// as PictureError (its error handler throws; libjpeg keeps no state that the
// unwinding could corrupt, and the reader releases it in its destructor).

#include <cstdint>
#include <memory>
#include <vector>

#include "generator/picture/Decoders.h"

namespace lumetra {

class JpegReader {
  public:
    // Reads the header: stored size, EXIF orientation and ICC profile.
    explicit JpegReader(ByteSpan data);
    ~JpegReader();
    JpegReader(const JpegReader&) = delete;
    JpegReader& operator=(const JpegReader&) = delete;

    int storedWidth() const;
    int storedHeight() const;
    int orientation() const { return orientation_; }
    // Progressive files hold every coefficient of the picture while decoding.
    bool progressive() const;
    const std::vector<std::uint8_t>& iccProfile() const { return icc_; }

    // Starts decoding at 1/scaleDenom of the stored size (1, 2, 4 or 8).
    void start(int scaleDenom);
    int width() const;  // output size after start()
    int height() const;
    // Decodes the next `count` rows as RGB into rows `stride` bytes apart.
    void readRows(std::uint8_t* out, std::size_t stride, int count);

  private:
    struct State;
    std::unique_ptr<State> state_;
    int orientation_ = 1;
    std::vector<std::uint8_t> icc_;
};

}  // namespace lumetra
