#pragma once
// Runs one libcurl transfer at a time through a private multi handle. A
// plain curl_easy_perform waits about a second on each passive data
// connection; polling every 10 ms does not. The loop is also where a transfer
// is stopped: on request, or when nothing has moved for too long (the read
// time-out).

#include <curl/curl.h>

#include <chrono>
#include <functional>

namespace lumetra::publish {

// curl_global_init, once per process.
void EnsureCurlReady();

// When the transfer last showed a sign of life; the callbacks touch it.
class Activity {
  public:
    void touch() { last_ = std::chrono::steady_clock::now(); }
    std::chrono::steady_clock::duration idle() const {
        return std::chrono::steady_clock::now() - last_;
    }

  private:
    std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
};

struct TransferWatch {
    std::chrono::milliseconds idleLimit{0};  // 0: wait as long as it takes
    std::function<bool()> stopRequested;     // polled between waits
};

enum class TransferEnd { Finished, TimedOut, Stopped };

struct TransferResult {
    CURLcode code = CURLE_OK;
    TransferEnd end = TransferEnd::Finished;
};

class CurlMulti {
  public:
    CurlMulti();
    ~CurlMulti();
    CurlMulti(const CurlMulti&) = delete;
    CurlMulti& operator=(const CurlMulti&) = delete;

    // Runs easy to its end. A transfer stopped or timed out is removed
    // half-way, which makes libcurl drop its connection.
    TransferResult run(CURL* easy, Activity& activity, const TransferWatch& watch);

  private:
    CURLM* multi_;
};

}  // namespace lumetra::publish
