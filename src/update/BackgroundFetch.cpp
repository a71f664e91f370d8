#include "update/BackgroundFetch.h"

#include <exception>

namespace lumetra::update {

BackgroundFetch::BackgroundFetch(publish::HttpClient& client, publish::HttpRequest request,
                                 Done done) {
    auto ownStop = std::move(request.stopRequested);
    request.stopRequested = [this, ownStop = std::move(ownStop)] {
        return stop_.load() || (ownStop && ownStop());
    };
    thread_ =
        std::thread([this, &client, request = std::move(request),
                     done = std::move(done)]() mutable { run(client, std::move(request), done); });
}

BackgroundFetch::~BackgroundFetch() {
    stop();
    if (thread_.joinable()) thread_.join();
}

void BackgroundFetch::run(publish::HttpClient& client, publish::HttpRequest request,
                          const Done& done) {
    publish::HttpResponse response;
    try {
        response = client.perform(request);
    } catch (const std::exception& e) {
        // Nothing may leave a thread; the waiting window reports a failure.
        response = {};
        response.error = e.what();
    } catch (...) {
        response = {};
        response.error = "the request failed";
    }
    if (stop_ && !response.transferred && response.error.empty()) response.error = "stopped";
    done(std::move(response));
}

}  // namespace lumetra::update
