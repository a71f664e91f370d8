#pragma once
// One HTTP request on a thread of its own, so that the window waiting for it
// keeps painting. The settings are read before (VersionFileRequest) and
// written after (EvaluateVersionFile) on the window's thread; only the
// transfer runs here.

#include <atomic>
#include <functional>
#include <thread>

#include "publish/HttpClient.h"

namespace lumetra::update {

class BackgroundFetch {
  public:
    // done gets the answer on the worker thread, once, also when the
    // request was stopped or the client threw (then as a failed answer).
    using Done = std::function<void(publish::HttpResponse)>;

    // The client must outlive the fetch.
    BackgroundFetch(publish::HttpClient& client, publish::HttpRequest request, Done done);
    // Stops the request and waits for the thread; the request's own stop
    // hook is polled about every 10 ms, so this takes no longer.
    ~BackgroundFetch();
    BackgroundFetch(const BackgroundFetch&) = delete;
    BackgroundFetch& operator=(const BackgroundFetch&) = delete;

    // Abandons the request; done still follows, with a failed answer.
    void stop() { stop_ = true; }
    bool stopped() const { return stop_; }

  private:
    void run(publish::HttpClient& client, publish::HttpRequest request, const Done& done);

    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace lumetra::update
