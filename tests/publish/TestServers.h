#pragma once
// Servers the publishing tests start for themselves on 127.0.0.1: the
// pyftpdlib/http.server script beside this file and Debian's pure-ftpd, plus
// the self-signed certificates they use. Each server dies with the test.

#include <sys/types.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace lumetra::test {

// A child process whose output goes to a file; it is killed when the test
// process ends, however it ends.
class ChildProcess {
  public:
    ChildProcess(const std::vector<std::string>& argv, const std::filesystem::path& output);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // SIGTERM, then SIGKILL after a grace period; waits for the end.
    void stop();
    // SIGKILL at once (a server that vanishes mid-transfer).
    void kill();
    // SIGSTOP and SIGCONT (a server that stops answering and comes back).
    void pause();
    void resume();
    bool running();

  private:
    pid_t pid_ = -1;
};

struct Certificate {
    std::filesystem::path pem;   // certificate and key
    std::filesystem::path cert;  // certificate alone (to trust)
};

// A self-signed certificate for the given subjectAltName ("IP:127.0.0.1").
Certificate MakeCertificate(const std::filesystem::path& folder, const std::string& altName);

// A script of tests/publish/servers under /usr/bin/python3.
class PyServers {
  public:
    // args: the script's options besides --ready.
    PyServers(const std::filesystem::path& work, const std::vector<std::string>& args,
              const std::string& script = "test_servers.py");
    int ftpPort = 0;
    int httpPort = 0;
    int proxyPort = 0;
    int httpsPort = 0;
    std::filesystem::path commandLog;  // with --log
    void kill() { process_.kill(); }
    void pause() { process_.pause(); }
    void resume() { process_.resume(); }
    void stop() { process_.stop(); }
    // The commands the FTP server received, one per line.
    std::vector<std::string> commands() const;

  private:
    ChildProcess process_;
};

// pure-ftpd in the foreground with one virtual user mapped to "nobody".
// Needs root; available() says whether it can run here.
class PureFtpd {
  public:
    static bool available();
    PureFtpd(const std::filesystem::path& root, const std::filesystem::path& work,
             const std::string& user, const std::string& password,
             const std::filesystem::path& tlsPem = {});
    int port = 0;

  private:
    std::unique_ptr<ChildProcess> process_;
};

// A port that was free a moment ago.
int FreePort();

// The numeric user and group the pure-ftpd user runs as.
inline constexpr int kNobody = 65534;

}  // namespace lumetra::test
