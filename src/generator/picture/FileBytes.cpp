#include "generator/picture/FileBytes.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "app/RegularFile.h"
#include "generator/picture/DecodeLimits.h"
#include "generator/picture/PictureError.h"

namespace lumetra {

namespace {

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
    struct stat st {};
    const UniqueFd f = OpenRegularFile(path, st);
    if (!f.valid())
        throw PictureError((errno == EINVAL ? "not a regular file: " : "cannot open ") + path);
    const auto fileSize = std::uint64_t(st.st_size);
    if (fileSize > kMaxDecodedBytes && limit > kMaxDecodedBytes)
        throw PictureError("file is too large: " + path);
    const bool whole = limit >= kMaxDecodedBytes;
    const std::size_t wanted =
        std::min<std::uint64_t>(fileSize, std::min<std::uint64_t>(limit, kMaxDecodedBytes));

    if (wanted && kept.buffer && kept.capacity >= wanted) {
        buffer_ = std::move(kept.buffer);
        capacity_ = std::exchange(kept.capacity, 0);
    } else {
        capacity_ = wanted;
        buffer_.reset(new std::uint8_t[std::max<std::size_t>(capacity_, 1)]);
    }
    while (size_ < wanted) {
        const ssize_t n = ::read(f.get(), buffer_.get() + size_, wanted - size_);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw PictureError("cannot read " + path);
        if (n == 0) break;  // the end of a file that shrank meanwhile
        size_ += std::size_t(n);
    }
    complete_ = size_ < wanted || fileSize <= size_;  // only a read cut at the limit is partial
    if (whole && !complete_) throw PictureError("file is too large: " + path);
}

FileBytes::~FileBytes() {
    if (buffer_ && capacity_ <= kKeptBuffer && capacity_ > kept.capacity) {
        kept.buffer = std::move(buffer_);
        kept.capacity = capacity_;
    }
}

}  // namespace lumetra
