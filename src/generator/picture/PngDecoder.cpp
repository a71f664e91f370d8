#include <cstring>

#include <png.h>

#include "generator/picture/AlphaBlend.h"
#include "generator/picture/DecodeLimits.h"
#include "generator/picture/PictureError.h"
#include "generator/picture/PngReader.h"

namespace lumetra {

namespace {

struct Source {
    ByteSpan data;
    std::size_t pos = 0;
};

[[noreturn]] void ThrowError(png_structp, png_const_charp message) {
    throw PictureError(message ? message : "PNG error");
}
void IgnoreWarning(png_structp, png_const_charp) {}

void ReadFromMemory(png_structp png, png_bytep out, png_size_t length) {
    auto* s = static_cast<Source*>(png_get_io_ptr(png));
    if (length > s->data.size() - s->pos) throw PictureError("PNG file is truncated");
    std::memcpy(out, s->data.data() + s->pos, length);
    s->pos += length;
}

}  // namespace

struct PngReader::State {
    png_structp png = nullptr;
    png_infop info = nullptr;
    Source source;
    bool interlaced = false;
    int nextRow = 0;
    std::vector<std::uint8_t> rgba;  // one row, or the whole picture when interlaced
    ~State() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

PngReader::PngReader(ByteSpan data) : state_(std::make_unique<State>()) {
    if (data.size() < 8 || png_sig_cmp(data.data(), 0, 8) != 0)
        throw PictureError("not a PNG file");
    // IHDR must come first. libpng would skip an ignored chunk before it (see
    // below) and decode a file whose size GetImageSize cannot read.
    if (data.size() < 16 || std::memcmp(data.data() + 12, "IHDR", 4) != 0)
        throw PictureError("PNG file does not start with its header");
    State& s = *state_;
    s.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, ThrowError, IgnoreWarning);
    if (!s.png) throw PictureError("PNG: out of memory");
    s.info = png_create_info_struct(s.png);
    if (!s.info) throw PictureError("PNG: out of memory");
    s.source = {data, 0};
    png_set_read_fn(s.png, &s.source, ReadFromMemory);
    // Ancillary chunks (text, compressed metadata) may not grow without bound.
    png_set_chunk_malloc_max(s.png, 16 << 20);
    // libpng allocates and clears a text or palette-suggestion chunk at its
    // declared length before reading it, whatever the limit above says, so a
    // hundred bytes claiming a 1.6 GB tEXt cost that much memory. Only the
    // critical chunks, tRNS and the colour profile matter to us; the rest is
    // skipped, which reads (and here fails on) the data instead of allocating.
    png_set_keep_unknown_chunks(s.png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    static const png_byte kProfile[] = "iCCP";
    png_set_keep_unknown_chunks(s.png, PNG_HANDLE_CHUNK_AS_DEFAULT, kProfile, 1);
    png_set_user_limits(s.png, 0x7fffffff, 0x7fffffff);
    png_read_info(s.png, s.info);

    const png_uint_32 w = png_get_image_width(s.png, s.info);
    const png_uint_32 h = png_get_image_height(s.png, s.info);
    const int depth = png_get_bit_depth(s.png, s.info);
    const unsigned channels = png_get_channels(s.png, s.info);
    if (!WithinDecodeLimits(w, h, std::max(4u, channels * unsigned(depth > 8 ? 2 : 1))))
        throw PictureError("PNG picture is too large");
    width_ = int(w), height_ = int(h);

    png_charp name = nullptr;
    int compression = 0;
    png_bytep profile = nullptr;
    png_uint_32 profileLength = 0;
    if (png_get_iCCP(s.png, s.info, &name, &compression, &profile, &profileLength) && profile)
        icc_.assign(profile, profile + profileLength);

    png_set_expand(s.png);
    png_set_strip_16(s.png);
    png_set_gray_to_rgb(s.png);
    png_set_add_alpha(s.png, 0xFF, PNG_FILLER_AFTER);
    s.interlaced = png_set_interlace_handling(s.png) > 1;
    png_read_update_info(s.png, s.info);
    if (png_get_rowbytes(s.png, s.info) != std::size_t(w) * 4)
        throw PictureError("PNG: unexpected row layout");

    const std::size_t rowBytes = std::size_t(w) * 4;
    if (!s.interlaced) {
        s.rgba.resize(rowBytes);
        return;
    }
    // Interlaced passes each cover the whole picture; they need it all at once.
    s.rgba.resize(rowBytes * h);
    std::vector<png_bytep> rows(h);
    for (png_uint_32 y = 0; y < h; ++y) rows[y] = s.rgba.data() + y * rowBytes;
    png_read_image(s.png, rows.data());
}

PngReader::~PngReader() = default;

void PngReader::readRows(std::uint8_t* out, std::size_t stride, int count) {
    State& s = *state_;
    for (int i = 0; i < count; ++i, ++s.nextRow) {
        if (s.nextRow >= height_) throw PictureError("PNG rows exhausted");
        const std::uint8_t* rgba = s.rgba.data();
        if (s.interlaced) {
            rgba += std::size_t(s.nextRow) * width_ * 4;
        } else {
            png_read_row(s.png, s.rgba.data(), nullptr);
        }
        ComposeOverWhite(rgba, out + std::size_t(i) * stride, std::size_t(width_));
    }
}

DecodedPicture DecodePng(ByteSpan data) {
    PngReader reader(data);
    DecodedPicture picture;
    picture.iccProfile = reader.iccProfile();
    picture.bitmap = Bitmap(reader.width(), reader.height());
    reader.readRows(picture.bitmap.pixels.data(), picture.bitmap.stride(), reader.height());
    return picture;
}

}  // namespace lumetra
