#pragma once
// Stopping a long run on SIGINT, SIGHUP or SIGTERM without a race: a watcher
// thread records the signal, the work notices it at its next check and
// unwinds (StopRequested), and the run ends with 128 + the signal after its
// own cleanup. Work that does not reach a check within the grace period is
// ended by the watcher, which then removes the instance's temporary folder
// itself. Either way nothing is printed once the signal has come.

#include <chrono>
#include <exception>
#include <mutex>

namespace lumetra {

// Thrown by ThrowIfStopRequested once a stop signal has come.
class StopRequested : public std::exception {
  public:
    const char* what() const noexcept override { return "stopped by a signal"; }
};

// The signal that asked to stop, or 0.
int StopSignal();
void ThrowIfStopRequested();

// Blocks the three signals in this and every later thread and watches them
// on a thread of its own: call it before any other thread starts. A grace of
// zero ends the process at once.
void WatchStopSignals(std::chrono::milliseconds grace);

// Held by whoever ends the run or prints for it: the watcher takes it for
// good before it ends the process, so nothing can be printed or reported as
// done after that, and a run that has its lock finishes as it is.
std::unique_lock<std::mutex> LockRunEnd();

// Ends the process for a stop signal: removes the instance's temporary
// folder, then _exit(128 + signal). Call with LockRunEnd held.
[[noreturn]] void EndForStopSignal();

}  // namespace lumetra
