#include "generator/picture/Picture.h"

#include <algorithm>
#include <new>

#include "app/Services.h"
#include "generator/picture/Decoders.h"
#include "generator/picture/FileBytes.h"
#include "generator/picture/JpegReader.h"
#include "generator/picture/Orientation.h"
#include "generator/picture/PictureError.h"
#include "generator/picture/PictureReading.h"
#include "lang/Messages.h"

namespace lumetra {

int ThumbnailScale(int pictureWidth, int pictureHeight, int areaWidth, int areaHeight) {
    if (areaWidth <= 0 || areaHeight <= 0 || pictureWidth <= 0 || pictureHeight <= 0) return 1;
    const int f = std::min(pictureWidth / areaWidth, pictureHeight / areaHeight);
    if (f >= 8) return 8;
    if (f >= 4) return 4;
    if (f >= 2) return 2;
    return 1;
}

namespace {

Bitmap ReadThumbnail(const std::string& file, int areaWidth, int areaHeight) {
    if (FormatOfPath(file) != PictureFormat::Jpeg) return ReadPicture(file);
    const FileBytes content(file);
    JpegReader header(content.bytes());
    int w = header.storedWidth(), h = header.storedHeight();
    if (SwapsSides(header.orientation())) std::swap(w, h);
    return Finish(DecodeJpeg(content.bytes(), ThumbnailScale(w, h, areaWidth, areaHeight)));
}

// Headers nearly always sit in the first kilobytes; a file whose header
// reaches further (large metadata, a TIFF directory at the end) is read whole.
PictureHeader ReadUprightSizeOfFile(PictureFormat format, const std::string& path) {
    constexpr std::size_t kPrefix = 256 << 10;
    {
        const FileBytes prefix(path, kPrefix);
        if (prefix.complete()) return ReadUprightSize(format, prefix.bytes());
        try {
            return ReadUprightSize(format, prefix.bytes());
        } catch (const PictureError&) {
        }
    }
    const FileBytes whole(path);
    return ReadUprightSize(format, whole.bytes());
}

}  // namespace

bool LoadPicture(Language* language, Bitmap& area, const std::string& file, bool thumbnail,
                 int areaWidth, int areaHeight) {
    if (FormatOfPath(file) == PictureFormat::Unsupported) return false;
    try {
        area = thumbnail ? ReadThumbnail(file, areaWidth, areaHeight) : ReadPicture(file);
        return true;
    } catch (const PictureError&) {
    } catch (const std::bad_alloc&) {
    }
    area = Bitmap();
    if (language) ShowMessage(*language, lang::messages::kImgErr, mb::kError, {file});
    return false;
}

bool GetImageSize(const std::string& path, int& height, int& width) {
    height = width = kFreshAreaSide;
    const PictureFormat format = FormatOfPath(path);
    if (format == PictureFormat::Unsupported) return true;
    try {
        const PictureHeader h = ReadUprightSizeOfFile(format, path);
        height = h.height;
        width = h.width;
    } catch (const PictureError&) {
    } catch (const std::bad_alloc&) {
    }
    return true;
}

}  // namespace lumetra
