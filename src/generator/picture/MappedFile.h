#pragma once
// A picture file's bytes. Files that will be decoded are read into memory
// (a mapping would bring the process down if the file shrank meanwhile);
// files of which only the header is wanted are mapped, so that only the
// pages touched are read from disk.

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace lumetra {

class MappedFile {
  public:
    // Throws PictureError when the file cannot be opened or read. `whole`:
    // the file will be read to its end.
    explicit MappedFile(const std::string& path, bool whole = true);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    std::span<const std::uint8_t> bytes() const { return {data_, size_}; }

  private:
    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    void* mapping_ = nullptr;
    std::unique_ptr<std::uint8_t[]> copy_;
    std::size_t capacity_ = 0;
};

}  // namespace lumetra
