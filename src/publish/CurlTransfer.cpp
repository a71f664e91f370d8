#include "publish/CurlTransfer.h"

#include <mutex>
#include <new>

namespace lumetra::publish {

void EnsureCurlReady() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

CurlMulti::CurlMulti() {
    EnsureCurlReady();
    multi_ = curl_multi_init();
    if (!multi_) throw std::bad_alloc();
}

CurlMulti::~CurlMulti() {
    curl_multi_cleanup(multi_);
}

TransferResult CurlMulti::run(CURL* easy, Activity& activity, const TransferWatch& watch) {
    constexpr int kPollMilliseconds = 10;
    TransferResult result;
    activity.touch();
    if (curl_multi_add_handle(multi_, easy) != CURLM_OK) {
        result.code = CURLE_FAILED_INIT;
        return result;
    }
    const auto stopped = [&] { return watch.stopRequested && watch.stopRequested(); };
    for (;;) {
        int running = 0;
        if (curl_multi_perform(multi_, &running) != CURLM_OK) {
            result.code = CURLE_FAILED_INIT;
            break;
        }
        bool done = false;
        int left = 0;
        while (CURLMsg* message = curl_multi_info_read(multi_, &left)) {
            if (message->msg == CURLMSG_DONE && message->easy_handle == easy) {
                result.code = message->data.result;
                done = true;
            }
        }
        if (done || running == 0) break;
        if (stopped()) {
            result = {CURLE_ABORTED_BY_CALLBACK, TransferEnd::Stopped};
            break;
        }
        if (watch.idleLimit.count() > 0 && activity.idle() > watch.idleLimit) {
            result = {CURLE_OPERATION_TIMEDOUT, TransferEnd::TimedOut};
            break;
        }
        curl_multi_poll(multi_, nullptr, 0, kPollMilliseconds, nullptr);
    }
    if (result.code == CURLE_ABORTED_BY_CALLBACK && stopped()) result.end = TransferEnd::Stopped;
    curl_multi_remove_handle(multi_, easy);
    return result;
}

}  // namespace lumetra::publish
