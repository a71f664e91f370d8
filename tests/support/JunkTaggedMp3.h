#pragma once
// An MP3 file that GStreamer refuses but plays once its ID3v2 tag is gone: a
// tag with an impossible version number (which GStreamer does not take for a
// tag, while TagLib does) holding markup, so the file's start looks like a
// web page and no decoder is found for it.

#include <string>

namespace lumetra::test {

inline std::string JunkTaggedMp3(const std::string& untaggedMp3, std::size_t tagSize = 1000) {
    std::string tag = "ID3";
    tag += '\xFF';                                                            // major version
    tag += '\x00';                                                            // revision
    tag += '\x00';                                                            // flags
    for (int shift : {21, 14, 7, 0}) tag += char((tagSize >> shift) & 0x7F);  // synchsafe size
    std::string body = "<html><body>";
    body.resize(tagSize, 'x');
    return tag + body + untaggedMp3;
}

}  // namespace lumetra::test
