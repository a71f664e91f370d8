#include "generator/picture/PictureReading.h"

#include <cstring>

#include "generator/picture/ColorProfile.h"
#include "generator/picture/DecodeLimits.h"
#include "generator/picture/FileBytes.h"
#include "generator/picture/JpegReader.h"
#include "generator/picture/JpegWriter.h"
#include "generator/picture/Orientation.h"
#include "generator/picture/PictureError.h"
#include "generator/picture/PngReader.h"
#include "generator/picture/Resampler.h"

namespace lumetra {

namespace {

PictureFormat SupportedFormat(const std::string& file) {
    const PictureFormat format = FormatOfPath(file);
    if (format == PictureFormat::Unsupported) throw PictureError("unsupported picture type");
    return format;
}

PictureHeader ReadPngHeader(ByteSpan data) {
    static constexpr std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (data.size() < 33 || std::memcmp(data.data(), kSignature, 8) != 0 ||
        std::memcmp(data.data() + 12, "IHDR", 4) != 0)
        throw PictureError("not a PNG file");
    auto u32 = [&](std::size_t o) {
        return std::uint32_t(data[o]) << 24 | std::uint32_t(data[o + 1]) << 16 |
               std::uint32_t(data[o + 2]) << 8 | data[o + 3];
    };
    const std::uint32_t w = u32(16), h = u32(20);
    const unsigned depth = data[24], colorType = data[25];
    const unsigned channels = colorType == 2 ? 3 : colorType == 4 ? 2 : colorType == 6 ? 4 : 1;
    // The same limit the decoder applies, so both give the same answer.
    if (!WithinDecodeLimits(w, h, std::max(4u, channels * (depth > 8 ? 2 : 1))))
        throw PictureError("PNG picture is too large");
    return {int(w), int(h), 1};
}

PictureHeader StoredHeader(PictureFormat format, ByteSpan data) {
    switch (format) {
        case PictureFormat::Jpeg: {
            const PictureHeader h = ReadJpegHeader(data);
            if (!WithinDecodeLimits(std::uint64_t(h.width), std::uint64_t(h.height), 3))
                throw PictureError("JPEG picture is too large");
            return h;
        }
        case PictureFormat::Png:
            return ReadPngHeader(data);
        case PictureFormat::Tiff: {
            const PictureHeader h = ReadTiffHeader(data);
            if (!WithinDecodeLimits(std::uint64_t(h.width), std::uint64_t(h.height), 4))
                throw PictureError("TIFF picture is too large");
            return h;
        }
        case PictureFormat::Gif:
            return ReadGifHeader(data);
        case PictureFormat::Bmp:
            return ReadBmpHeader(data);
        case PictureFormat::Unsupported:
            break;
    }
    throw PictureError("unsupported picture type");
}

// Streams rows of a reader (JpegReader, PngReader) through the colour
// correction and the resampler.
template <typename Reader>
void Stream(Reader& reader, const std::vector<std::uint8_t>& icc, int tw, int th,
            const RowWriter& write) {
    const auto converter = SrgbConverter::For(icc);
    const int width = reader.width();
    Resample(
        width, reader.height(), tw, th,
        [&](std::uint8_t* out, std::size_t stride, int count) {
            reader.readRows(out, stride, count);
            if (converter)
                for (int i = 0; i < count; ++i)
                    converter->convert(out + std::size_t(i) * stride, std::size_t(width));
        },
        write);
}

}  // namespace

Bitmap Finish(DecodedPicture picture) {
    if (auto converter = SrgbConverter::For(picture.iccProfile))
        converter->convert(picture.bitmap.pixels.data(),
                           std::size_t(picture.bitmap.width) * picture.bitmap.height);
    return Upright(std::move(picture.bitmap), picture.orientation);
}

Bitmap ReadPicture(const std::string& file, int scaleDenom) {
    const PictureFormat format = SupportedFormat(file);
    const FileBytes content(file);
    if (format == PictureFormat::Jpeg) return Finish(DecodeJpeg(content.bytes(), scaleDenom));
    return Finish(DecodePicture(format, content.bytes()));
}

PictureHeader ReadUprightSize(PictureFormat format, ByteSpan data) {
    PictureHeader h = StoredHeader(format, data);
    if (SwapsSides(h.orientation)) std::swap(h.width, h.height);
    return h;
}

std::vector<std::uint8_t> ConvertToJpeg(const std::string& file, int tw, int th) {
    const PictureFormat format = SupportedFormat(file);
    const FileBytes content(file);
    JpegWriter writer(tw, th);
    const RowWriter write = [&](const std::uint8_t* row) { writer.writeRow(row); };

    // Pictures that need no turning stream from the decoder through the
    // resampler into the encoder, a few rows at a time.
    if (format == PictureFormat::Jpeg) {
        JpegReader reader(content.bytes());
        if (reader.orientation() == 1) {
            reader.start(1);
            Stream(reader, reader.iccProfile(), tw, th, write);
            return writer.finish();
        }
    }
    if (format == PictureFormat::Png) {
        PngReader reader(content.bytes());
        Stream(reader, reader.iccProfile(), tw, th, write);
        return writer.finish();
    }
    // Others are decoded whole; turned ones are read upright from the stored pixels.
    DecodedPicture picture = DecodePicture(format, content.bytes());
    if (auto converter = SrgbConverter::For(picture.iccProfile))
        converter->convert(picture.bitmap.pixels.data(),
                           std::size_t(picture.bitmap.width) * picture.bitmap.height);
    UprightRows rows(picture.bitmap, picture.orientation);
    Resample(
        rows.width(), rows.height(), tw, th,
        [&](std::uint8_t* out, std::size_t stride, int count) {
            rows.readRows(out, stride, count);
        },
        write);
    return writer.finish();
}

}  // namespace lumetra
