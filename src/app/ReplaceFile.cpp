#include "app/ReplaceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "app/RegularFile.h"
#include "app/StopRequest.h"

namespace lumetra {

namespace fs = std::filesystem;

namespace {

[[noreturn]] void Fail(int error, const fs::path& path) {
    throw std::system_error(error ? error : EIO, std::generic_category(), path.string());
}

void WriteAll(int fd, const char* data, std::size_t size, const fs::path& path) {
    // Large writes go in slices, so a stop request is seen within one of them.
    constexpr std::size_t kSlice = 4 << 20;
    for (std::size_t done = 0; done < size;) {
        ThrowIfStopRequested();
        const ssize_t n = ::write(fd, data + done, std::min(kSlice, size - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) Fail(n < 0 ? errno : ENOSPC, path);
        done += std::size_t(n);
    }
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// A regular file keeps its permissions; anything else is replaced by a plain file.
mode_t ModeFor(const fs::path& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return st.st_mode & 07777;
    return NewFileMode();
}

// Runs fill on a temporary file beside path, then renames it over path.
void Replace(const fs::path& path, const std::function<void(int fd)>& fill) {
    const fs::path folder = path.parent_path().empty() ? fs::path(".") : path.parent_path();
    std::string pattern = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
    int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) Fail(errno, path);
    try {
        if (::fchmod(fd, ModeFor(path)) != 0) Fail(errno, path);
        fill(fd);
        // A full disk may show only when the file is closed.
        const int closed = ::close(std::exchange(fd, -1));
        if (closed != 0) Fail(errno, path);
        if (::rename(pattern.c_str(), path.c_str()) != 0) Fail(errno, path);
    } catch (...) {
        if (fd >= 0) ::close(fd);
        ::unlink(pattern.c_str());
        throw;
    }
}

}  // namespace

void ReplaceFileWith(const fs::path& path, std::string_view bytes) {
    Replace(path, [&](int fd) { WriteAll(fd, bytes.data(), bytes.size(), path); });
}

void ReplaceFileWithCopy(const fs::path& from, const fs::path& to) {
    struct stat st {};
    const UniqueFd source = OpenRegularFile(from, st);
    if (!source.valid()) Fail(errno, from);
    Replace(to, [&](int fd) {
        std::vector<char> buffer(std::size_t(1) << 20);
        for (;;) {
            const ssize_t n = ::read(source.get(), buffer.data(), buffer.size());
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) Fail(errno, from);
            if (n == 0) break;
            WriteAll(fd, buffer.data(), std::size_t(n), to);
        }
    });
}

}  // namespace lumetra
