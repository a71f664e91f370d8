#include "generator/picture/JpegReader.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include <jpeglib.h>

#include "generator/picture/DecodeLimits.h"
#include "generator/picture/JpegErrors.h"
#include "generator/picture/PictureError.h"

namespace lumetra {

namespace {

// Progressive files may hold any number of scans, each a full pass over the
// coefficients; a crafted file with thousands of them would take minutes.
constexpr int kMaxScans = 500;

void LimitScans(j_common_ptr cinfo) {
    auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (d->is_decompressor && d->input_scan_number > kMaxScans)
        throw PictureError("JPEG file has too many scans");
}

void InvertedCmykToRgb(const std::uint8_t* cmyk, std::uint8_t* rgb, int width) {
    // Adobe writes CMYK JPEGs inverted; nearly every CMYK JPEG follows it.
    for (int x = 0; x < width; ++x, cmyk += 4, rgb += 3) {
        const unsigned k = cmyk[3];
        rgb[0] = std::uint8_t((cmyk[0] * k + 127) / 255);
        rgb[1] = std::uint8_t((cmyk[1] * k + 127) / 255);
        rgb[2] = std::uint8_t((cmyk[2] * k + 127) / 255);
    }
}

}  // namespace

struct JpegReader::State {
    jpeg_decompress_struct cinfo{};
    JpegErrorManager errors;
    jpeg_progress_mgr progress{};
    bool created = false;
    bool cmyk = false;
    std::vector<std::uint8_t> cmykRows;

    ~State() {
        if (created) jpeg_destroy_decompress(&cinfo);
    }
};

JpegReader::JpegReader(ByteSpan data) : state_(std::make_unique<State>()) {
    auto& c = state_->cinfo;
    c.err = InstallJpegErrors(state_->errors);
    jpeg_create_decompress(&c);
    state_->created = true;
    c.mem->max_memory_to_use = static_cast<long>(kMaxDecodedBytes);
    state_->progress.progress_monitor = LimitScans;
    c.progress = &state_->progress;
    if (data.empty()) throw PictureError("empty JPEG file");
    jpeg_mem_src(&c, data.data(), static_cast<unsigned long>(data.size()));
    jpeg_save_markers(&c, JPEG_APP0 + 1, 0xFFFF);
    jpeg_save_markers(&c, JPEG_APP0 + 2, 0xFFFF);
    jpeg_read_header(&c, TRUE);

    for (auto* m = c.marker_list; m; m = m->next) {
        if (m->marker == JPEG_APP0 + 1 && m->data_length >= 6 &&
            std::memcmp(m->data, "Exif\0\0", 6) == 0) {
            orientation_ = ExifOrientation(ByteSpan(m->data, m->data_length));
            break;
        }
    }
    JOCTET* icc = nullptr;
    unsigned int iccLength = 0;
    if (jpeg_read_icc_profile(&c, &icc, &iccLength) && icc) {
        const std::unique_ptr<JOCTET, void (*)(void*)> owned(icc, &std::free);
        icc_.assign(icc, icc + iccLength);
    }
}

JpegReader::~JpegReader() = default;

int JpegReader::storedWidth() const {
    return int(state_->cinfo.image_width);
}
int JpegReader::storedHeight() const {
    return int(state_->cinfo.image_height);
}
bool JpegReader::progressive() const {
    return state_->cinfo.progressive_mode != 0;
}
int JpegReader::width() const {
    return int(state_->cinfo.output_width);
}
int JpegReader::height() const {
    return int(state_->cinfo.output_height);
}

void JpegReader::start(int scaleDenom) {
    auto& c = state_->cinfo;
    // The limits are checked on the stored size: the coefficients of a
    // progressive file are held at full size whatever the output scale.
    if (!WithinDecodeLimits(c.image_width, c.image_height, 3))
        throw PictureError("JPEG picture is too large");
    c.scale_num = 1;
    c.scale_denom = static_cast<unsigned>(scaleDenom);
    state_->cmyk = c.jpeg_color_space == JCS_CMYK || c.jpeg_color_space == JCS_YCCK;
    c.out_color_space = state_->cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(&c);
    if (state_->cmyk) state_->cmykRows.resize(std::size_t(c.output_width) * 4);
}

void JpegReader::readRows(std::uint8_t* out, std::size_t stride, int count) {
    auto& c = state_->cinfo;
    for (int done = 0; done < count;) {
        if (c.output_scanline >= c.output_height) throw PictureError("JPEG rows exhausted");
        if (state_->cmyk) {
            JSAMPROW row = state_->cmykRows.data();
            if (jpeg_read_scanlines(&c, &row, 1) != 1) throw PictureError("JPEG data stopped");
            InvertedCmykToRgb(row, out + std::size_t(done) * stride, int(c.output_width));
            ++done;
            continue;
        }
        // libjpeg hands out up to rec_outbuf_height rows per call.
        JSAMPROW rows[16];
        const int n = std::min(count - done, 16);
        for (int i = 0; i < n; ++i) rows[i] = out + std::size_t(done + i) * stride;
        const auto got = jpeg_read_scanlines(&c, rows, JDIMENSION(n));
        if (got == 0) throw PictureError("JPEG data stopped");
        done += int(got);
    }
}

}  // namespace lumetra
