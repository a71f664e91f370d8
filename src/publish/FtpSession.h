#pragma once
// FtpClient on libcurl: one easy handle and one control connection per
// session, kept alive between commands (curl_easy_reset leaves the
// connection in the private multi handle's cache).
//
// libcurl speaks FTP through addresses, so each command is a request:
// - CWD: a body-less request on the folder's address (ftp://h/%2F<path>/);
//   libcurl skips the CWD when it already stands there;
// - PWD, MKD, DELE: a body-less request on the current folder with the
//   command as a post-quote prefixed "*", so a refusal keeps the connection
//   and the reply is read from the header callback;
// - SIZE: a body-less request on the file's address;
// - LIST/MLSD: a request on the folder's address; STOR: an upload.

#include <curl/curl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "publish/CurlTransfer.h"
#include "publish/FtpClient.h"
#include "publish/FtpReplies.h"

namespace lumetra::publish {

class FtpSession : public FtpClient {
  public:
    FtpSession();
    ~FtpSession() override;
    FtpSession(const FtpSession&) = delete;
    FtpSession& operator=(const FtpSession&) = delete;

    ConnectResult connect(const FtpLogin& login) override;
    bool connected() const override { return connected_; }
    void close() noexcept override;
    Security security() const override { return security_; }

    const std::string& currentFolder() const override { return current_; }
    std::string pwd() override;
    bool cwd(const std::string& path) override;
    bool mkd(const std::string& path) override;
    std::int64_t size(const std::string& name) override;
    std::vector<ListEntry> list() override;
    void stor(const std::filesystem::path& local, const std::string& name,
              const UploadProgress& progress) override;
    bool dele(const std::string& name) override;

    // Called about every 10 ms while a command waits for the server (once a
    // second while libcurl waits for the reply that ends a transfer), so a
    // window can paint and take a click on Cancel (close()) meanwhile.
    void setWaitHandler(std::function<void()> handler) { waitHandler_ = std::move(handler); }

    // The login folder the server reported.
    const std::string& entryPath() const { return entryPath_; }
    // Largest listing accepted, in bytes.
    static constexpr std::size_t kMaxListing = 16 * 1024 * 1024;

    struct Request;

  private:
    struct Outcome {
        CURLcode code = CURLE_OK;
        TransferEnd end = TransferEnd::Finished;
        bool freshConnection = false;
    };

    Outcome perform(Request& request);
    Outcome performOnce(Request& request);
    void configure(Request& request);
    std::string address(const std::string& urlPath) const;
    // A command in the current folder as "*CMD"; the code of its reply.
    int quote(const std::string& command);
    [[noreturn]] void fail(const Outcome& outcome, const std::string& what);
    void requireConnection() const;
    void noteSecurity();
    void checkName(const std::string& text) const;
    bool netrcLogin() const { return login_.useNetrc && login_.password.empty(); }

    CURL* easy_ = nullptr;
    std::unique_ptr<CurlMulti> multi_;
    FtpLogin login_;
    bool connected_ = false;
    bool busy_ = false;
    bool closeWhenDone_ = false;
    bool stopRequested_ = false;
    bool useMlsd_ = false;
    std::string current_ = "/";
    std::string entryPath_;
    Security security_;
    ReplyCollector replies_;
    Activity activity_;
    std::vector<char> errorText_;
    std::function<void()> waitHandler_;
};

}  // namespace lumetra::publish
