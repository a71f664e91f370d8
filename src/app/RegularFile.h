#pragma once
// Opening a file that is meant to be read whole. Only regular files qualify:
// a pipe would wait for a writer and a device may never end, so both are
// refused at once instead of stalling or exhausting memory.

#include <sys/stat.h>

#include <filesystem>
#include <utility>

namespace lumetra {

// An open file descriptor, closed with its owner.
class UniqueFd {
  public:
    explicit UniqueFd(int fd = -1) : fd_(fd) {}
    ~UniqueFd();
    UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept;
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }

  private:
    int fd_;
};

// Opens a regular file for reading and fills in its status. On failure the
// descriptor is invalid and errno tells why (EINVAL: not a regular file).
UniqueFd OpenRegularFile(const std::filesystem::path& path, struct stat& status);

}  // namespace lumetra
