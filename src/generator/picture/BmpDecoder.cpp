// Windows bitmaps: core and info headers up to version 5; 1, 4, 8, 16, 24 and
// 32 bits; RLE4 and RLE8; bit fields; bottom-up and top-down rows. Every read
// is bounds-checked against the file, and the size limits are checked before
// the pixels are allocated.

#include <algorithm>
#include <bit>
#include <cstring>

#include "generator/picture/AlphaBlend.h"
#include "generator/picture/DecodeLimits.h"
#include "generator/picture/Decoders.h"
#include "generator/picture/PictureError.h"

namespace lumetra {

namespace {

enum Compression : std::uint32_t {
    kRgb = 0,
    kRle8 = 1,
    kRle4 = 2,
    kBitFields = 3,
    kAlphaBitFields = 6
};

struct Cursor {
    ByteSpan data;
    std::size_t at(std::size_t offset, std::size_t length) const {
        if (offset > data.size() || length > data.size() - offset)
            throw PictureError("bitmap file is truncated");
        return offset;
    }
    std::uint32_t u8(std::size_t o) const { return data[at(o, 1)]; }
    std::uint32_t u16(std::size_t o) const {
        at(o, 2);
        return std::uint32_t(data[o]) | std::uint32_t(data[o + 1]) << 8;
    }
    std::uint32_t u32(std::size_t o) const { return u16(o) | u16(o + 2) << 16; }
};

struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint64_t max = 0;
    explicit Channel(std::uint32_t m = 0) : mask(m) {
        if (!mask) return;
        shift = std::countr_zero(mask);
        max = (std::uint64_t(mask) >> shift);
    }
    // The channel's value scaled to 0..255 (mask 0 reads as `absent`).
    std::uint8_t get(std::uint32_t pixel, std::uint8_t absent) const {
        if (!mask) return absent;
        const std::uint64_t v = (pixel & mask) >> shift;
        return std::uint8_t((v * 255 + max / 2) / max);
    }
};

struct Header {
    std::uint32_t pixelOffset = 0;
    std::uint32_t headerSize = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;  // negative: rows stored top-down
    unsigned bpp = 0;
    std::uint32_t compression = kRgb;
    std::uint32_t colorsUsed = 0;
    Channel red, green, blue, alpha;
    bool hasAlphaMask = false;
    std::vector<std::uint8_t> palette;  // RGB triples
};

Header ReadHeader(const Cursor& c) {
    if (c.data.size() < 26 || c.data[0] != 'B' || c.data[1] != 'M')
        throw PictureError("not a bitmap file");
    Header h;
    h.pixelOffset = c.u32(10);
    h.headerSize = c.u32(14);
    if (h.headerSize == 12) {
        h.width = c.u16(18);
        h.height = std::int16_t(c.u16(20));
        h.bpp = c.u16(24);
    } else if (h.headerSize >= 16 && h.headerSize <= 124) {
        h.width = std::int32_t(c.u32(18));
        h.height = std::int32_t(c.u32(22));
        h.bpp = c.u16(28);
        if (h.headerSize >= 20) h.compression = c.u32(30);
        if (h.headerSize >= 36) h.colorsUsed = c.u32(46);
    } else {
        throw PictureError("unknown bitmap header");
    }
    if (h.width <= 0 || h.height == 0) throw PictureError("bitmap has no pixels");
    const std::uint64_t rows = std::uint64_t(h.height < 0 ? -h.height : h.height);
    if (!WithinDecodeLimits(std::uint64_t(h.width), rows, 4))
        throw PictureError("bitmap is too large");

    const bool fields = h.compression == kBitFields || h.compression == kAlphaBitFields;
    std::size_t paletteAt = 14 + h.headerSize;
    if (fields) {
        // Masks sit inside headers from 52 bytes on, else right after the header.
        const std::size_t at = h.headerSize >= 52 ? 14 + 40 : paletteAt;
        const bool withAlpha = h.compression == kAlphaBitFields || h.headerSize >= 56;
        h.red = Channel(c.u32(at));
        h.green = Channel(c.u32(at + 4));
        h.blue = Channel(c.u32(at + 8));
        if (withAlpha) h.alpha = Channel(c.u32(at + 12));
        h.hasAlphaMask = h.alpha.mask != 0;
        if (h.headerSize < 52) paletteAt += withAlpha ? 16 : 12;
        if (h.bpp != 16 && h.bpp != 32) throw PictureError("bit fields need 16 or 32 bits");
    } else if (h.bpp == 16) {
        h.red = Channel(0x7C00), h.green = Channel(0x03E0), h.blue = Channel(0x001F);
    }
    if (h.compression != kRgb && !fields && h.compression != kRle8 && h.compression != kRle4)
        throw PictureError("unsupported bitmap compression");
    if ((h.compression == kRle8 && h.bpp != 8) || (h.compression == kRle4 && h.bpp != 4))
        throw PictureError("bitmap compression does not match its depth");
    if (h.bpp != 1 && h.bpp != 4 && h.bpp != 8 && h.bpp != 16 && h.bpp != 24 && h.bpp != 32)
        throw PictureError("unsupported bitmap depth");

    if (h.bpp <= 8) {
        const std::size_t entry = h.headerSize == 12 ? 3 : 4;
        std::size_t count = h.colorsUsed ? h.colorsUsed : (std::size_t(1) << h.bpp);
        count = std::min<std::size_t>(count, 256);
        // Some writers claim more colours than they store before the pixels.
        if (h.pixelOffset > paletteAt)
            count = std::min<std::size_t>(count, (h.pixelOffset - paletteAt) / entry);
        h.palette.assign(256 * 3, 0);
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t o = c.at(paletteAt + i * entry, 3);
            h.palette[i * 3 + 0] = c.data[o + 2];
            h.palette[i * 3 + 1] = c.data[o + 1];
            h.palette[i * 3 + 2] = c.data[o + 0];
        }
    }
    return h;
}

// The fourth byte of plain 32-bit rows is meant to be unused; many writers
// leave it 0. It counts as alpha only when some pixel sets it.
bool PlainRowsCarryAlpha(const Cursor& c, const Header& h, std::size_t stride, std::size_t rows) {
    if (h.bpp != 32 || h.compression != kRgb) return false;
    for (std::size_t r = 0; r < rows; ++r) {
        const std::uint8_t* in = c.data.data() + h.pixelOffset + r * stride;
        for (std::size_t x = 0; x < std::size_t(h.width); ++x)
            if (in[x * 4 + 3] != 0) return true;
    }
    return false;
}

// Uncompressed rows straight into the RGB picture, transparency over white.
void ReadPlain(const Cursor& c, const Header& h, Bitmap& picture) {
    const std::size_t w = std::size_t(h.width);
    const std::size_t rows = std::size_t(h.height < 0 ? -h.height : h.height);
    const std::size_t stride = ((w * h.bpp + 31) / 32) * 4;
    c.at(h.pixelOffset, stride * (rows - 1) + (w * h.bpp + 7) / 8);
    const bool alpha32 = PlainRowsCarryAlpha(c, h, stride, rows);
    for (std::size_t r = 0; r < rows; ++r) {
        const std::uint8_t* in = c.data.data() + h.pixelOffset + r * stride;
        const std::size_t y = h.height < 0 ? r : rows - 1 - r;
        std::uint8_t* out = picture.row(int(y));
        for (std::size_t x = 0; x < w; ++x, out += 3) {
            if (h.bpp <= 8) {
                const std::size_t bit = x * h.bpp;
                const unsigned byte = in[bit / 8];
                const unsigned index = (byte >> (8 - h.bpp - bit % 8)) & ((1u << h.bpp) - 1);
                std::memcpy(out, &h.palette[index * 3], 3);
            } else if (h.bpp == 24) {
                out[0] = in[x * 3 + 2], out[1] = in[x * 3 + 1], out[2] = in[x * 3];
            } else if (h.bpp == 32 && h.compression == kRgb) {
                const std::uint8_t px[4] = {in[x * 4 + 2], in[x * 4 + 1], in[x * 4],
                                            alpha32 ? in[x * 4 + 3] : std::uint8_t(255)};
                ComposeOverWhite(px, out, 1);
            } else {
                const std::uint32_t p = h.bpp == 16
                                            ? std::uint32_t(in[x * 2] | in[x * 2 + 1] << 8)
                                            : c.u32(std::size_t(in - c.data.data()) + x * 4);
                const std::uint8_t px[4] = {h.red.get(p, 0), h.green.get(p, 0), h.blue.get(p, 0),
                                            h.alpha.get(p, 255)};
                ComposeOverWhite(px, out, 1);
            }
        }
    }
}

// RLE4/RLE8: pixels the stream skips stay transparent, so white.
void ReadRle(const Cursor& c, const Header& h, Bitmap& picture) {
    if (h.height < 0) throw PictureError("compressed bitmaps are stored bottom-up");
    const std::int64_t w = h.width, rows = h.height;
    std::fill(picture.pixels.begin(), picture.pixels.end(), 0xFF);
    auto put = [&](std::int64_t x, std::int64_t row, unsigned index) {
        if (x < 0 || x >= w || row < 0 || row >= rows) return;
        std::uint8_t* out = picture.row(int(rows - 1 - row)) + std::size_t(x) * 3;
        std::memcpy(out, &h.palette[(index & 0xFF) * 3], 3);
    };
    const bool four = h.compression == kRle4;
    std::size_t pos = h.pixelOffset;
    std::int64_t x = 0, row = 0;
    while (row < rows) {
        const unsigned count = c.u8(pos), value = c.u8(pos + 1);
        pos += 2;
        if (count > 0) {
            for (unsigned i = 0; i < count; ++i, ++x)
                put(x, row, four ? (i % 2 ? value & 0xF : value >> 4) : value);
        } else if (value == 0) {
            x = 0, ++row;
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            x += c.u8(pos), row += c.u8(pos + 1);
            pos += 2;
        } else {
            const std::size_t bytes = four ? (value + 1) / 2 : value;
            c.at(pos, bytes);
            for (unsigned i = 0; i < value; ++i, ++x) {
                const unsigned b = c.data[pos + (four ? i / 2 : i)];
                put(x, row, four ? (i % 2 ? b & 0xF : b >> 4) : b);
            }
            pos += (bytes + 1) & ~std::size_t(1);
        }
    }
}

}  // namespace

DecodedPicture DecodeBmp(ByteSpan data) {
    const Cursor c{data};
    const Header h = ReadHeader(c);
    const std::size_t rows = std::size_t(h.height < 0 ? -h.height : h.height);
    DecodedPicture picture;
    picture.bitmap = Bitmap(int(h.width), int(rows));
    if (h.compression == kRle4 || h.compression == kRle8)
        ReadRle(c, h, picture.bitmap);
    else
        ReadPlain(c, h, picture.bitmap);
    return picture;
}

PictureHeader ReadBmpHeader(ByteSpan data) {
    const Header h = ReadHeader(Cursor{data});
    return {int(h.width), int(h.height < 0 ? -h.height : h.height), 1};
}

}  // namespace lumetra
