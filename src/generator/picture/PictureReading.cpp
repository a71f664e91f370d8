#include "generator/picture/PictureReading.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "app/StopRequest.h"
#include "generator/picture/ColorProfile.h"
#include "generator/picture/DecodeLimits.h"
#include "generator/picture/FileBytes.h"
#include "generator/picture/JpegReader.h"
#include "generator/picture/JpegWriter.h"
#include "generator/picture/MemoryBudget.h"
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
            ThrowIfStopRequested();  // a large picture takes seconds; a stop need not wait
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

namespace {

constexpr std::uint64_t kStreamedRows = 64;

std::uint64_t Pixels(std::int64_t w, std::int64_t h) {
    return std::uint64_t(std::max<std::int64_t>(w, 0)) *
           std::uint64_t(std::max<std::int64_t>(h, 0));
}

// What resampling and encoding into tw x th hold: a band of rows and the
// compressed file, about a byte a pixel.
std::uint64_t OutputFootprint(int tw, int th) {
    return Pixels(tw, th) + Pixels(tw, kStreamedRows) * 4;
}

void CheckOutputSize(int tw, int th) {
    if (tw < 1 || th < 1 || tw > kMaxJpegSide || th > kMaxJpegSide ||
        Pixels(tw, th) > gPixelLimit.load(std::memory_order_relaxed))
        throw PictureError("the show's picture would be too large");
}

// Decodes the whole picture and streams it upright through the resampler.
void ConvertWhole(PictureFormat format, ByteSpan data, int tw, int th, const RowWriter& write) {
    DecodedPicture picture = DecodePicture(format, data);
    if (auto converter = SrgbConverter::For(picture.iccProfile))
        converter->convert(picture.bitmap.pixels.data(),
                           std::size_t(picture.bitmap.width) * picture.bitmap.height);
    UprightRows rows(picture.bitmap, picture.orientation);
    Resample(
        rows.width(), rows.height(), tw, th,
        [&](std::uint8_t* out, std::size_t stride, int count) {
            ThrowIfStopRequested();
            rows.readRows(out, stride, count);
        },
        write);
}

// Bytes a decoder of a whole picture of w x h holds at its peak, per format.
std::uint64_t WholeDecodeFootprint(PictureFormat format, const PictureHeader& h) {
    const unsigned bytesPerPixel = format == PictureFormat::Tiff ? 4 : 3;
    return Pixels(h.width, h.height) * bytesPerPixel;
}

}  // namespace

std::vector<std::uint8_t> ConvertPictureToJpeg(PictureFormat format, ByteSpan data, int tw, int th,
                                               MemoryBudget* budget) {
    CheckOutputSize(tw, th);
    MemoryBudget::Reservation reservation;
    const auto reserve = [&](std::uint64_t decoding) {
        // The file's bytes count too: uncompressed bitmaps are as large as their pixels.
        if (budget) reservation = budget->reserve(data.size() + decoding + OutputFootprint(tw, th));
    };
    std::unique_ptr<JpegWriter> writer;
    const RowWriter write = [&](const std::uint8_t* row) { writer->writeRow(row); };

    // Pictures that need no turning stream from the decoder through the
    // resampler into the encoder, a few rows at a time.
    if (format == PictureFormat::Jpeg) {
        JpegReader reader(data);
        const std::uint64_t stored = Pixels(reader.storedWidth(), reader.storedHeight());
        // A progressive file keeps all its coefficients, up to 6 bytes a pixel.
        const std::uint64_t coefficients = reader.progressive() ? stored * 6 : 0;
        if (reader.orientation() == 1) {
            reserve(coefficients + Pixels(reader.storedWidth(), kStreamedRows) * 3);
            writer = std::make_unique<JpegWriter>(tw, th);
            reader.start(1);
            Stream(reader, reader.iccProfile(), tw, th, write);
            return writer->finish();
        }
        reserve(coefficients + stored * 3);
    } else if (format == PictureFormat::Png) {
        const PictureHeader h = ReadPngHeader(data);
        // Interlaced files are decoded whole (four bytes a pixel), the others stream.
        const bool interlaced = data[28] != 0;
        reserve(interlaced ? Pixels(h.width, h.height) * 4 : Pixels(h.width, kStreamedRows) * 4);
        writer = std::make_unique<JpegWriter>(tw, th);
        PngReader reader(data);
        Stream(reader, reader.iccProfile(), tw, th, write);
        return writer->finish();
    } else {
        reserve(WholeDecodeFootprint(format, StoredHeader(format, data)));
    }
    // Others are decoded whole; turned ones are read upright from the stored pixels.
    writer = std::make_unique<JpegWriter>(tw, th);
    ConvertWhole(format, data, tw, th, write);
    return writer->finish();
}

std::vector<std::uint8_t> ConvertToJpeg(const std::string& file, int tw, int th,
                                        MemoryBudget* budget) {
    const PictureFormat format = SupportedFormat(file);
    const FileBytes content(file);
    return ConvertPictureToJpeg(format, content.bytes(), tw, th, budget);
}

}  // namespace lumetra
