// The first frame of a GIF, placed on the logical screen; pixels the frame
// leaves open or marks transparent are white.

#include <algorithm>
#include <cstring>
#include <utility>

#include <gif_lib.h>

#include "generator/picture/DecodeLimits.h"
#include "generator/picture/Decoders.h"
#include "generator/picture/PictureError.h"

namespace lumetra {

namespace {

struct Reader {
    ByteSpan data;
    std::size_t pos = 0;
};

int ReadFromMemory(GifFileType* gif, GifByteType* out, int length) {
    auto* r = static_cast<Reader*>(gif->UserData);
    if (length <= 0) return 0;
    const std::size_t n = std::min<std::size_t>(std::size_t(length), r->data.size() - r->pos);
    if (n == 0) return 0;
    std::memcpy(out, r->data.data() + r->pos, n);
    r->pos += n;
    return int(n);
}

struct GifGuard {
    GifFileType* gif = nullptr;
    GifGuard() = default;
    GifGuard(GifGuard&& other) noexcept : gif(std::exchange(other.gif, nullptr)) {}
    GifGuard& operator=(GifGuard&&) = delete;
    ~GifGuard() {
        int error = 0;
        if (gif) DGifCloseFile(gif, &error);
    }
};

void Check(int result) {
    if (result != GIF_OK) throw PictureError("GIF file is damaged");
}

// Reads the extensions before the first frame; returns its transparent colour or -1.
int ReadExtension(GifFileType* gif, int transparent) {
    int code = 0;
    GifByteType* ext = nullptr;
    Check(DGifGetExtension(gif, &code, &ext));
    if (code == GRAPHICS_EXT_FUNC_CODE && ext && ext[0] >= 4) {
        GraphicsControlBlock gcb{};
        if (DGifExtensionToGCB(ext[0], ext + 1, &gcb) == GIF_OK) transparent = gcb.TransparentColor;
    }
    while (ext) Check(DGifGetExtensionNext(gif, &ext));
    return transparent;
}

void DrawFrame(GifFileType* gif, int transparent, Bitmap& canvas) {
    const GifImageDesc& d = gif->Image;
    const ColorMapObject* map = d.ColorMap ? d.ColorMap : gif->SColorMap;
    if (!map || !map->Colors) throw PictureError("GIF frame has no colours");
    std::vector<GifPixelType> line(std::size_t(d.Width));
    static constexpr int kStart[] = {0, 4, 2, 1};
    static constexpr int kStep[] = {8, 8, 4, 2};
    const int passes = d.Interlace ? 4 : 1;
    for (int pass = 0; pass < passes; ++pass) {
        const int start = d.Interlace ? kStart[pass] : 0;
        const int step = d.Interlace ? kStep[pass] : 1;
        for (int y = start; y < d.Height; y += step) {
            Check(DGifGetLine(gif, line.data(), d.Width));
            std::uint8_t* out = canvas.row(d.Top + y) + std::size_t(d.Left) * 3;
            for (int x = 0; x < d.Width; ++x, out += 3) {
                const int index = line[std::size_t(x)];
                if (index == transparent || index >= map->ColorCount) continue;
                out[0] = map->Colors[index].Red;
                out[1] = map->Colors[index].Green;
                out[2] = map->Colors[index].Blue;
            }
        }
    }
}

}  // namespace

namespace {

struct FirstFrame {
    long long width = 0, height = 0;  // of the canvas
    int transparent = -1;
};

// Reads up to the first frame's descriptor; its pixels are next in the file.
FirstFrame FindFirstFrame(GifFileType* gif) {
    FirstFrame frame;
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        Check(DGifGetRecordType(gif, &type));
        if (type == TERMINATE_RECORD_TYPE) throw PictureError("GIF file has no picture");
        if (type == EXTENSION_RECORD_TYPE) {
            frame.transparent = ReadExtension(gif, frame.transparent);
            continue;
        }
        if (type != IMAGE_DESC_RECORD_TYPE) throw PictureError("GIF file is damaged");
        Check(DGifGetImageDesc(gif));
        const GifImageDesc& d = gif->Image;
        if (d.Width <= 0 || d.Height <= 0 || d.Left < 0 || d.Top < 0)
            throw PictureError("GIF frame is empty");
        // The canvas is the logical screen, grown where a frame reaches past it.
        frame.width = std::max<long long>(gif->SWidth, (long long)d.Left + d.Width);
        frame.height = std::max<long long>(gif->SHeight, (long long)d.Top + d.Height);
        if (!WithinDecodeLimits(std::uint64_t(frame.width), std::uint64_t(frame.height), 3))
            throw PictureError("GIF picture is too large");
        return frame;
    }
}

GifGuard Open(Reader& reader) {
    int error = 0;
    GifGuard g;
    g.gif = DGifOpen(&reader, ReadFromMemory, &error);
    if (!g.gif) throw PictureError("not a GIF file");
    return g;
}

}  // namespace

DecodedPicture DecodeGif(ByteSpan data) {
    Reader reader{data};
    GifGuard g = Open(reader);
    const FirstFrame frame = FindFirstFrame(g.gif);
    DecodedPicture picture;
    picture.bitmap = Bitmap(int(frame.width), int(frame.height));
    std::fill(picture.bitmap.pixels.begin(), picture.bitmap.pixels.end(), 0xFF);
    DrawFrame(g.gif, frame.transparent, picture.bitmap);
    return picture;
}

PictureHeader ReadGifHeader(ByteSpan data) {
    Reader reader{data};
    GifGuard g = Open(reader);
    const FirstFrame frame = FindFirstFrame(g.gif);
    return {int(frame.width), int(frame.height), 1};
}

}  // namespace lumetra
