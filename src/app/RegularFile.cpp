#include "app/RegularFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace lumetra {

UniqueFd::~UniqueFd() {
    if (fd_ >= 0) ::close(fd_);
}

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

UniqueFd OpenRegularFile(const std::filesystem::path& path, struct stat& status) {
    // Without O_NONBLOCK the open itself would wait on a pipe; for a regular
    // file the flag changes nothing.
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.valid()) return fd;
    int error = 0;
    if (::fstat(fd.get(), &status) != 0)
        error = errno;
    else if (!S_ISREG(status.st_mode))
        error = EINVAL;
    if (error == 0) return fd;
    fd = UniqueFd();  // closed first, so the close cannot touch errno after we set it
    errno = error;
    return fd;
}

}  // namespace lumetra
