#include "app/ReplaceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <random>
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

// The process's umask, read once (reading it means setting it for a moment).
mode_t Umask() {
    static const mode_t mask = [] {
        const mode_t m = ::umask(0);
        ::umask(m);
        return m;
    }();
    return mask;
}

// A regular file keeps its permissions; anything else is replaced by a plain file.
mode_t ModeFor(const fs::path& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return st.st_mode & 07777;
    return 0666 & ~Umask();
}

// Creates ".<name>.<random>" beside path with the mode given at once (a show
// of thousands of pictures saves a call per file over mkstemp and fchmod).
int CreateBeside(const fs::path& path, mode_t mode, std::string& name) {
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937_64 random{std::random_device{}()};
    const fs::path folder = path.parent_path().empty() ? fs::path(".") : path.parent_path();
    const std::string stem = (folder / ("." + path.filename().string() + ".")).string();
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = stem;
        for (int i = 0; i < 8; ++i) name += kLetters[random() % (sizeof kLetters - 1)];
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

// Runs fill on a temporary file beside path, then renames it over path.
void Replace(const fs::path& path, const std::function<void(int fd)>& fill) {
    const mode_t mode = ModeFor(path);
    std::string pattern;
    int fd = CreateBeside(path, mode, pattern);
    if (fd < 0) Fail(errno, path);
    try {
        // The umask may have taken bits that the replaced file had.
        if ((mode & ~Umask()) != mode && ::fchmod(fd, mode) != 0) Fail(errno, path);
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

void ReplaceFileWithOwnFile(const fs::path& from, const fs::path& to) {
    const fs::path folder = to.parent_path().empty() ? fs::path(".") : to.parent_path();
    thread_local std::mt19937_64 random{std::random_device{}()};
    const std::string name =
        (folder / ("." + to.filename().string() + "." + std::to_string(random() % 1000000000)))
            .string();
    if (::link(from.c_str(), name.c_str()) == 0) {
        if (::rename(name.c_str(), to.c_str()) == 0) return;
        const int error = errno;
        ::unlink(name.c_str());
        Fail(error, to);
    }
    ReplaceFileWithCopy(from, to);
}

}  // namespace lumetra
