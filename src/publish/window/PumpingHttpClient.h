#pragma once
// The wizard's web requests with the window alive: while a request waits
// for its server, the window handles its events, and a click on Cancel stops
// the request at once.

#include <functional>

#include "publish/HttpClient.h"

namespace lumetra::ui {

class PumpingHttpClient : public publish::HttpClient {
  public:
    PumpingHttpClient(std::function<void()> pump, std::function<bool()> cancelled);

    publish::HttpResponse perform(const publish::HttpRequest& request) override;

  private:
    std::function<void()> pump_;
    std::function<bool()> cancelled_;
};

}  // namespace lumetra::ui
