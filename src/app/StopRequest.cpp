#include "app/StopRequest.h"

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <thread>

#include "app/Platform.h"

namespace lumetra {

namespace {

std::atomic<int> gSignal{0};

std::mutex& RunEndMutex() {
    static std::mutex mutex;
    return mutex;
}

}  // namespace

int StopSignal() {
    return gSignal.load(std::memory_order_acquire);
}

void ThrowIfStopRequested() {
    if (StopSignal() != 0) throw StopRequested();
}

std::unique_lock<std::mutex> LockRunEnd() {
    return std::unique_lock(RunEndMutex());
}

void EndForStopSignal() {
    // Workers may still add files while the folder goes; a few passes catch them.
    try {
        for (int pass = 0; pass < 3; ++pass) platform::removeInstanceTempFolder();
    } catch (const std::exception&) {
        // Ending is what was asked for; a folder left behind is no reason to stay.
    }
    _exit(128 + StopSignal());
}

void WatchStopSignals(std::chrono::milliseconds grace) {
    sigset_t signals;
    sigemptyset(&signals);
    for (int sig : {SIGINT, SIGHUP, SIGTERM}) sigaddset(&signals, sig);
    if (pthread_sigmask(SIG_BLOCK, &signals, nullptr) != 0) return;
    std::thread([signals, grace] {
        int sig = 0;
        while (sigwait(&signals, &sig) != 0) {
        }
        gSignal.store(sig, std::memory_order_release);
        std::this_thread::sleep_for(grace);
        // The run did not end in time (or the caller wants no grace): end it
        // here, once whoever is printing or finishing has let go.
        RunEndMutex().lock();
        EndForStopSignal();
    }).detach();
}

}  // namespace lumetra
