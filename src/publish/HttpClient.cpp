#include "publish/HttpClient.h"

#include <curl/curl.h>

#include <charconv>
#include <memory>
#include <new>

#include "publish/CurlTransfer.h"

namespace lumetra::publish {

namespace {

std::string Part(CURLU* url, CURLUPart part, unsigned flags = 0) {
    char* text = nullptr;
    if (curl_url_get(url, part, &text, flags) != CURLUE_OK) return {};
    std::string value = text ? text : "";
    curl_free(text);
    return value;
}

struct Exchange {
    std::string* body;
    std::size_t maxBody;
    bool overflow = false;
    Activity activity;
};

std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user) {
    auto* exchange = static_cast<Exchange*>(user);
    exchange->activity.touch();
    const std::size_t n = size * count;
    if (exchange->body->size() + n > exchange->maxBody) {
        exchange->overflow = true;
        return 0;
    }
    exchange->body->append(data, n);
    return n;
}

std::size_t OnHeader(char*, std::size_t size, std::size_t count, void* user) {
    static_cast<Exchange*>(user)->activity.touch();
    return size * count;
}

struct EasyDeleter {
    void operator()(CURL* h) const { curl_easy_cleanup(h); }
};
struct ListDeleter {
    void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};

}  // namespace

std::optional<UrlParts> SplitUrl(const std::string& url) {
    EnsureCurlReady();
    std::unique_ptr<CURLU, decltype(&curl_url_cleanup)> handle(curl_url(), curl_url_cleanup);
    if (!handle) throw std::bad_alloc();
    if (curl_url_set(handle.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK) return std::nullopt;
    UrlParts parts;
    parts.scheme = Part(handle.get(), CURLUPART_SCHEME);
    parts.host = Part(handle.get(), CURLUPART_HOST);
    const std::string port = Part(handle.get(), CURLUPART_PORT, CURLU_DEFAULT_PORT);
    std::from_chars(port.data(), port.data() + port.size(), parts.port);
    parts.path = Part(handle.get(), CURLUPART_PATH);
    if (parts.path.empty()) parts.path = "/";
    parts.query = Part(handle.get(), CURLUPART_QUERY);
    return parts;
}

HttpResponse HttpClient::perform(const HttpRequest& request) {
    EnsureCurlReady();
    HttpResponse response;
    std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
    if (!easy) throw std::bad_alloc();
    CURL* h = easy.get();
    std::vector<char> errorText(CURL_ERROR_SIZE + 1, '\0');
    Exchange exchange{&response.body, request.maxBody, false, {}};
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorText.data());
    curl_easy_setopt(h, CURLOPT_URL, request.url.c_str());
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, 15L);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    if (request.method == HttpRequest::Method::Head) curl_easy_setopt(h, CURLOPT_NOBODY, 1L);
    if (request.timeout.count() > 0)
        curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(request.timeout.count()));
    if (request.proxy) {
        const std::string proxy =
            "http://" + request.proxy->host + ":" + std::to_string(request.proxy->port);
        curl_easy_setopt(h, CURLOPT_PROXY, proxy.c_str());
        // Every host through it: the environment's no_proxy would otherwise pass some by.
        curl_easy_setopt(h, CURLOPT_NOPROXY, "");
        curl_easy_setopt(h, CURLOPT_PROXYUSERNAME, request.proxy->user.c_str());
        curl_easy_setopt(h, CURLOPT_PROXYPASSWORD, request.proxy->password.c_str());
    } else {
        curl_easy_setopt(h, CURLOPT_PROXY, "");
    }
    std::unique_ptr<curl_slist, ListDeleter> headers;
    for (const std::string& header : request.headers) {
        curl_slist* next = curl_slist_append(headers.get(), header.c_str());
        if (!next) throw std::bad_alloc();
        headers.release();
        headers.reset(next);
    }
    if (headers) curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
    if (!request.caFile.empty()) curl_easy_setopt(h, CURLOPT_CAINFO, request.caFile.c_str());
    if (request.acceptCookies) curl_easy_setopt(h, CURLOPT_COOKIEFILE, "");
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, OnBody);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &exchange);
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, OnHeader);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, &exchange);

    CurlMulti multi;
    const TransferResult result =
        multi.run(h, exchange.activity, {request.timeout, request.stopRequested});
    char* last = nullptr;
    curl_easy_getinfo(h, CURLINFO_EFFECTIVE_URL, &last);
    response.lastUrl = last ? last : request.url;
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &response.status);
    if (result.code == CURLE_OK) {
        response.transferred = true;
        return response;
    }
    response.body.clear();
    if (exchange.overflow)
        response.error = "the answer is larger than " + std::to_string(request.maxBody) + " bytes";
    else if (result.end == TransferEnd::TimedOut)
        response.error = "no answer within the time-out";
    else if (result.end == TransferEnd::Stopped)
        response.error = "stopped";
    else
        response.error = errorText[0] ? errorText.data() : curl_easy_strerror(result.code);
    return response;
}

}  // namespace lumetra::publish
