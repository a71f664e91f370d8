#include "generator/XorScramble.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>
#include <array>
#include <cerrno>

namespace lumetra {
namespace {

// Closes the descriptor (and with it the lock) on every way out.
class FileHandle {
  public:
    explicit FileHandle(int fd) : fd_(fd) {}
    ~FileHandle() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

ssize_t readSome(int fd, char* buffer, std::size_t size, off_t offset) {
    for (;;) {
        ssize_t n = ::pread(fd, buffer, size, offset);
        if (n >= 0 || errno != EINTR) return n;
    }
}

bool writeAll(int fd, const char* buffer, std::size_t size, off_t offset) {
    while (size > 0) {
        ssize_t n = ::pwrite(fd, buffer, size, offset);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        buffer += n;
        size -= static_cast<std::size_t>(n);
        offset += n;
    }
    return true;
}

}  // namespace

bool XorScrambleFile(std::string_view key, const std::filesystem::path& file) {
    if (key.empty()) return false;
    FileHandle handle(::open(file.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK));
    if (handle.get() < 0) return false;
    // Only regular files have an end: a device or pipe could keep us reading
    // forever (opening non-blocking keeps the open itself from waiting on one).
    struct stat info {};
    if (::fstat(handle.get(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    // Another process converting the same file would undo our work byte by
    // byte; refuse instead of waiting for it, so a stuck holder cannot hang us.
    if (::flock(handle.get(), LOCK_EX | LOCK_NB) != 0) return false;

    // Blocks keep memory bounded whatever the file size; the key position
    // runs on across block boundaries.
    std::array<char, 64 * 1024> buffer;
    off_t offset = 0;
    for (;;) {
        ssize_t n = readSome(handle.get(), buffer.data(), buffer.size(), offset);
        if (n < 0) return false;
        if (n == 0) break;
        XorScrambleBytes(key, buffer.data(), static_cast<std::size_t>(n),
                         static_cast<std::size_t>(offset));
        if (!writeAll(handle.get(), buffer.data(), static_cast<std::size_t>(n), offset))
            return false;
        offset += n;
    }
    return ::fsync(handle.get()) == 0 || errno == EINVAL;
}

void XorScrambleBytes(std::string_view key, char* data, std::size_t size, std::size_t offset) {
    if (key.empty()) return;
    std::size_t keyPos = offset % key.size();
    for (std::size_t i = 0; i < size; ++i) {
        data[i] ^= key[keyPos];
        if (++keyPos == key.size()) keyPos = 0;
    }
}

bool XorScrambleFile(const std::filesystem::path& file) {
    return XorScrambleFile(kMusicKey, file);
}

}  // namespace lumetra
