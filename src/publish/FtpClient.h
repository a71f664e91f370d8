#pragma once
// What the publishing wizard asks of an FTP server, one control connection
// at a time. The session keeps the current remote folder itself and sends
// every command with an absolute path, so a reconnection finds its place.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "publish/FtpListing.h"

namespace lumetra::publish {

// FTP/Encryption: Auto uses TLS when the server offers it, Required refuses
// a server without it, Off never asks for it.
enum class EncryptionMode { Auto, Required, Off };

struct ProxySettings {
    std::string host;
    int port = 0;
    std::string user;
    std::string password;
};

struct FtpLogin {
    std::string host;
    int port = 21;
    std::string user;
    std::string password;
    // No password given: take it from ~/.netrc when that has one.
    bool useNetrc = false;
    EncryptionMode encryption = EncryptionMode::Auto;
    // Certificates to trust instead of the system's (tests, private servers).
    std::string caFile;
    // Encrypt without checking the certificate (the user agreed for this session).
    bool skipCertificateCheck = false;
    // Tunnelled through this HTTP proxy when set.
    std::optional<ProxySettings> proxy;
    std::chrono::milliseconds readTimeout{15000};
};

enum class ConnectOutcome {
    Connected,
    Failed,                 // no connection, or the log-in was refused
    CertificateUnverified,  // TLS offered, but the certificate could not be verified
    EncryptionUnavailable,  // Required, and the server offers no TLS
    Stopped,
};

struct ConnectResult {
    ConnectOutcome outcome = ConnectOutcome::Failed;
    std::string detail;  // libcurl's or the server's words
};

struct Security {
    bool encrypted = false;  // control and data connections under TLS
    bool verified = false;   // with a certificate that was checked
};

class FtpError : public std::runtime_error {
  public:
    enum class Kind { Connection, TimedOut, Stopped, Refused, BadName, NotConnected };
    FtpError(Kind kind, const std::string& what) : std::runtime_error(what), kind_(kind) {}
    Kind kind() const { return kind_; }

  private:
    Kind kind_;
};

// Bytes of the current upload sent so far.
using UploadProgress = std::function<void(std::int64_t sent)>;

class FtpClient {
  public:
    virtual ~FtpClient() = default;

    virtual ConnectResult connect(const FtpLogin& login) = 0;
    virtual bool connected() const = 0;
    // Ends the session (errors ignored). Inside a callback of a running
    // command it stops that command and closes right after it.
    virtual void close() noexcept = 0;
    virtual Security security() const = 0;

    // The folder the session stands in, as it knows it (no command).
    virtual const std::string& currentFolder() const = 0;
    // PWD: the server's word for it.
    virtual std::string pwd() = 0;
    // CWD to an absolute or relative path ("..", "a/b"); false when refused.
    virtual bool cwd(const std::string& path) = 0;
    // MKD of an absolute or relative path; false when refused.
    virtual bool mkd(const std::string& path) = 0;
    // SIZE of a file in the current folder; -1 when there is none (or no 213).
    virtual std::int64_t size(const std::string& name) = 0;
    // The current folder's entries.
    virtual std::vector<ListEntry> list() = 0;
    // STOR of a local file under name in the current folder, replacing it.
    virtual void stor(const std::filesystem::path& local, const std::string& name,
                      const UploadProgress& progress) = 0;
    // DELE of a file in the current folder; false when refused.
    virtual bool dele(const std::string& name) = 0;

    // Every failing command other than a refusal throws FtpError.
};

}  // namespace lumetra::publish
