#include <algorithm>
#include <filesystem>

#include "generator/picture/Decoders.h"
#include "generator/picture/PictureError.h"

namespace lumetra {

PictureFormat FormatOfPath(const std::string& path) {
    std::string ext = std::filesystem::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char ch) { return char(std::tolower(ch)); });
    if (ext == ".jpg" || ext == ".jpeg") return PictureFormat::Jpeg;
    if (ext == ".png") return PictureFormat::Png;
    if (ext == ".bmp") return PictureFormat::Bmp;
    if (ext == ".gif") return PictureFormat::Gif;
    if (ext == ".tif" || ext == ".tiff") return PictureFormat::Tiff;
    return PictureFormat::Unsupported;
}

DecodedPicture DecodePicture(PictureFormat format, ByteSpan data) {
    switch (format) {
        case PictureFormat::Jpeg:
            return DecodeJpeg(data);
        case PictureFormat::Png:
            return DecodePng(data);
        case PictureFormat::Bmp:
            return DecodeBmp(data);
        case PictureFormat::Gif:
            return DecodeGif(data);
        case PictureFormat::Tiff:
            return DecodeTiff(data);
        case PictureFormat::Unsupported:
            break;
    }
    throw PictureError("unsupported picture type");
}

}  // namespace lumetra
