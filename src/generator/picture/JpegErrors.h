#pragma once
// libjpeg reports fatal errors through a callback that must not return. Ours
// throws PictureError with the library's message; warnings (for example a
// truncated file, which decodes with the missing part grey) are ignored.

#include <cstdio>

#include <jpeglib.h>

namespace lumetra {

struct JpegErrorManager {
    jpeg_error_mgr mgr{};
};

jpeg_error_mgr* InstallJpegErrors(JpegErrorManager& errors);

}  // namespace lumetra
