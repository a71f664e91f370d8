#pragma once
// What the wizard's pages share while they run: the program, the window, the
// two clients, Cancel, and what this run learnt about the server's folders.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <utility>

#include "publish/FtpClient.h"
#include "publish/HomepageAddress.h"
#include "publish/HttpClient.h"
#include "publish/PublishView.h"

namespace lumetra {
class Application;
}
namespace lumetra::lang {
struct LangKey;
}

namespace lumetra::publish {

// The folders entered and the sizes asked for since the connection was made,
// so each remote folder is walked once per run instead of once per file.
class FolderCache {
  public:
    // Entered with a change of folder.
    bool entered(const std::string& folder) const { return entered_.count(folder) > 0; }
    void noteEntered(const std::string& folder) {
        entered_.insert(folder);
        present_.insert(folder);
    }
    // Entered or made: a level of a walk that needs no second look.
    bool present(const std::string& folder) const { return present_.count(folder) > 0; }
    void notePresent(const std::string& folder) { present_.insert(folder); }
    std::optional<std::int64_t> size(const std::string& folder, const std::string& name) const;
    void noteSize(const std::string& folder, const std::string& name, std::int64_t size);
    void clear();

  private:
    std::set<std::string> entered_;
    std::set<std::string> present_;
    std::map<std::pair<std::string, std::string>, std::int64_t> sizes_;
};

struct WizardOptions {
    // The instance's temporary folder (LMT3TMP), for the local probe file.
    std::filesystem::path tempFolder;
    // Certificates trusted besides the system's (FTP and web).
    std::string caFile;
    // Overrides FTP/Encryption (lumetra-make's ftps://).
    std::optional<EncryptionMode> encryption;
    // An empty password is looked up in ~/.netrc.
    bool useNetrc = false;
    std::chrono::milliseconds ftpTimeout{15000};
    std::chrono::milliseconds homepageTimeout{10000};
    std::chrono::milliseconds probeTimeout{5000};
    // Random numbers from lo to hi inclusive; empty: seeded from the clock.
    std::function<std::int64_t(std::int64_t lo, std::int64_t hi)> random;
    // Order of the candidate addresses; empty: the user's locale.
    AddressOrder addressOrder;
    // Decimal separator of the megabytes; 0: the user's locale.
    char decimalPoint = 0;
    // Step 3 writes the show's description and page again with the public
    // address; off for a show taken as it lies, without its project.
    bool rewriteDocuments = true;
};

class WizardContext {
  public:
    WizardContext(Application& app, PublishView& view, FtpClient& ftp, HttpClient& http,
                  WizardOptions options);

    Application& app;
    PublishView& view;
    FtpClient& ftp;
    HttpClient& http;
    WizardOptions options;
    bool CancelRequested = false;
    FolderCache folders;

    // The status line with a language text, optionally followed by ' "name" ...',
    // and the window's chance to handle input right after it.
    void status(const lang::LangKey& key);
    void status(const lang::LangKey& key, const std::string& name);
    void pump() { view.pump(); }
    std::int64_t random(std::int64_t lo, std::int64_t hi);

  private:
    std::mt19937_64 engine_;
};

}  // namespace lumetra::publish
