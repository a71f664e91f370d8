#pragma once
// Pictures carrying an ICC profile of another colour space than sRGB (wide
// gamut cameras, Adobe RGB, Display P3) are converted to sRGB, which is what
// browsers assume for the show's JPEG files.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace lumetra {

class SrgbConverter {
  public:
    // Null when no conversion is needed: no profile, an sRGB profile, a
    // profile that is not for RGB data, or one that cannot be read.
    static std::unique_ptr<SrgbConverter> For(const std::vector<std::uint8_t>& iccProfile);
    ~SrgbConverter();
    SrgbConverter(const SrgbConverter&) = delete;
    SrgbConverter& operator=(const SrgbConverter&) = delete;

    // Converts RGB pixels in place.
    void convert(std::uint8_t* rgb, std::size_t pixels) const;

  private:
    explicit SrgbConverter(void* transform) : transform_(transform) {}
    void* transform_;
};

}  // namespace lumetra
