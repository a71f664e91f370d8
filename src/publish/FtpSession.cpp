#include "publish/FtpSession.h"

#include <cstdio>
#include <new>

#include "publish/RemotePath.h"

namespace lumetra::publish {

namespace fs = std::filesystem;

struct FtpSession::Request {
    std::string urlPath = "/";
    bool nobody = true;
    std::vector<std::string> postquote;
    std::string customRequest;
    // Listing body.
    std::string* sink = nullptr;
    bool sinkOverflow = false;
    // Upload source.
    std::FILE* upload = nullptr;
    curl_off_t uploadSize = 0;
    const UploadProgress* progress = nullptr;
    curl_off_t lastSent = -1;
    // Session state the callbacks touch.
    ReplyCollector* replies = nullptr;
    Activity* activity = nullptr;
    const bool* stop = nullptr;
    const std::function<void()>* wait = nullptr;
    curl_slist* quoteList = nullptr;

    ~Request() { curl_slist_free_all(quoteList); }
};

namespace {

using Request = FtpSession::Request;

constexpr long kTls12 =
    static_cast<long>(CURL_SSLVERSION_TLSv1_2) | static_cast<long>(CURL_SSLVERSION_MAX_TLSv1_2);

std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* user) {
    auto* request = static_cast<Request*>(user);
    request->activity->touch();
    request->replies->addLine(std::string_view(data, size * count));
    return size * count;
}

std::size_t OnWrite(char* data, std::size_t size, std::size_t count, void* user) {
    auto* request = static_cast<Request*>(user);
    request->activity->touch();
    const std::size_t n = size * count;
    if (!request->sink) return n;
    if (request->sink->size() + n > FtpSession::kMaxListing) {
        request->sinkOverflow = true;
        return 0;
    }
    request->sink->append(data, n);
    return n;
}

std::size_t OnRead(char* buffer, std::size_t size, std::size_t count, void* user) {
    auto* request = static_cast<Request*>(user);
    request->activity->touch();
    const std::size_t n = std::fread(buffer, 1, size * count, request->upload);
    if (n == 0 && std::ferror(request->upload)) return CURL_READFUNC_ABORT;
    return n;
}

int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t sent) {
    auto* request = static_cast<Request*>(user);
    if (request->upload && sent != request->lastSent) {
        request->lastSent = sent;
        request->activity->touch();
        if (request->progress && *request->progress) (*request->progress)(sent);
    }
    // libcurl waits for some replies (the one after a transfer) inside its
    // own loop; it still calls here once a second meanwhile.
    if (*request->wait) (*request->wait)();
    return *request->stop ? 1 : 0;
}

// Errors that mean the connection went away under the command.
bool LostConnection(CURLcode code) {
    switch (code) {
        case CURLE_SEND_ERROR:
        case CURLE_RECV_ERROR:
        case CURLE_GOT_NOTHING:
        case CURLE_WEIRD_SERVER_REPLY:
        case CURLE_FTP_WEIRD_PASV_REPLY:
        case CURLE_FTP_WEIRD_227_FORMAT:
        case CURLE_FTP_CANT_GET_HOST:
        case CURLE_FTP_ACCEPT_FAILED:
        case CURLE_PARTIAL_FILE:
        case CURLE_COULDNT_CONNECT:
            return true;
        default:
            return false;
    }
}

bool Positive(int code) {
    return code >= 200 && code < 300;
}

}  // namespace

FtpSession::FtpSession() : errorText_(CURL_ERROR_SIZE + 1, '\0') {
    EnsureCurlReady();
}

FtpSession::~FtpSession() {
    close();
}

void FtpSession::close() noexcept {
    if (busy_) {
        stopRequested_ = true;
        closeWhenDone_ = true;
        return;
    }
    if (easy_) curl_easy_cleanup(easy_);
    easy_ = nullptr;
    multi_.reset();  // closes the cached control connection (QUIT)
    connected_ = false;
    closeWhenDone_ = false;
}

std::string FtpSession::address(const std::string& urlPath) const {
    CURLU* url = curl_url();
    if (!url) throw std::bad_alloc();
    std::string host = login_.host;
    if (host.find(':') != std::string::npos && host.front() != '[') host = "[" + host + "]";
    const std::string port = std::to_string(login_.port);
    const bool ok = curl_url_set(url, CURLUPART_SCHEME, "ftp", 0) == CURLUE_OK &&
                    curl_url_set(url, CURLUPART_HOST, host.c_str(), 0) == CURLUE_OK &&
                    curl_url_set(url, CURLUPART_PORT, port.c_str(), 0) == CURLUE_OK &&
                    curl_url_set(url, CURLUPART_PATH, urlPath.c_str(), 0) == CURLUE_OK &&
                    // libcurl looks a password up in ~/.netrc only for a user of the address.
                    (!netrcLogin() || curl_url_set(url, CURLUPART_USER, login_.user.c_str(),
                                                   CURLU_URLENCODE) == CURLUE_OK);
    char* text = nullptr;
    if (ok) curl_url_get(url, CURLUPART_URL, &text, 0);
    std::string result = text ? text : "";
    curl_free(text);
    curl_url_cleanup(url);
    if (result.empty())
        throw FtpError(FtpError::Kind::BadName, "not a usable server name: " + host);
    return result;
}

void FtpSession::configure(Request& request) {
    CURL* h = easy_;
    curl_easy_reset(h);
    request.replies = &replies_;
    request.activity = &activity_;
    request.stop = &stopRequested_;
    request.wait = &waitHandler_;
    errorText_[0] = '\0';
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorText_.data());
    curl_easy_setopt(h, CURLOPT_URL, address(request.urlPath).c_str());
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "ftp");
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_TCP_KEEPALIVE, 1L);
    if (netrcLogin()) {
        curl_easy_setopt(h, CURLOPT_NETRC, static_cast<long>(CURL_NETRC_OPTIONAL));
    } else {
        curl_easy_setopt(h, CURLOPT_USERNAME, login_.user.c_str());
        curl_easy_setopt(h, CURLOPT_PASSWORD, login_.password.c_str());
    }
    curl_easy_setopt(h, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_SINGLECWD));
    const long seconds = static_cast<long>((login_.readTimeout.count() + 999) / 1000);
    curl_easy_setopt(h, CURLOPT_SERVER_RESPONSE_TIMEOUT, seconds);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(login_.readTimeout.count()));
    if (login_.proxy) {
        const std::string proxy =
            "http://" + login_.proxy->host + ":" + std::to_string(login_.proxy->port);
        curl_easy_setopt(h, CURLOPT_PROXY, proxy.c_str());
        curl_easy_setopt(h, CURLOPT_HTTPPROXYTUNNEL, 1L);
        curl_easy_setopt(h, CURLOPT_PROXYUSERNAME, login_.proxy->user.c_str());
        curl_easy_setopt(h, CURLOPT_PROXYPASSWORD, login_.proxy->password.c_str());
    } else {
        curl_easy_setopt(h, CURLOPT_PROXY, "");  // no proxy from the environment either
    }
    switch (login_.encryption) {
        case EncryptionMode::Auto:
            curl_easy_setopt(h, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_TRY));
            break;
        case EncryptionMode::Required:
            curl_easy_setopt(h, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
            break;
        case EncryptionMode::Off:
            curl_easy_setopt(h, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_NONE));
            break;
    }
    if (login_.encryption != EncryptionMode::Off) {
        curl_easy_setopt(h, CURLOPT_FTPSSLAUTH, static_cast<long>(CURLFTPAUTH_TLS));
        // Some servers demand that the data connections resume the control
        // connection's TLS session, which TLS 1.3 tickets do not give in time.
        curl_easy_setopt(h, CURLOPT_SSLVERSION, kTls12);
        if (!login_.caFile.empty()) curl_easy_setopt(h, CURLOPT_CAINFO, login_.caFile.c_str());
        const long verify = login_.skipCertificateCheck ? 0L : 1L;
        curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, verify);
        curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, verify * 2);
    }
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, OnHeader);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, &request);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, OnWrite);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &request);
    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, OnProgress);
    curl_easy_setopt(h, CURLOPT_XFERINFODATA, &request);
    if (request.nobody) curl_easy_setopt(h, CURLOPT_NOBODY, 1L);
    if (!request.postquote.empty() && !request.quoteList) {
        for (const std::string& command : request.postquote) {
            curl_slist* next = curl_slist_append(request.quoteList, command.c_str());
            if (!next) throw std::bad_alloc();
            request.quoteList = next;
        }
    }
    if (request.quoteList) curl_easy_setopt(h, CURLOPT_POSTQUOTE, request.quoteList);
    if (!request.customRequest.empty())
        curl_easy_setopt(h, CURLOPT_CUSTOMREQUEST, request.customRequest.c_str());
    if (request.upload) {
        curl_easy_setopt(h, CURLOPT_UPLOAD, 1L);
        curl_easy_setopt(h, CURLOPT_READFUNCTION, OnRead);
        curl_easy_setopt(h, CURLOPT_READDATA, &request);
        curl_easy_setopt(h, CURLOPT_INFILESIZE_LARGE, request.uploadSize);
    }
}

FtpSession::Outcome FtpSession::performOnce(Request& request) {
    configure(request);
    replies_.clear();
    if (request.sink) request.sink->clear();
    if (request.upload) {
        std::rewind(request.upload);
        request.lastSent = -1;
    }
    busy_ = true;
    const auto stop = [this] {
        if (waitHandler_) waitHandler_();
        return stopRequested_;
    };
    const TransferResult result = multi_->run(easy_, activity_, {login_.readTimeout, stop});
    busy_ = false;
    Outcome outcome{result.code, result.end, false};
    long connects = 0;
    curl_easy_getinfo(easy_, CURLINFO_NUM_CONNECTS, &connects);
    outcome.freshConnection = connects > 0;
    if (stopRequested_) outcome.end = TransferEnd::Stopped;
    return outcome;
}

FtpSession::Outcome FtpSession::perform(Request& request) {
    Outcome outcome = performOnce(request);
    // A server that closed the idle control connection answers the next
    // command with 421 or not at all: once more on a fresh connection.
    const bool idleClosed = !outcome.freshConnection && outcome.end == TransferEnd::Finished &&
                            (LostConnection(outcome.code) || replies_.lastCode() == 421) &&
                            (!request.upload || request.lastSent <= 0);
    if (idleClosed) outcome = performOnce(request);
    if (outcome.freshConnection && outcome.code == CURLE_OK) noteSecurity();
    if (closeWhenDone_) close();
    return outcome;
}

void FtpSession::noteSecurity() {
    bool tls = false;
    for (const FtpReply& reply : replies_.replies())
        if (reply.code == 234) tls = true;  // AUTH TLS accepted
    security_ = {tls, tls && !login_.skipCertificateCheck};
}

void FtpSession::fail(const Outcome& outcome, const std::string& what) {
    std::string detail = errorText_.data();
    if (detail.empty()) detail = curl_easy_strerror(outcome.code);
    const std::string text = what + ": " + detail;
    if (outcome.end == TransferEnd::Stopped) {
        close();
        throw FtpError(FtpError::Kind::Stopped, what + ": cancelled");
    }
    // Everything but a plain refusal leaves the connection in doubt.
    const bool refused =
        outcome.code == CURLE_REMOTE_ACCESS_DENIED || outcome.code == CURLE_UPLOAD_FAILED ||
        outcome.code == CURLE_REMOTE_FILE_NOT_FOUND || outcome.code == CURLE_QUOTE_ERROR;
    if (!refused) close();
    if (outcome.end == TransferEnd::TimedOut || outcome.code == CURLE_OPERATION_TIMEDOUT)
        throw FtpError(FtpError::Kind::TimedOut, text);
    throw FtpError(refused ? FtpError::Kind::Refused : FtpError::Kind::Connection, text);
}

void FtpSession::requireConnection() const {
    if (!connected_) throw FtpError(FtpError::Kind::NotConnected, "not connected");
}

void FtpSession::checkName(const std::string& text) const {
    if (!IsSafeFtpText(text))
        throw FtpError(FtpError::Kind::BadName, "a name with a line break cannot be sent");
}

ConnectResult FtpSession::connect(const FtpLogin& login) {
    close();
    login_ = login;
    stopRequested_ = false;
    useMlsd_ = false;
    security_ = {};
    easy_ = curl_easy_init();
    if (!easy_) throw std::bad_alloc();
    multi_ = std::make_unique<CurlMulti>();
    for (const std::string* text : {&login.host, &login.user, &login.password})
        if (!IsSafeFtpText(*text))
            return {ConnectOutcome::Failed, "a line break in the access data"};
    Request request;
    request.postquote = {"*FEAT"};
    Outcome outcome;
    try {
        outcome = performOnce(request);
    } catch (const FtpError& e) {
        close();
        return {ConnectOutcome::Failed, e.what()};
    }
    const std::string detail = errorText_[0] ? errorText_.data() : curl_easy_strerror(outcome.code);
    if (outcome.code != CURLE_OK) {
        const ConnectOutcome kind =
            outcome.end == TransferEnd::Stopped              ? ConnectOutcome::Stopped
            : outcome.code == CURLE_PEER_FAILED_VERIFICATION ? ConnectOutcome::CertificateUnverified
            : outcome.code == CURLE_USE_SSL_FAILED           ? ConnectOutcome::EncryptionUnavailable
                                                             : ConnectOutcome::Failed;
        close();
        return {kind, detail};
    }
    noteSecurity();
    for (const FtpReply& reply : replies_.replies())
        if (reply.code == 211 && FeaturesOfferMlst(reply.text)) useMlsd_ = true;
    char* entry = nullptr;
    curl_easy_getinfo(easy_, CURLINFO_FTP_ENTRY_PATH, &entry);
    entryPath_ = entry ? entry : "";
    current_ = !entryPath_.empty() && entryPath_.front() == '/' ? GetValidPath(entryPath_) : "/";
    connected_ = true;
    return {ConnectOutcome::Connected, {}};
}

int FtpSession::quote(const std::string& command) {
    requireConnection();
    checkName(command);
    Request request;
    request.urlPath = FolderUrlPath(current_);
    request.postquote = {"*" + command};
    const Outcome outcome = perform(request);
    if (outcome.code != CURLE_OK) fail(outcome, command.substr(0, command.find(' ')));
    return replies_.lastCode();
}

std::string FtpSession::pwd() {
    const int code = quote("PWD");
    if (code == 257)
        if (auto folder = ParsePwdReply(replies_.replies().back().text);
            folder && !folder->empty() && folder->front() == '/')
            current_ = GetValidPath(*folder);
    return current_;
}

bool FtpSession::cwd(const std::string& path) {
    requireConnection();
    checkName(path);
    const std::string target = ResolveRemotePath(current_, path);
    Request request;
    request.urlPath = FolderUrlPath(target);
    const Outcome outcome = perform(request);
    if (outcome.code == CURLE_REMOTE_ACCESS_DENIED) return false;
    if (outcome.code != CURLE_OK) fail(outcome, "CWD");
    current_ = target;
    return true;
}

bool FtpSession::mkd(const std::string& path) {
    return Positive(quote("MKD " + ResolveRemotePath(current_, path)));
}

bool FtpSession::dele(const std::string& name) {
    return Positive(quote("DELE " + name));
}

std::int64_t FtpSession::size(const std::string& name) {
    requireConnection();
    checkName(name);
    Request request;
    request.urlPath = FolderUrlPath(current_) + EscapeUrlSegment(name);
    const Outcome outcome = perform(request);
    if (outcome.code == CURLE_REMOTE_FILE_NOT_FOUND) return -1;
    if (outcome.code != CURLE_OK) fail(outcome, "SIZE");
    // libcurl reads "213 junk" as 0; the reply itself tells a size from junk.
    for (auto reply = replies_.replies().rbegin(); reply != replies_.replies().rend(); ++reply)
        if (reply->code == 213) return ParseSizeReply(reply->text).value_or(-1);
    return -1;
}

std::vector<ListEntry> FtpSession::list() {
    requireConnection();
    std::string text;
    Request request;
    request.urlPath = FolderUrlPath(current_);
    request.nobody = false;
    request.sink = &text;
    if (useMlsd_) {
        request.customRequest = "MLSD";
        const Outcome outcome = perform(request);
        if (outcome.code == CURLE_OK) return ParseListing(text, ListingFormat::Mlsd);
        if (request.sinkOverflow) fail(outcome, "MLSD (the listing is too long)");
        const int code = replies_.lastCode();
        if (outcome.end != TransferEnd::Finished || !(code == 500 || code == 501 || code == 502))
            fail(outcome, "MLSD");
        useMlsd_ = false;  // offered, but not understood: the plain listing then
        request.customRequest.clear();
        requireConnection();
    }
    const Outcome outcome = perform(request);
    if (request.sinkOverflow) fail(outcome, "LIST (the listing is too long)");
    if (outcome.code != CURLE_OK) fail(outcome, "LIST");
    return ParseListing(text, ListingFormat::List);
}

void FtpSession::stor(const fs::path& local, const std::string& name,
                      const UploadProgress& progress) {
    requireConnection();
    checkName(name);
    std::FILE* file = std::fopen(local.c_str(), "rb");
    if (!file) throw FtpError(FtpError::Kind::Refused, "cannot read " + local.string());
    struct Closer {
        std::FILE* f;
        ~Closer() { std::fclose(f); }
    } closer{file};
    std::error_code error;
    const auto bytes = fs::file_size(local, error);
    if (error) throw FtpError(FtpError::Kind::Refused, "cannot read " + local.string());
    Request request;
    request.urlPath = FolderUrlPath(current_) + EscapeUrlSegment(name);
    request.nobody = false;
    request.upload = file;
    request.uploadSize = static_cast<curl_off_t>(bytes);
    request.progress = &progress;
    const Outcome outcome = perform(request);
    if (outcome.code != CURLE_OK) fail(outcome, "STOR " + name);
}

}  // namespace lumetra::publish
