#include "generator/picture/MappedFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

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

}  // namespace

MappedFile::MappedFile(const std::string& path, bool whole) {
    Fd f{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
    if (f.fd < 0) throw PictureError("cannot open " + path);
    struct stat st {};
    if (::fstat(f.fd, &st) != 0) throw PictureError("cannot read " + path);
    if (S_ISREG(st.st_mode)) {
        if (st.st_size == 0) return;
        size_ = std::size_t(st.st_size);
        void* m =
            ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE | (whole ? MAP_POPULATE : 0), f.fd, 0);
        if (m != MAP_FAILED) {
            mapping_ = m;
            data_ = static_cast<const std::uint8_t*>(m);
            return;
        }
        size_ = 0;
    }
    // Not mappable (a pipe, a special file system): read it, within the decode limit.
    std::uint8_t chunk[1 << 16];
    for (;;) {
        const ssize_t n = ::read(f.fd, chunk, sizeof chunk);
        if (n < 0) throw PictureError("cannot read " + path);
        if (n == 0) break;
        if (copy_.size() + std::size_t(n) > kMaxDecodedBytes)
            throw PictureError("file is too large: " + path);
        copy_.insert(copy_.end(), chunk, chunk + n);
    }
    data_ = copy_.data();
    size_ = copy_.size();
}

MappedFile::~MappedFile() {
    if (mapping_) ::munmap(mapping_, size_);
}

}  // namespace lumetra
