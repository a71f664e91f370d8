#include "update/UpdateCheck.h"

#include <ctime>

#include "publish/AccessData.h"
#include "update/VersionCompare.h"

namespace lumetra::update {

namespace keys = settings;

publish::HttpRequest VersionFileRequest(const Settings& settings,
                                        const UpdateCheckOptions& options) {
    publish::HttpRequest request;
    request.method = publish::HttpRequest::Method::Get;
    request.url = options.address;
    request.timeout = std::chrono::milliseconds{0};
    request.proxy = publish::ReadHttpProxy(settings);
    // The client is ours, not a browser: the agent names this program.
    request.headers = {"Accept: text/html, */*", "User-Agent: Lumetra/" + ProgramVersion(true)};
    request.acceptCookies = true;
    request.maxBody = kMaxVersionFileSize;
    request.stopRequested = options.stopRequested;
    return request;
}

namespace {

std::string FailureText(const publish::HttpResponse& response) {
    if (!response.transferred) return response.error;
    return "the server answered with status " + std::to_string(response.status);
}

}  // namespace

UpdateCheckResult EvaluateVersionFile(const publish::HttpResponse& response,
                                      std::string_view ownVersion, const Settings& settings) {
    UpdateCheckResult result;
    if (!response.transferred || response.status < 200 || response.status >= 300) {
        result.error = FailureText(response);
        return result;
    }
    result.lines = SplitLines(response.body);
    settings.writeDateTime(keys::kUpdateLastCheck, std::time(nullptr));
    if (result.lines.empty()) throw EmptyVersionFile();
    result.newestVersion = result.lines.front();
    result.outcome = IsNewerVersion(result.newestVersion, ownVersion) ? UpdateOutcome::NewVersion
                                                                      : UpdateOutcome::NoNewVersion;
    return result;
}

UpdateCheckResult CheckForUpdate(const Settings& settings, const UpdateCheckOptions& options,
                                 publish::HttpClient& client) {
    const publish::HttpRequest request = VersionFileRequest(settings, options);
    return EvaluateVersionFile(client.perform(request), options.ownVersion, settings);
}

}  // namespace lumetra::update
