#include "generator/Id3v2Tag.h"

#include <taglib/mpegfile.h>

namespace lumetra {

bool StripId3v2Tag(const std::filesystem::path& file) {
    // The audio properties are not needed; reading them would scan the file.
    TagLib::MPEG::File mpeg(file.c_str(), false);
    if (!mpeg.isValid() || mpeg.readOnly()) return false;
    return mpeg.strip(TagLib::MPEG::File::ID3v2);
}

}  // namespace lumetra
