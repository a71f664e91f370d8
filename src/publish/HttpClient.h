#pragma once
// HEAD and GET on libcurl for the publishing wizard and the update check:
// redirects followed (http and https only), the status and the address of
// the last request, an optional proxy, and bodies capped so a hostile
// server cannot fill the memory.

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "publish/FtpClient.h"

namespace lumetra::publish {

// An address taken apart by curl_url().
struct UrlParts {
    std::string scheme;
    std::string host;
    int port = 0;       // the scheme's default when the address names none
    std::string path;   // with the document, "/" at least
    std::string query;  // without "?"
};

std::optional<UrlParts> SplitUrl(const std::string& url);

struct HttpRequest {
    enum class Method { Head, Get };
    Method method = Method::Get;
    std::string url;
    // Read time-out: the request fails after this long without a byte; 0 waits.
    std::chrono::milliseconds timeout{0};
    std::optional<ProxySettings> proxy;  // none: no proxy, the environment's neither
    std::vector<std::string> headers;    // "Name: value"
    bool acceptCookies = false;
    std::size_t maxBody = 4 * 1024 * 1024;
    // Certificates to trust besides the system's.
    std::string caFile;
    // Polled while the request runs; true stops it.
    std::function<bool()> stopRequested;
};

struct HttpResponse {
    bool transferred = false;  // a complete answer arrived (any status)
    long status = 0;           // 0 without an answer
    std::string body;
    std::string lastUrl;  // the address of the last request sent
    std::string error;    // why there is no answer
    bool ok() const { return transferred && status >= 200 && status < 400; }
};

class HttpClient {
  public:
    virtual ~HttpClient() = default;
    virtual HttpResponse perform(const HttpRequest& request);
};

}  // namespace lumetra::publish
