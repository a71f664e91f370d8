#include <libexif/exif-data.h>

#include "generator/picture/Decoders.h"

namespace lumetra {

int ExifOrientation(ByteSpan exifBlock) {
    if (exifBlock.empty() || exifBlock.size() > 0xFFFF) return 1;
    ExifData* data = exif_data_new();
    if (!data) return 1;
    // Only the orientation is wanted: maker notes stay as they are. libexif's
    // default repairs stay on, since they turn an orientation stored with
    // another integer type into the usual 16-bit one.
    exif_data_set_option(data, EXIF_DATA_OPTION_DONT_CHANGE_MAKER_NOTE);
    exif_data_load_data(data, exifBlock.data(), static_cast<unsigned>(exifBlock.size()));
    int orientation = 1;
    if (ExifEntry* e = exif_content_get_entry(data->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION)) {
        if (e->format == EXIF_FORMAT_SHORT && e->components >= 1 && e->data && e->size >= 2) {
            const int value = exif_get_short(e->data, exif_data_get_byte_order(data));
            if (value >= 1 && value <= 8) orientation = value;
        }
    }
    exif_data_unref(data);
    return orientation;
}

}  // namespace lumetra
