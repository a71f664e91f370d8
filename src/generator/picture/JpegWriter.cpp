#include "generator/picture/JpegWriter.h"

#include <algorithm>

#include <jpeglib.h>

#include "generator/picture/JpegErrors.h"
#include "generator/picture/PictureError.h"

namespace lumetra {

namespace {

// libjpeg's memory destination frees and replaces its buffer as the file
// grows, and leaves the last one to the caller only when compression
// finishes: on an early end nobody knows whether our copy of the pointer is
// still alive. This destination writes into a vector that we own on every
// path, finished or not.
struct VectorDestination {
    jpeg_destination_mgr mgr{};
    std::vector<std::uint8_t> bytes;
    std::size_t initialSize = 0;
};

VectorDestination& DestinationOf(j_compress_ptr cinfo) {
    return *static_cast<VectorDestination*>(cinfo->client_data);
}

void InitDestination(j_compress_ptr cinfo) {
    VectorDestination& d = DestinationOf(cinfo);
    d.bytes.resize(d.initialSize);
    d.mgr.next_output_byte = d.bytes.data();
    d.mgr.free_in_buffer = d.bytes.size();
}

boolean GrowDestination(j_compress_ptr cinfo) {
    VectorDestination& d = DestinationOf(cinfo);
    const std::size_t used = d.bytes.size();
    d.bytes.resize(used * 2);
    d.mgr.next_output_byte = d.bytes.data() + used;
    d.mgr.free_in_buffer = d.bytes.size() - used;
    return TRUE;
}

void TermDestination(j_compress_ptr cinfo) {
    VectorDestination& d = DestinationOf(cinfo);
    d.bytes.resize(d.bytes.size() - d.mgr.free_in_buffer);
}

// About one byte a pixel at quality 100; the buffer doubles when that is short.
std::size_t InitialSize(int width, int height) {
    const std::size_t pixels = std::size_t(width) * std::size_t(height);
    return std::clamp<std::size_t>(pixels, 16 << 10, 64 << 20);
}

}  // namespace

struct JpegWriter::State {
    // Declared first so that it outlives cinfo, which points at it.
    VectorDestination destination;
    jpeg_compress_struct cinfo{};
    JpegErrorManager errors;
    bool created = false;

    ~State() {
        if (created) jpeg_destroy_compress(&cinfo);
    }
};

JpegWriter::JpegWriter(int width, int height) : state_(std::make_unique<State>()) {
    State& s = *state_;
    auto& c = s.cinfo;
    c.err = InstallJpegErrors(s.errors);
    jpeg_create_compress(&c);
    s.created = true;
    s.destination.initialSize = InitialSize(width, height);
    s.destination.mgr.init_destination = InitDestination;
    s.destination.mgr.empty_output_buffer = GrowDestination;
    s.destination.mgr.term_destination = TermDestination;
    c.dest = &s.destination.mgr;
    c.client_data = &s.destination;
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
    return std::move(state_->destination.bytes);
}

}  // namespace lumetra
