#pragma once
// A picture file's bytes, read into memory (a mapping would bring the program
// down if the file shrank while it is read). Reading may stop after a prefix
// when only the header is wanted.

#include <cstdint>
#include <limits>
#include <memory>
#include <span>
#include <string>

namespace lumetra {

class FileBytes {
  public:
    // Reads the file, or its first `limit` bytes. Throws PictureError when it
    // cannot be opened or read, or is larger than any picture may be.
    explicit FileBytes(const std::string& path,
                       std::size_t limit = std::numeric_limits<std::size_t>::max());
    ~FileBytes();
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;

    std::span<const std::uint8_t> bytes() const { return {buffer_.get(), size_}; }
    // False when the file goes on beyond what was read.
    bool complete() const { return complete_; }

  private:
    std::unique_ptr<std::uint8_t[]> buffer_;
    std::size_t capacity_ = 0;
    std::size_t size_ = 0;
    bool complete_ = true;
};

}  // namespace lumetra
