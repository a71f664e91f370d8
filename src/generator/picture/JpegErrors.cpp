#include "generator/picture/JpegErrors.h"

#include "generator/picture/PictureError.h"

namespace lumetra {

namespace {

void ThrowError(j_common_ptr cinfo) {
    char text[JMSG_LENGTH_MAX] = {};
    cinfo->err->format_message(cinfo, text);
    throw PictureError(text);
}

void Silent(j_common_ptr, int) {}
void SilentOutput(j_common_ptr) {}

}  // namespace

jpeg_error_mgr* InstallJpegErrors(JpegErrorManager& errors) {
    jpeg_error_mgr* mgr = jpeg_std_error(&errors.mgr);
    mgr->error_exit = ThrowError;
    mgr->emit_message = Silent;
    mgr->output_message = SilentOutput;
    return mgr;
}

}  // namespace lumetra
