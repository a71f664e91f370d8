#pragma once
// Raised by the decoders and the encoder for anything that stops a picture
// from being read or written; the callers turn it into their failure rule.

#include <stdexcept>
#include <string>

namespace lumetra {

class PictureError : public std::runtime_error {
  public:
    explicit PictureError(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace lumetra
