#pragma once
// Stream helpers of the project file (little-endian int32, byte booleans,
// length-prefixed strings) and small file helpers.

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <stdexcept>
#include <string>
#include <string_view>

namespace lumetra {

void WriteStr(std::ostream& stream, std::string_view text);
void WriteInt(std::ostream& stream, std::int32_t value);
void WriteBool(std::ostream& stream, bool value);

// The data ends before a value is complete, or a length cannot be right.
class ReadError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Reads the same encodings from bytes already in memory. Every read is checked
// against what is left, so a damaged or hostile file cannot make us allocate
// more than its own size or read past its end.
class ByteReader {
  public:
    explicit ByteReader(std::string_view data) : data_(data) {}

    std::string ReadStr();
    std::int32_t ReadInt();
    std::uint8_t ReadBool();

    std::size_t remaining() const { return data_.size() - pos_; }

  private:
    std::string_view take(std::size_t n);
    std::string_view data_;
    std::size_t pos_ = 0;
};

// Size of a file from a directory search; -1 when it is not found. Sizes
// beyond the 32-bit range are reported as the largest 32-bit value.
std::int32_t GetFileSizeByName(const std::filesystem::path& path);

// The lines of a text file, each followed by CR LF, with the final CR LF
// removed. Throws std::system_error when the file cannot be read.
std::string LoadTextFile(const std::filesystem::path& path);

// Whole file as bytes; throws std::system_error when it cannot be read.
std::string ReadWholeFile(const std::filesystem::path& path);

}  // namespace lumetra
