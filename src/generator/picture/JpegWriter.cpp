#include "generator/picture/JpegWriter.h"

#include <cstdlib>

#include <jpeglib.h>

#include "generator/picture/JpegErrors.h"
#include "generator/picture/PictureError.h"

namespace lumetra {

struct JpegWriter::State {
    jpeg_compress_struct cinfo{};
    JpegErrorManager errors;
    bool created = false;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;

    ~State() {
        if (created) jpeg_destroy_compress(&cinfo);
        std::free(buffer);
    }
};

JpegWriter::JpegWriter(int width, int height) : state_(std::make_unique<State>()) {
    auto& c = state_->cinfo;
    c.err = InstallJpegErrors(state_->errors);
    jpeg_create_compress(&c);
    state_->created = true;
    jpeg_mem_dest(&c, &state_->buffer, &state_->size);
    c.image_width = JDIMENSION(width);
    c.image_height = JDIMENSION(height);
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 100, TRUE);
    jpeg_start_compress(&c, TRUE);
}

JpegWriter::~JpegWriter() = default;

void JpegWriter::writeRow(const std::uint8_t* rgb) {
    JSAMPROW row = const_cast<JSAMPROW>(rgb);
    jpeg_write_scanlines(&state_->cinfo, &row, 1);
}

std::vector<std::uint8_t> JpegWriter::finish() {
    jpeg_finish_compress(&state_->cinfo);
    return std::vector<std::uint8_t>(state_->buffer, state_->buffer + state_->size);
}

}  // namespace lumetra
