#include "publish/window/PumpingHttpClient.h"

namespace lumetra::ui {

PumpingHttpClient::PumpingHttpClient(std::function<void()> pump, std::function<bool()> cancelled)
    : pump_(std::move(pump)), cancelled_(std::move(cancelled)) {}

publish::HttpResponse PumpingHttpClient::perform(const publish::HttpRequest& request) {
    publish::HttpRequest pumping = request;
    pumping.stopRequested = [this, outer = request.stopRequested] {
        pump_();
        return cancelled_() || (outer && outer());
    };
    return HttpClient::perform(pumping);
}

}  // namespace lumetra::ui
