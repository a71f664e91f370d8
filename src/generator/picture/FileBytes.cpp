#include "generator/picture/FileBytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "generator/picture/DecodeLimits.h"
#include "generator/picture/PictureError.h"

namespace lumetra {

namespace {

struct Fd {
    int fd;
    ~Fd() {
        if (fd >= 0) ::close(fd);
    }
};

// Fresh memory pages are expensive; each thread keeps the buffer of its last
// file (up to a limit) for the next one. A file read while another is open
// on the same thread simply gets a buffer of its own.
constexpr std::size_t kKeptBuffer = std::size_t(64) << 20;
struct Kept {
    std::unique_ptr<std::uint8_t[]> buffer;
    std::size_t capacity = 0;
};
thread_local Kept kept;

}  // namespace

FileBytes::FileBytes(const std::string& path, std::size_t limit) {
    Fd f{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
    if (f.fd < 0) throw PictureError("cannot open " + path);
    struct stat st {};
    if (::fstat(f.fd, &st) != 0) throw PictureError("cannot read " + path);
    const bool regular = S_ISREG(st.st_mode);
    const auto fileSize = std::uint64_t(regular ? st.st_size : 0);
    if (fileSize > kMaxDecodedBytes && limit > kMaxDecodedBytes)
        throw PictureError("file is too large: " + path);
    const bool whole = limit >= kMaxDecodedBytes;
    limit = std::min<std::size_t>(limit, kMaxDecodedBytes);
    // A regular file is read in its own size (or the limit); others grow as they come.
    const std::size_t wanted = regular ? std::min<std::size_t>(fileSize, limit) : 0;

    if (wanted && kept.buffer && kept.capacity >= wanted) {
        buffer_ = std::move(kept.buffer);
        capacity_ = std::exchange(kept.capacity, 0);
    } else {
        capacity_ = wanted ? wanted : std::min<std::size_t>(limit, 1 << 16);
        buffer_.reset(new std::uint8_t[std::max<std::size_t>(capacity_, 1)]);
    }
    const std::size_t stop = wanted ? wanted : limit;
    for (;;) {
        if (size_ >= stop) {
            complete_ = regular ? fileSize <= size_ : false;
            break;
        }
        if (size_ == capacity_) {  // only for files without a size
            const std::size_t grown = std::min(capacity_ * 2, limit);
            std::unique_ptr<std::uint8_t[]> bigger(new std::uint8_t[grown]);
            std::memcpy(bigger.get(), buffer_.get(), size_);
            buffer_ = std::move(bigger);
            capacity_ = grown;
        }
        const ssize_t n = ::read(f.fd, buffer_.get() + size_, std::min(capacity_, stop) - size_);
        if (n < 0) throw PictureError("cannot read " + path);
        if (n == 0) break;  // the end, also of a file that shrank meanwhile
        size_ += std::size_t(n);
    }
    if (whole && !complete_) throw PictureError("file is too large: " + path);
}

FileBytes::~FileBytes() {
    if (buffer_ && capacity_ <= kKeptBuffer && capacity_ > kept.capacity) {
        kept.buffer = std::move(buffer_);
        kept.capacity = capacity_;
    }
}

}  // namespace lumetra
