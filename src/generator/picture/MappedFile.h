#pragma once
// A file's bytes, mapped read-only: the decoders read straight from the page
// cache and only the parts they touch are ever read from disk.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace lumetra {

class MappedFile {
  public:
    // Throws PictureError when the file cannot be opened. `whole`: the file
    // will be read to its end, so it is read in at once rather than page by page.
    explicit MappedFile(const std::string& path, bool whole = true);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    std::span<const std::uint8_t> bytes() const { return {data_, size_}; }

  private:
    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    void* mapping_ = nullptr;
    std::vector<std::uint8_t> copy_;  // for files that cannot be mapped
};

}  // namespace lumetra
