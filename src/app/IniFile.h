#pragma once
// INI files with the semantics that existing settings and language files rely
// on: names match without regard to case, blanks and one pair of quotes around
// a value are removed, at most 2047 characters of a value come back, a write
// replaces the key's line or appends it to its section. Nothing is cached.

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace lumetra::ini {

inline constexpr std::size_t kMaxValueLength = 2047;

// Pure text operations, so the rules can be tested byte for byte.
std::optional<std::string> findValue(std::string_view text, std::string_view section,
                                     std::string_view key);
std::string setValue(std::string_view text, std::string_view section, std::string_view key,
                     std::string_view value);

// Integer as the profile functions read it: decimal, or hexadecimal after "0x";
// anything else (empty text, letters, overflow) gives nothing.
std::optional<int> parseInt(std::string_view text);

// A failed write of an INI file; the message names the file.
class WriteError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// File operations. A missing file reads as empty. A write creates a missing
// file (mode 0600) but never a missing folder; it goes through a temporary file
// in the same folder that replaces the original in one step.
std::string readString(const std::filesystem::path& file, std::string_view section,
                       std::string_view key, std::string_view defaultValue);
int readInt(const std::filesystem::path& file, std::string_view section, std::string_view key,
            int defaultValue);
bool readBool(const std::filesystem::path& file, std::string_view section, std::string_view key,
              bool defaultValue);
void writeString(const std::filesystem::path& file, std::string_view section, std::string_view key,
                 std::string_view value);
void writeInt(const std::filesystem::path& file, std::string_view section, std::string_view key,
              int value);
void writeBool(const std::filesystem::path& file, std::string_view section, std::string_view key,
               bool value);

}  // namespace lumetra::ini
