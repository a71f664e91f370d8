#pragma once
// One build of a show at a time: whoever builds a show (lumetra-make, the
// window's Create) holds an advisory lock on the show's data folder for the
// whole build, so two builds of one show cannot mix their files, and the page
// always agrees with its data folder.

#include <filesystem>
#include <functional>

#include "app/RegularFile.h"

namespace lumetra {

class ShowLock {
  public:
    // Locks the show's data folder (creating it). When
    // another build holds it, calls waiting() once and waits for it; a stop
    // signal ends the wait with StopRequested. Throws std::system_error when
    // the folder cannot be created or opened. File systems without locks
    // (some network shares) build unlocked, as before.
    static ShowLock Acquire(const std::filesystem::path& dataFolder,
                            const std::function<void()>& waiting = {});

    // The lock without waiting; false when another build holds it.
    static bool TryAcquire(const std::filesystem::path& dataFolder, ShowLock& lock);

    ShowLock() = default;
    bool held() const { return fd_.valid(); }

  private:
    explicit ShowLock(UniqueFd fd) : fd_(std::move(fd)) {}
    UniqueFd fd_;  // the lock goes with the descriptor
};

}  // namespace lumetra
