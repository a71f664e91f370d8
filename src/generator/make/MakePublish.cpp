#include "MakePublish.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <sstream>

#include "MakeOptions.h"
#include "app/Application.h"
#include "app/FileOps.h"
#include "app/Platform.h"
#include "app/Services.h"
#include "app/StopRequest.h"
#include "generator/ShowFolder.h"
#include "generator/ShowNames.h"
#include "publish/FtpSession.h"
#include "publish/HttpClient.h"
#include "publish/PublishWizard.h"
#include "publish/RemotePath.h"

namespace lumetra::make {

namespace fs = std::filesystem;
using namespace publish;

namespace {

std::string UrlDecode(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && std::isxdigit(text[i + 1]) &&
            std::isxdigit(text[i + 2])) {
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

// The password typed without echo on the terminal; empty when there is none.
std::optional<std::string> PromptPassword(const std::string& user, const std::string& host) {
    const int tty = open("/dev/tty", O_RDWR | O_NOCTTY);
    if (tty < 0) return std::nullopt;
    termios saved{};
    const bool isTerminal = tcgetattr(tty, &saved) == 0;
    if (!isTerminal) {
        close(tty);
        return std::nullopt;
    }
    const std::string prompt = "Password for " + user + "@" + host + ": ";
    (void)!write(tty, prompt.data(), prompt.size());
    termios quiet = saved;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    tcsetattr(tty, TCSAFLUSH, &quiet);
    std::string password;
    char c = 0;
    // Waits in short steps, so a Ctrl-C gives the terminal its echo back
    // before the run ends.
    for (;;) {
        pollfd ready{tty, POLLIN, 0};
        if (StopSignal() != 0) break;
        if (poll(&ready, 1, 100) <= 0) continue;
        if (read(tty, &c, 1) != 1 || c == '\n' || c == '\r') break;
        password += c;
    }
    tcsetattr(tty, TCSAFLUSH, &saved);
    (void)!write(tty, "\n", 1);
    close(tty);
    ThrowIfStopRequested();
    return password;
}

// The wizard's window as lines on stderr: the status line, redrawn in place
// with the overall progress on a terminal.
class ConsoleView : public PublishView {
  public:
    ConsoleView(std::ostream& out, bool terminal) : out_(out), terminal_(terminal) {}
    ~ConsoleView() override {
        if (terminal_ && drawn_) out_ << '\n';
    }
    void statusChanged(const std::string& text) override {
        status_ = text;
        draw(true);
    }
    void overallProgressChanged(int position, int maximum) override {
        overall_ = {position, maximum};
    }
    void fileProgressChanged(std::int64_t position, std::int64_t maximum) override {
        if (!terminal_ || maximum <= 0) return;
        file_ = static_cast<int>(std::clamp<std::int64_t>(position * 100 / maximum, 0, 100));
        draw(false);
    }
    // A stop signal is the user's Cancel: the wizard closes the connection
    // within the command at work, and the run then ends for the signal.
    void pump() override {
        if (wizard_ && StopSignal() != 0 && !wizard_->CancelRequested()) wizard_->cmdCancelClick();
    }
    void watch(PublishWizard& wizard) { wizard_ = &wizard; }

  private:
    void draw(bool newStatus) {
        std::ostringstream line;
        if (overall_.second > 0) line << "[" << overall_.first << "/" << overall_.second << "] ";
        line << status_;
        if (terminal_) {
            if (!newStatus && file_ >= 0) line << " " << file_ << "%";
            out_ << "\r\033[K" << line.str() << std::flush;
            drawn_ = true;
        } else if (newStatus) {
            out_ << line.str() << '\n';
        }
    }
    std::ostream& out_;
    bool terminal_;
    bool drawn_ = false;
    PublishWizard* wizard_ = nullptr;
    std::string status_;
    std::pair<int, int> overall_{0, 0};
    int file_ = -1;
};

int ExitFor(StopReason reason) {
    switch (reason) {
        case StopReason::None:
            return 0;
        case StopReason::Connection:
        case StopReason::Homepage:
            return kExitNoConnection;
        case StopReason::Folder:
            return kExitFolderRefused;
        case StopReason::Cancelled:
            return kExitCancelled;
        case StopReason::Transfer:
            break;
    }
    return kExitUploadFailed;
}

}  // namespace

std::optional<PublishAddress> ParsePublishAddress(const std::string& address, std::string& error) {
    PublishAddress parsed;
    std::string rest;
    if (address.rfind("ftp://", 0) == 0) {
        rest = address.substr(6);
    } else if (address.rfind("ftps://", 0) == 0) {
        parsed.requireTls = true;
        rest = address.substr(7);
    } else {
        error = "--publish needs an address ftp://user@host/folder or ftps://user@host/folder";
        return std::nullopt;
    }
    const std::size_t slash = rest.find('/');
    std::string authority = rest.substr(0, slash);
    parsed.folder = GetValidPath(slash == std::string::npos ? "/" : UrlDecode(rest.substr(slash)));
    const std::size_t at = authority.rfind('@');
    if (at == std::string::npos) {
        error = "the address names no user (ftp://user@host/folder)";
        return std::nullopt;
    }
    parsed.user = UrlDecode(authority.substr(0, at));
    if (parsed.user.find(':') != std::string::npos) {
        error = "no password in the address, please: set LUMETRA_FTP_PASSWORD or use ~/.netrc";
        return std::nullopt;
    }
    std::string hostPort = authority.substr(at + 1);
    const std::size_t colon = hostPort.rfind(':');
    if (colon != std::string::npos && hostPort.find(']', colon) == std::string::npos) {
        const std::string port = hostPort.substr(colon + 1);
        const bool digits =
            !port.empty() && port.size() <= 5 && std::all_of(port.begin(), port.end(), ::isdigit);
        if (!digits || std::stoi(port) < 1 || std::stoi(port) > 65535) {
            error = "\"" + port + "\" is no port number";
            return std::nullopt;
        }
        parsed.port = std::stoi(port);
        hostPort.resize(colon);
    }
    if (hostPort.size() > 2 && hostPort.front() == '[' && hostPort.back() == ']')
        hostPort = hostPort.substr(1, hostPort.size() - 2);
    parsed.host = hostPort;
    if (parsed.host.empty() || parsed.user.empty() || !IsSafeFtpText(parsed.user) ||
        !IsSafeFtpText(parsed.folder)) {
        error = "the address needs a user and a host";
        return std::nullopt;
    }
    return parsed;
}

bool NetrcNames(const std::string& netrcText, const std::string& host) {
    std::istringstream words(netrcText);
    std::string word;
    while (words >> word) {
        if (word == "default") return true;
        if (word == "machine" && words >> word && word == host) return true;
    }
    return false;
}

bool IsCreatedShowPage(const std::string& source) {
    std::error_code error;
    const fs::path path(source);
    return path.extension() == ".html" && fs::is_regular_file(path, error);
}

void TakeCreatedShow(Application& app, const std::string& page) {
    Project& project = app.project;
    project.Settings.OutputFile = fs::absolute(page).lexically_normal().string();
    project.FTPItems.clear();
    const fs::path pagePath = project.Settings.OutputFile;
    const fs::path data = pagePath.parent_path() / DataFolderName(app);
    const fs::path description = data / pagePath.filename().replace_extension(".xml");
    std::vector<std::string> files;
    std::error_code error;
    for (fs::directory_iterator it(data, error), end; !error && it != end; it.increment(error))
        if (it->is_regular_file(error) && it->path() != description)
            files.push_back(it->path().string());
    std::sort(files.begin(), files.end());
    for (const std::string& file : files) AddUploadItem(project, file, true);
    if (fs::exists(description)) AddUploadItem(project, description.string(), false);
    AddUploadItem(project, pagePath.string(), false);
}

std::optional<int> PublishBeforeBuild(Application& app, const MakeOptions& options,
                                      std::ostream& out, std::ostream& progress, bool progressBar) {
    if (options.publish.empty()) return std::nullopt;
    std::string error;
    if (!ParsePublishAddress(options.publish, error)) {
        app.MsgBox(error, mb::kError);
        return 1;
    }
    if (!IsCreatedShowPage(options.source)) return std::nullopt;
    TakeCreatedShow(app, options.source);
    return PublishShow(app, options, out, progress, progressBar, false);
}

int PublishShow(Application& app, const MakeOptions& options, std::ostream& out,
                std::ostream& progress, bool progressBar, bool rewriteDocuments) {
    std::string error;
    const std::optional<PublishAddress> address = ParsePublishAddress(options.publish, error);
    if (!address) {
        app.MsgBox(error, mb::kError);
        return kExitNoConnection;
    }
    WizardOptions wizardOptions;
    wizardOptions.tempFolder = platform::instanceTempFolder();
    wizardOptions.rewriteDocuments = rewriteDocuments;
    if (address->requireTls) wizardOptions.encryption = EncryptionMode::Required;
    if (const char* ca = std::getenv("LUMETRA_FTP_CAFILE")) wizardOptions.caFile = ca;

    ConnectionFields fields;
    fields.host = address->host;
    fields.port = std::to_string(address->port);
    fields.user = address->user;
    fields.subDir = address->folder;
    fields.homepage = options.homepage;
    if (const char* password = std::getenv("LUMETRA_FTP_PASSWORD")) {
        fields.password = password;
    } else {
        std::string netrc;
        try {
            netrc = ReadWholeFile(platform::homeFolder() / ".netrc");
        } catch (const std::exception&) {
        }
        if (NetrcNames(netrc, address->host)) {
            wizardOptions.useNetrc = true;  // libcurl reads it
        } else if (auto typed = PromptPassword(address->user, address->host)) {
            fields.password = *typed;
        } else {
            app.MsgBox(
                "No password: set LUMETRA_FTP_PASSWORD, add the server to ~/.netrc, or run "
                "on a terminal.",
                mb::kError);
            return kExitNoConnection;
        }
    }

    ConsoleView view(progress, progressBar);
    FtpSession ftp;
    HttpClient http;
    PublishWizard wizard(app, view, ftp, http, wizardOptions);
    view.watch(wizard);
    wizard.FormShow();
    wizard.fillFields(fields);
    wizard.optSyncClick(!options.noSync);
    wizard.cmdNextClick();  // connect; the start folder is the target
    for (int step = 2; step <= 3 && wizard.WizardStep() == step; ++step) wizard.cmdNextClick();
    if (wizard.WizardStep() != 4) return ExitFor(wizard.stopReason());
    const ResultPage& result = wizard.result();
    out << (result.linkMode ? result.link : result.relativeHint) << '\n';
    return 0;
}

}  // namespace lumetra::make
