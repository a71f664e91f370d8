#include "TestServers.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace lumetra::test {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const fs::path& output) {
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const pid_t parent = getpid();
    pid_ = fork();
    if (pid_ < 0) throw std::runtime_error("fork failed");
    if (pid_ == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) _exit(127);
        const int fd = open(output.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        if (fd >= 0) {
            dup2(fd, 1);
            dup2(fd, 2);
            close(fd);
        }
        const int null = open("/dev/null", O_RDONLY);
        if (null >= 0) dup2(null, 0);
        execv(args[0], args.data());
        _exit(127);
    }
}

ChildProcess::~ChildProcess() {
    stop();
}

bool ChildProcess::running() {
    if (pid_ <= 0) return false;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        return false;
    }
    return true;
}

void ChildProcess::stop() {
    if (!running()) return;
    ::kill(pid_, SIGCONT);  // a paused child takes its SIGTERM only when it runs
    ::kill(pid_, SIGTERM);
    for (int i = 0; i < 100 && running(); ++i) std::this_thread::sleep_for(20ms);
    kill();
}

void ChildProcess::pause() {
    if (running()) ::kill(pid_, SIGSTOP);
}

void ChildProcess::resume() {
    if (running()) ::kill(pid_, SIGCONT);
}

void ChildProcess::kill() {
    if (!running()) return;
    ::kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

namespace {

int Run(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Quote(const fs::path& path) {
    return "'" + path.string() + "'";
}

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

int PortIn(const std::string& json, const std::string& name) {
    const std::regex pattern("\"" + name + "\": *([0-9]+)");
    std::smatch match;
    return std::regex_search(json, match, pattern) ? std::stoi(match[1]) : 0;
}

}  // namespace

Certificate MakeCertificate(const fs::path& folder, const std::string& altName) {
    fs::create_directories(folder);
    Certificate made{folder / "server.pem", folder / "cert.pem"};
    const fs::path key = folder / "key.pem";
    const std::string command =
        "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2 "
        "-subj /CN=lumetra-test -addext subjectAltName=" +
        altName + " -keyout " + Quote(key) + " -out " + Quote(made.cert) + " >/dev/null 2>&1";
    if (Run(command) != 0) throw std::runtime_error("openssl could not make a certificate");
    std::ofstream(made.pem) << Slurp(made.cert) << Slurp(key);
    return made;
}

PyServers::PyServers(const fs::path& work, const std::vector<std::string>& args,
                     const std::string& script)
    : process_(
          [&] {
              fs::create_directories(work);
              fs::remove(work / "ready.json");  // a stopped server's
              std::vector<std::string> argv{
                  "/usr/bin/python3", std::string(LUMETRA_PUBLISH_TEST_DIR "/servers/") + script,
                  "--ready", (work / "ready.json").string()};
              argv.insert(argv.end(), args.begin(), args.end());
              return argv;
          }(),
          work / "servers.log") {
    for (std::size_t i = 0; i + 1 < args.size(); ++i)
        if (args[i] == "--log") commandLog = args[i + 1];
    const fs::path ready = work / "ready.json";
    const auto deadline = std::chrono::steady_clock::now() + 15s;
    while (!fs::exists(ready)) {
        if (!process_.running() || std::chrono::steady_clock::now() > deadline)
            throw std::runtime_error("the test servers did not start:\n" +
                                     Slurp(work / "servers.log"));
        std::this_thread::sleep_for(10ms);
    }
    const std::string json = Slurp(ready);
    ftpPort = PortIn(json, "ftp");
    httpPort = PortIn(json, "http");
    proxyPort = PortIn(json, "proxy");
    httpsPort = PortIn(json, "https");
}

std::vector<std::string> PyServers::commands() const {
    std::vector<std::string> lines;
    std::istringstream in(Slurp(commandLog));
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) lines.push_back(line);
    return lines;
}

int FreePort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    close(fd);
    return ntohs(address.sin_port);
}

bool PureFtpd::available() {
    return geteuid() == 0 && access("/usr/sbin/pure-ftpd", X_OK) == 0 &&
           access("/usr/bin/pure-pw", X_OK) == 0;
}

PureFtpd::PureFtpd(const fs::path& root, const fs::path& work, const std::string& user,
                   const std::string& password, const fs::path& tlsPem) {
    fs::create_directories(work);
    const fs::path passwd = work / "pureftpd.passwd";
    const fs::path db = work / "pureftpd.pdb";
    const std::string nobody = std::to_string(kNobody);
    // A SHA-512 crypt hash: pure-pw's own (argon2) makes each log-in take seconds.
    const std::string add = "printf '%s:%s:" + nobody + ":" + nobody + "::" + root.string() +
                            "/./::::::::::::\\n' '" + user + "' \"$(openssl passwd -6 '" +
                            password + "')\" > " + Quote(passwd) + " && /usr/bin/pure-pw mkdb " +
                            Quote(db) + " -f " + Quote(passwd) + " >/dev/null 2>&1";
    if (Run(add) != 0) throw std::runtime_error("pure-pw could not make the user database");
    port = FreePort();
    std::vector<std::string> argv{"/usr/sbin/pure-ftpd",
                                  "-S",
                                  "127.0.0.1," + std::to_string(port),
                                  "-l",
                                  "puredb:" + db.string(),
                                  "-E",
                                  "-A",
                                  "-H",
                                  "-u",
                                  "1"};
    if (!tlsPem.empty()) {
        argv.insert(argv.end(), {"-Y", "1", "-2", tlsPem.string()});
    }
    process_ = std::make_unique<ChildProcess>(argv, work / "pure-ftpd.log");
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    for (;;) {
        const int fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        const bool up = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        close(fd);
        if (up) break;
        if (!process_->running() || std::chrono::steady_clock::now() > deadline)
            throw std::runtime_error("pure-ftpd did not start:\n" + Slurp(work / "pure-ftpd.log"));
        std::this_thread::sleep_for(20ms);
    }
}

}  // namespace lumetra::test
