// TIFF through libtiff's RGBA interface, which covers every photometric
// kind, bit depth and compression the library knows. The rows come back in
// stored order; the orientation is applied later like a JPEG's.

#include <algorithm>
#include <cstdarg>
#include <cstring>
#include <memory>

#include <tiffio.h>

#include "generator/picture/AlphaBlend.h"
#include "generator/picture/DecodeLimits.h"
#include "generator/picture/Decoders.h"
#include "generator/picture/PictureError.h"

namespace lumetra {

namespace {

struct Source {
    ByteSpan data;
    toff_t pos = 0;
};

tmsize_t ReadProc(thandle_t h, void* out, tmsize_t size) {
    auto* s = static_cast<Source*>(h);
    if (size <= 0 || s->pos >= s->data.size()) return 0;
    const auto n = std::min<toff_t>(toff_t(size), s->data.size() - s->pos);
    std::memcpy(out, s->data.data() + s->pos, n);
    s->pos += n;
    return tmsize_t(n);
}
tmsize_t WriteProc(thandle_t, void*, tmsize_t) {
    return 0;
}
toff_t SeekProc(thandle_t h, toff_t offset, int whence) {
    auto* s = static_cast<Source*>(h);
    toff_t base = whence == SEEK_CUR ? s->pos : whence == SEEK_END ? s->data.size() : 0;
    const auto target = base + offset;  // wraps for negative offsets, caught below
    if (target > s->data.size()) return toff_t(-1);
    s->pos = target;
    return s->pos;
}
int CloseProc(thandle_t) {
    return 0;
}
toff_t SizeProc(thandle_t h) {
    return static_cast<Source*>(h)->data.size();
}
int MapProc(thandle_t, void**, toff_t*) {
    return 0;
}
void UnmapProc(thandle_t, void*, toff_t) {}
int Quiet(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

struct TiffCloser {
    void operator()(TIFF* t) const { TIFFClose(t); }
};
using TiffPtr = std::unique_ptr<TIFF, TiffCloser>;

TiffPtr OpenTiff(Source& source) {
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (!options) throw PictureError("TIFF: out of memory");
    TIFFOpenOptionsSetErrorHandlerExtR(options, Quiet, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options, Quiet, nullptr);
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, tmsize_t(kMaxDecodedBytes));
    TIFF* tif = TIFFClientOpenExt("picture", "rm", &source, ReadProc, WriteProc, SeekProc,
                                  CloseProc, SizeProc, MapProc, UnmapProc, options);
    TIFFOpenOptionsFree(options);
    if (!tif) throw PictureError("not a TIFF file");
    return TiffPtr(tif);
}

int Orientation(TIFF* tif) {
    std::uint16_t orientation = ORIENTATION_TOPLEFT;
    TIFFGetFieldDefaulted(tif, TIFFTAG_ORIENTATION, &orientation);
    return orientation >= 1 && orientation <= 8 ? orientation : 1;
}

}  // namespace

DecodedPicture DecodeTiff(ByteSpan data) {
    Source source{data};
    TiffPtr tif = OpenTiff(source);
    char message[1024] = {};
    if (!TIFFRGBAImageOK(tif.get(), message)) throw PictureError(message);
    TIFFRGBAImage image{};
    if (!TIFFRGBAImageBegin(&image, tif.get(), 0, message)) throw PictureError(message);
    struct End {
        TIFFRGBAImage* image;
        ~End() { TIFFRGBAImageEnd(image); }
    } end{&image};

    const std::uint32_t w = image.width, h = image.height;
    if (!WithinDecodeLimits(w, h, 4)) throw PictureError("TIFF picture is too large");
    DecodedPicture picture;
    picture.orientation = Orientation(tif.get());
    // Ask for the stored order so that all eight orientations are handled in one place.
    image.req_orientation = image.orientation;
    // The RGBA raster becomes the RGB picture in place, so the picture never
    // exists twice.
    std::vector<std::uint8_t> pixels(std::size_t(w) * h * 4);
    if (!TIFFRGBAImageGet(&image, reinterpret_cast<std::uint32_t*>(pixels.data()), w, h))
        throw PictureError("TIFF data is damaged");

    std::uint32_t iccLength = 0;
    void* icc = nullptr;
    if (TIFFGetField(tif.get(), TIFFTAG_ICCPROFILE, &iccLength, &icc) && icc && iccLength) {
        const auto* p = static_cast<const std::uint8_t*>(icc);
        picture.iccProfile.assign(p, p + iccLength);
    }

    // Alpha in the raster is premultiplied: a pixel over white gains 255 - alpha.
    // Each RGB pixel lands at or before the RGBA pixel it comes from.
    const std::size_t count = std::size_t(w) * h;
    for (std::size_t i = 0; i < count; ++i) {
        std::uint32_t p;
        std::memcpy(&p, pixels.data() + i * 4, 4);
        const std::uint8_t px[4] = {std::uint8_t(TIFFGetR(p)), std::uint8_t(TIFFGetG(p)),
                                    std::uint8_t(TIFFGetB(p)), std::uint8_t(TIFFGetA(p))};
        ComposePremultipliedOverWhite(px, pixels.data() + i * 3, 1);
    }
    pixels.resize(count * 3);
    picture.bitmap.width = int(w);
    picture.bitmap.height = int(h);
    picture.bitmap.pixels = std::move(pixels);
    return picture;
}

PictureHeader ReadTiffHeader(ByteSpan data) {
    Source source{data};
    TiffPtr tif = OpenTiff(source);
    std::uint32_t w = 0, h = 0;
    TIFFGetField(tif.get(), TIFFTAG_IMAGEWIDTH, &w);
    TIFFGetField(tif.get(), TIFFTAG_IMAGELENGTH, &h);
    if (w == 0 || h == 0 || w > 0x7fffffff || h > 0x7fffffff)
        throw PictureError("TIFF header is damaged");
    return {int(w), int(h), Orientation(tif.get())};
}

}  // namespace lumetra
