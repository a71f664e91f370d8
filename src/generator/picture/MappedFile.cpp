#include "generator/picture/MappedFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

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

// Reads to the end, in the file's own size when it has one; a file that
// changes size meanwhile gives what could be read.
std::size_t ReadAll(int fd, std::size_t expected, std::unique_ptr<std::uint8_t[]>& out,
                    std::size_t& capacity, const std::string& path) {
    std::size_t size = 0;
    if (kept.buffer && kept.capacity >= expected && expected) {
        out = std::move(kept.buffer);
        capacity = std::exchange(kept.capacity, 0);
    } else {
        capacity = expected ? expected : (1 << 16);
        out.reset(new std::uint8_t[capacity]);
    }
    for (;;) {
        if (size == capacity) {
            if (expected && size >= expected) break;
            if (capacity >= kMaxDecodedBytes) throw PictureError("file is too large: " + path);
            std::unique_ptr<std::uint8_t[]> bigger(new std::uint8_t[capacity * 2]);
            std::memcpy(bigger.get(), out.get(), size);
            out = std::move(bigger);
            capacity *= 2;
        }
        const ssize_t n = ::read(fd, out.get() + size, capacity - size);
        if (n < 0) throw PictureError("cannot read " + path);
        if (n == 0) break;
        size += std::size_t(n);
    }
    return size;
}

}  // namespace

MappedFile::MappedFile(const std::string& path, bool whole) {
    Fd f{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
    if (f.fd < 0) throw PictureError("cannot open " + path);
    struct stat st {};
    if (::fstat(f.fd, &st) != 0) throw PictureError("cannot read " + path);
    const bool regular = S_ISREG(st.st_mode);
    if (regular && std::uint64_t(st.st_size) > kMaxDecodedBytes)
        throw PictureError("file is too large: " + path);
    if (regular && st.st_size == 0) return;
    if (regular && !whole) {
        void* m = ::mmap(nullptr, std::size_t(st.st_size), PROT_READ, MAP_PRIVATE, f.fd, 0);
        if (m != MAP_FAILED) {
            mapping_ = m;
            data_ = static_cast<const std::uint8_t*>(m);
            size_ = std::size_t(st.st_size);
            return;
        }
    }
    size_ = ReadAll(f.fd, regular ? std::size_t(st.st_size) : 0, copy_, capacity_, path);
    data_ = copy_.get();
}

MappedFile::~MappedFile() {
    if (mapping_) ::munmap(mapping_, size_);
    if (copy_ && capacity_ <= kKeptBuffer && capacity_ > kept.capacity) {
        kept.buffer = std::move(copy_);
        kept.capacity = capacity_;
    }
}

}  // namespace lumetra
