#include "PictureFixtures.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include <gif_lib.h>
#include <jpeglib.h>
#include <lcms2.h>
#include <png.h>
#include <tiffio.h>
#include <unistd.h>

#include "generator/picture/JpegErrors.h"

namespace lumetra::test {

Bitmap PatternBitmap(int width, int height, unsigned seed) {
    Bitmap b(width, height);
    unsigned state = seed * 2654435761u + 1;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            state = state * 1103515245u + 12345u;
            std::uint8_t* p = b.row(y) + x * 3;
            p[0] = std::uint8_t(x * 255 / std::max(1, width - 1));
            p[1] = std::uint8_t(y * 255 / std::max(1, height - 1));
            p[2] = std::uint8_t(state >> 24);
        }
    return b;
}

Bitmap QuadrantBitmap(int width, int height) {
    Bitmap b(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool right = x >= width / 2, bottom = y >= height / 2;
            std::uint8_t* p = b.row(y) + x * 3;
            p[0] = (!right && !bottom) || (right && bottom) ? 255 : 0;
            p[1] = (right && !bottom) || (right && bottom) ? 255 : 0;
            p[2] = (!right && bottom) || (right && bottom) ? 255 : 0;
        }
    return b;
}

namespace {

// A little-endian EXIF block holding only the orientation in IFD0.
Bytes ExifWithOrientation(int orientation) {
    Bytes b = {'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42, 0, 8, 0, 0, 0};
    const std::uint8_t ifd[] = {1,
                                0,  // one entry
                                0x12,
                                0x01,
                                3,
                                0,
                                1,
                                0,
                                0,
                                0,  // orientation, SHORT, 1
                                std::uint8_t(orientation),
                                0,
                                0,
                                0,
                                0,
                                0,
                                0,
                                0};  // value, next IFD
    b.insert(b.end(), std::begin(ifd), std::end(ifd));
    return b;
}

}  // namespace

Bytes MakeJpeg(const Bitmap& bitmap, const JpegOptions& options) {
    jpeg_compress_struct c{};
    JpegErrorManager errors;
    c.err = InstallJpegErrors(errors);
    jpeg_create_compress(&c);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &buffer, &size);
    c.image_width = JDIMENSION(bitmap.width);
    c.image_height = JDIMENSION(bitmap.height);
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, options.quality, TRUE);
    if (options.progressive) jpeg_simple_progression(&c);
    jpeg_start_compress(&c, TRUE);
    if (options.orientation) {
        const Bytes exif = ExifWithOrientation(options.orientation);
        jpeg_write_marker(&c, JPEG_APP0 + 1, exif.data(), unsigned(exif.size()));
    }
    if (!options.icc.empty())
        jpeg_write_icc_profile(&c, options.icc.data(), unsigned(options.icc.size()));
    for (int y = 0; y < bitmap.height; ++y) {
        JSAMPROW row = const_cast<JSAMPROW>(bitmap.row(y));
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    Bytes out(buffer, buffer + size);
    jpeg_destroy_compress(&c);
    std::free(buffer);
    return out;
}

Bytes MakeBmp24(const Bitmap& bitmap) {
    const std::size_t rowBytes = (std::size_t(bitmap.width) * 3 + 3) / 4 * 4;
    const std::uint32_t offset = 54;
    const auto size = std::uint32_t(rowBytes * std::size_t(bitmap.height));
    Bytes b = {'B', 'M'};
    const auto put = [&](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) b.push_back(std::uint8_t(v >> (8 * i)));
    };
    put(offset + size, 4), put(0, 4), put(offset, 4);
    put(40, 4), put(std::uint32_t(bitmap.width), 4), put(std::uint32_t(bitmap.height), 4);
    put(1, 2), put(24, 2), put(0, 4), put(size, 4), put(2835, 4), put(2835, 4), put(0, 4),
        put(0, 4);
    for (int y = bitmap.height - 1; y >= 0; --y) {
        const std::uint8_t* row = bitmap.row(y);
        for (int x = 0; x < bitmap.width; ++x)
            b.insert(b.end(), {row[3 * x + 2], row[3 * x + 1], row[3 * x]});
        b.resize(b.size() + rowBytes - std::size_t(bitmap.width) * 3, 0);
    }
    return b;
}

Bytes MakePng(int width, int height, const Bytes& rgba) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(width);
    image.height = png_uint_32(height);
    image.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&image, nullptr, &size, 0, rgba.data(), 0, nullptr);
    Bytes out(size);
    if (!png_image_write_to_memory(&image, out.data(), &size, 0, rgba.data(), 0, nullptr))
        throw std::runtime_error("PNG writing failed");
    out.resize(size);
    return out;
}

Bytes MakePngWithProfile(const Bitmap& bitmap, const Bytes& icc) {
    png_structp png = png_create_write_struct(
        PNG_LIBPNG_VER_STRING, nullptr,
        [](png_structp, png_const_charp message) { throw std::runtime_error(message); }, nullptr);
    png_infop info = png_create_info_struct(png);
    Bytes out;
    png_set_write_fn(
        png, &out,
        [](png_structp p, png_bytep data, png_size_t length) {
            auto* bytes = static_cast<Bytes*>(png_get_io_ptr(p));
            bytes->insert(bytes->end(), data, data + length);
        },
        nullptr);
    png_set_IHDR(png, info, png_uint_32(bitmap.width), png_uint_32(bitmap.height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_iCCP(png, info, "test", PNG_COMPRESSION_TYPE_BASE, icc.data(), png_uint_32(icc.size()));
    png_write_info(png, info);
    for (int y = 0; y < bitmap.height; ++y)
        png_write_row(png, const_cast<png_bytep>(bitmap.row(y)));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

Bytes MakePngRgb(const Bitmap& bitmap) {
    Bytes rgba(std::size_t(bitmap.width) * bitmap.height * 4);
    for (std::size_t i = 0; i < std::size_t(bitmap.width) * bitmap.height; ++i) {
        std::memcpy(&rgba[i * 4], &bitmap.pixels[i * 3], 3);
        rgba[i * 4 + 3] = 255;
    }
    return MakePng(bitmap.width, bitmap.height, rgba);
}

Bytes MakeTiff(const Bitmap& bitmap, const TiffOptions& options) {
    char name[] = "/tmp/lumetra-tiff-XXXXXX";
    const int fd = mkstemp(name);
    if (fd < 0) throw std::runtime_error("no temporary file");
    close(fd);
    TIFF* t = TIFFOpen(name, "w");
    const int channels = options.alpha ? 4 : 3;
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, std::uint32_t(bitmap.width));
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, std::uint32_t(bitmap.height));
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, channels);
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(t, TIFFTAG_ORIENTATION, std::uint16_t(options.orientation));
    TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, std::uint32_t(bitmap.height));
    if (options.alpha) {
        std::uint16_t extra = EXTRASAMPLE_UNASSALPHA;
        TIFFSetField(t, TIFFTAG_EXTRASAMPLES, 1, &extra);
    }
    if (!options.icc.empty())
        TIFFSetField(t, TIFFTAG_ICCPROFILE, std::uint32_t(options.icc.size()), options.icc.data());
    Bytes row(std::size_t(bitmap.width) * channels);
    for (int y = 0; y < bitmap.height; ++y) {
        for (int x = 0; x < bitmap.width; ++x) {
            std::memcpy(&row[std::size_t(x) * channels], bitmap.row(y) + x * 3, 3);
            if (options.alpha) row[std::size_t(x) * 4 + 3] = 128;
        }
        TIFFWriteScanline(t, row.data(), std::uint32_t(y), 0);
    }
    TIFFClose(t);
    Bytes out = ReadBytes(name);
    std::remove(name);
    return out;
}

void WriteFlatTiff(const std::filesystem::path& path, int width, int height) {
    TIFF* t = TIFFOpen(path.c_str(), "w");
    if (!t) throw std::runtime_error("cannot write " + path.string());
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, std::uint32_t(width));
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, std::uint32_t(height));
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_PACKBITS);
    TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, std::uint32_t(256));
    Bytes row(std::size_t(width) * 3, 0xFF);
    for (int y = 0; y < height; ++y) TIFFWriteScanline(t, row.data(), std::uint32_t(y), 0);
    TIFFClose(t);
}

namespace {

int WriteToVector(GifFileType* gif, const GifByteType* data, int length) {
    auto* out = static_cast<Bytes*>(gif->UserData);
    out->insert(out->end(), data, data + length);
    return length;
}

}  // namespace

Bytes MakeGif(int width, int height, const Bytes& indices, const Bytes& palette, int transparent) {
    Bytes out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, WriteToVector, &error);
    const int colors = int(palette.size() / 3);
    int mapSize = 2;
    while (mapSize < colors) mapSize *= 2;
    std::vector<GifColorType> entries(std::size_t(mapSize), GifColorType{0, 0, 0});
    for (int i = 0; i < colors; ++i)
        entries[std::size_t(i)] = {palette[std::size_t(i) * 3], palette[std::size_t(i) * 3 + 1],
                                   palette[std::size_t(i) * 3 + 2]};
    ColorMapObject* map = GifMakeMapObject(mapSize, entries.data());
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, width, height, 8, 0, map);
    if (transparent >= 0) {
        GraphicsControlBlock gcb{};
        gcb.TransparentColor = transparent;
        GifByteType ext[4];
        const size_t n = EGifGCBToExtension(&gcb, ext);
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(n), ext);
    }
    EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr);
    for (int y = 0; y < height; ++y)
        EGifPutLine(gif, const_cast<GifPixelType*>(&indices[std::size_t(y) * width]), width);
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return out;
}

namespace {

Bytes SaveProfile(cmsHPROFILE profile) {
    cmsUInt32Number size = 0;
    cmsSaveProfileToMem(profile, nullptr, &size);
    Bytes out(size);
    cmsSaveProfileToMem(profile, out.data(), &size);
    cmsCloseProfile(profile);
    return out;
}

}  // namespace

Bytes WideGamutProfile() {
    const cmsCIExyY white = {0.3127, 0.3290, 1.0};
    const cmsCIExyYTRIPLE primaries = {{0.64, 0.33, 1.0}, {0.21, 0.71, 1.0}, {0.15, 0.06, 1.0}};
    cmsToneCurve* gamma = cmsBuildGamma(nullptr, 2.2);
    cmsToneCurve* curves[3] = {gamma, gamma, gamma};
    cmsHPROFILE p = cmsCreateRGBProfile(&white, &primaries, curves);
    cmsFreeToneCurve(gamma);
    return SaveProfile(p);
}

Bytes SrgbProfile() {
    return SaveProfile(cmsCreate_sRGBProfile());
}

void WriteBytes(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

Bytes ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace lumetra::test
