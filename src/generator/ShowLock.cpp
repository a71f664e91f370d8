#include "generator/ShowLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <system_error>
#include <thread>

#include "app/StopRequest.h"

namespace lumetra {

namespace fs = std::filesystem;

namespace {

UniqueFd OpenFolder(const fs::path& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd.valid()) throw std::system_error(errno, std::generic_category(), folder.string());
    return fd;
}

enum class Outcome { Locked, Busy, Unsupported };

Outcome TryLock(int fd) {
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return Outcome::Locked;
        if (errno == EINTR) continue;
        return errno == EWOULDBLOCK ? Outcome::Busy : Outcome::Unsupported;
    }
}

}  // namespace

bool ShowLock::TryAcquire(const fs::path& dataFolder, ShowLock& lock) {
    UniqueFd fd = OpenFolder(dataFolder);
    const Outcome outcome = TryLock(fd.get());
    if (outcome == Outcome::Busy) return false;
    lock = outcome == Outcome::Locked ? ShowLock(std::move(fd)) : ShowLock();
    return true;
}

ShowLock ShowLock::Acquire(const fs::path& dataFolder, const std::function<void()>& waiting) {
    UniqueFd fd = OpenFolder(dataFolder);
    for (bool told = false;; std::this_thread::sleep_for(std::chrono::milliseconds(50))) {
        const Outcome outcome = TryLock(fd.get());
        if (outcome == Outcome::Locked) return ShowLock(std::move(fd));
        if (outcome == Outcome::Unsupported) return ShowLock();
        ThrowIfStopRequested();
        if (!told && waiting) waiting();
        told = true;
    }
}

}  // namespace lumetra
