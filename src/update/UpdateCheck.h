#pragma once
// The update check without its window: GET the version file, split it into
// lines, note the time in Update/LastCheck and compare its first line with
// our own version.
//
// The window calls CheckForUpdate, either straight from its handler with a
// stopRequested hook that keeps the window painted (it is polled about every
// 10 ms while the request runs), or in three steps to run the fetch on a
// worker thread: VersionFileRequest and EvaluateVersionFile on the window's
// thread (they read and write the settings file and may throw), and only
// HttpClient::perform on the worker.

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "app/Settings.h"
#include "app/Version.h"
#include "publish/HttpClient.h"
#include "update/VersionFile.h"

namespace lumetra::update {

enum class UpdateOutcome { NewVersion, NoNewVersion, Failed };

struct UpdateCheckResult {
    UpdateOutcome outcome = UpdateOutcome::Failed;
    std::string newestVersion;       // the file's first line, "" when it is empty
    std::vector<std::string> lines;  // every line of the file
    std::string error;               // Failed: why (libcurl's words, or the status)
};

// The version file arrived without a single line. Thrown after
// Update/LastCheck was written, for the handler boundary to report.
class EmptyVersionFile : public std::runtime_error {
  public:
    EmptyVersionFile() : std::runtime_error("The version file is empty: it names no version.") {}
};

struct UpdateCheckOptions {
    std::string ownVersion = ProgramVersion(true);  // GetVersionString's short form
    std::string address = VersionFileAddress();
    // True abandons the request (the window closes); the check then fails.
    std::function<bool()> stopRequested;
};

// The GET of the version file: redirects followed, cookies accepted, no read
// time-out, the body capped, the proxy of section Proxy only while
// Proxy/HTTP is on and never the environment's. Reads the settings file.
publish::HttpRequest VersionFileRequest(const Settings& settings,
                                        const UpdateCheckOptions& options);

// The answer to that request. Failed, with nothing written, unless a 2xx
// answer arrived whole; otherwise Update/LastCheck is written first (a
// settings file that cannot be written throws ini::WriteError), then an
// empty file throws EmptyVersionFile, else the first line is compared.
UpdateCheckResult EvaluateVersionFile(const publish::HttpResponse& response,
                                      std::string_view ownVersion, const Settings& settings);

// The whole check on the calling thread.
UpdateCheckResult CheckForUpdate(const Settings& settings, const UpdateCheckOptions& options,
                                 publish::HttpClient& client);

}  // namespace lumetra::update
