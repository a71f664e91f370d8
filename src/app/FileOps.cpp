#include "app/FileOps.h"

#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <limits>
#include <ostream>
#include <sstream>
#include <system_error>

#include "app/RegularFile.h"

namespace lumetra {

void WriteInt(std::ostream& stream, std::int32_t value) {
    auto v = static_cast<std::uint32_t>(value);
    const char bytes[4] = {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
                           static_cast<char>((v >> 16) & 0xFF),
                           static_cast<char>((v >> 24) & 0xFF)};
    stream.write(bytes, 4);
}

void WriteStr(std::ostream& stream, std::string_view text) {
    if (text.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        throw std::length_error("text too long for the project file");
    WriteInt(stream, static_cast<std::int32_t>(text.size()));
    stream.write(text.data(), static_cast<std::streamsize>(text.size()));
}

void WriteBool(std::ostream& stream, bool value) {
    stream.put(value ? 1 : 0);
}

std::string_view ByteReader::take(std::size_t n) {
    if (n > remaining()) throw ReadError("unexpected end of data");
    std::string_view out = data_.substr(pos_, n);
    pos_ += n;
    return out;
}

std::int32_t ByteReader::ReadInt() {
    std::string_view b = take(4);
    std::uint32_t v = static_cast<std::uint8_t>(b[0]) | static_cast<std::uint8_t>(b[1]) << 8 |
                      static_cast<std::uint8_t>(b[2]) << 16 |
                      static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[3])) << 24;
    return static_cast<std::int32_t>(v);
}

std::string ByteReader::ReadStr() {
    std::int32_t len = ReadInt();
    if (len < 0) throw ReadError("negative string length");
    return std::string(take(static_cast<std::size_t>(len)));
}

std::uint8_t ByteReader::ReadBool() {
    return static_cast<std::uint8_t>(take(1)[0]);
}

std::int32_t GetFileSizeByName(const std::filesystem::path& path) {
    std::error_code ec;
    auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::exists(status)) return -1;
    if (std::filesystem::is_directory(status)) return 0;
    auto size = std::filesystem::file_size(path, ec);
    if (ec) return -1;
    if (size > static_cast<std::uintmax_t>(std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(size);
}

std::string ReadWholeFile(const std::filesystem::path& path) {
    struct stat st {};
    const UniqueFd fd = OpenRegularFile(path, st);
    if (!fd.valid()) throw std::system_error(errno, std::generic_category(), path.string());
    std::string bytes(static_cast<std::size_t>(st.st_size), '\0');
    std::size_t done = 0;
    for (;;) {
        if (done == bytes.size()) bytes.resize(bytes.size() * 2 + 4096);  // it may have grown
        const ssize_t n = ::read(fd.get(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw std::system_error(errno, std::generic_category(), path.string());
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    bytes.resize(done);
    return bytes;
}

std::string LoadTextFile(const std::filesystem::path& path) {
    const std::string text = ReadWholeFile(path);
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            out += "\r\n";
        } else {
            out += c;
        }
    }
    // Each line was followed by CR LF; the last of those is removed.
    if (out.size() >= 2 && out.compare(out.size() - 2, 2, "\r\n") == 0) out.resize(out.size() - 2);
    return out;
}

}  // namespace lumetra
