// PNG through libpng's full interface (the simplified one hides the ICC
// profile). libpng's error callback throws; the guard below releases the
// structures however the decoding ends.

#include <cstring>

#include <png.h>

#include "generator/picture/AlphaBlend.h"
#include "generator/picture/DecodeLimits.h"
#include "generator/picture/Decoders.h"
#include "generator/picture/PictureError.h"

namespace lumetra {

namespace {

struct Reader {
    ByteSpan data;
    std::size_t pos = 0;
};

[[noreturn]] void ThrowError(png_structp, png_const_charp message) {
    throw PictureError(message ? message : "PNG error");
}
void IgnoreWarning(png_structp, png_const_charp) {}

void ReadFromMemory(png_structp png, png_bytep out, png_size_t length) {
    auto* r = static_cast<Reader*>(png_get_io_ptr(png));
    if (length > r->data.size() - r->pos) throw PictureError("PNG file is truncated");
    std::memcpy(out, r->data.data() + r->pos, length);
    r->pos += length;
}

struct PngGuard {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~PngGuard() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

}  // namespace

DecodedPicture DecodePng(ByteSpan data) {
    if (data.size() < 8 || png_sig_cmp(data.data(), 0, 8) != 0)
        throw PictureError("not a PNG file");
    PngGuard g;
    g.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, ThrowError, IgnoreWarning);
    if (!g.png) throw PictureError("PNG: out of memory");
    g.info = png_create_info_struct(g.png);
    if (!g.info) throw PictureError("PNG: out of memory");
    Reader reader{data};
    png_set_read_fn(g.png, &reader, ReadFromMemory);
    // Ancillary chunks (text, compressed metadata) may not grow without bound.
    png_set_chunk_malloc_max(g.png, 16 << 20);
    png_set_user_limits(g.png, 0x7fffffff, 0x7fffffff);
    png_read_info(g.png, g.info);

    const png_uint_32 w = png_get_image_width(g.png, g.info);
    const png_uint_32 h = png_get_image_height(g.png, g.info);
    const int depth = png_get_bit_depth(g.png, g.info);
    const unsigned channels = png_get_channels(g.png, g.info);
    if (!WithinDecodeLimits(w, h, std::max(4u, channels * unsigned(depth > 8 ? 2 : 1))))
        throw PictureError("PNG picture is too large");

    DecodedPicture picture;
    png_charp name = nullptr;
    int compression = 0;
    png_bytep profile = nullptr;
    png_uint_32 profileLength = 0;
    if (png_get_iCCP(g.png, g.info, &name, &compression, &profile, &profileLength) && profile)
        picture.iccProfile.assign(profile, profile + profileLength);

    png_set_expand(g.png);
    png_set_strip_16(g.png);
    png_set_gray_to_rgb(g.png);
    png_set_add_alpha(g.png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(g.png);
    png_read_update_info(g.png, g.info);
    if (png_get_rowbytes(g.png, g.info) != std::size_t(w) * 4)
        throw PictureError("PNG: unexpected row layout");

    std::vector<std::uint8_t> rgba(std::size_t(w) * h * 4);
    std::vector<png_bytep> rows(h);
    for (png_uint_32 y = 0; y < h; ++y) rows[y] = rgba.data() + std::size_t(y) * w * 4;
    png_read_image(g.png, rows.data());

    picture.bitmap = Bitmap(int(w), int(h));
    ComposeOverWhite(rgba.data(), picture.bitmap.pixels.data(), std::size_t(w) * h);
    return picture;
}

}  // namespace lumetra
