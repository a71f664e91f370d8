#include "generator/picture/Decoders.h"
#include "generator/picture/JpegReader.h"

namespace lumetra {

DecodedPicture DecodeJpeg(ByteSpan data, int scaleDenom) {
    JpegReader reader(data);
    reader.start(scaleDenom);
    DecodedPicture picture;
    picture.orientation = reader.orientation();
    picture.iccProfile = reader.iccProfile();
    picture.bitmap = Bitmap(reader.width(), reader.height());
    reader.readRows(picture.bitmap.pixels.data(), picture.bitmap.stride(), reader.height());
    return picture;
}

PictureHeader ReadJpegHeader(ByteSpan data) {
    JpegReader reader(data);
    return {reader.storedWidth(), reader.storedHeight(), reader.orientation()};
}

}  // namespace lumetra
