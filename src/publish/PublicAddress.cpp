#include "publish/PublicAddress.h"

#include <filesystem>
#include <fstream>

#include "app/Application.h"
#include "generator/PictureBridge.h"
#include "generator/ShowPage.h"
#include "publish/WizardContext.h"

namespace lumetra::publish {

namespace fs = std::filesystem;

namespace {

// A server answering every SIZE with 213 must not keep the probe search going.
constexpr int kProbeNameTries = 50;

std::string RandomNumberText(WizardContext& context) {
    return std::to_string(context.random(0, 999999));
}

std::string ChooseProbeName(WizardContext& context) {
    for (int attempt = 0; attempt < kProbeNameTries; ++attempt) {
        std::string name = RandomNumberText(context) + ".tmp";
        if (context.ftp.size(name) == -1) return name;
    }
    throw FtpError(FtpError::Kind::Refused, "the server claims every probe name exists");
}

fs::path WriteLocalProbe(WizardContext& context, const std::string& name,
                         const std::string& content) {
    fs::create_directories(context.options.tempFolder);
    const fs::path path = context.options.tempFolder / name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    out.close();
    if (!out) throw std::runtime_error("Cannot write the probe file " + path.string());
    return path;
}

std::string PageFileName(Application& app) {
    return fs::path(app.project.Settings.OutputFile).filename().replace_extension(".html").string();
}

}  // namespace

std::string CheckHTTPUrl(WizardContext& context, const std::string& url) {
    HttpRequest request;
    request.url = url;
    request.timeout = context.options.probeTimeout;
    request.caFile = context.options.caFile;
    request.stopRequested = [&context] { return context.CancelRequested; };
    try {
        const HttpResponse response = context.http.perform(request);
        return response.ok() ? response.body : std::string();
    } catch (const std::exception&) {
        return {};
    }
}

std::string GetHTTPURL(WizardContext& context, const std::string& scheme,
                       const std::string& homepageField, const std::string& targetDir) {
    const std::string base = PublicBase(scheme, homepageField);
    const std::string name = ChooseProbeName(context);
    const std::string content = RandomNumberText(context);
    const fs::path local = WriteLocalProbe(context, name, content);
    context.ftp.stor(local, name, {});
    std::string found;
    try {
        const AddressOrder order =
            context.options.addressOrder ? context.options.addressOrder : LocaleAddressOrder();
        for (const std::string& candidate : CandidateAddresses(base, targetDir, order)) {
            if (context.CancelRequested) break;
            if (CheckHTTPUrl(context, candidate + name) == content) {
                found = candidate;
                break;
            }
        }
    } catch (const std::exception&) {
        // No address then; the probe goes all the same.
    }
    context.ftp.dele(name);
    return found;
}

ResultPage BuildResultPage(WizardContext& context, std::string& publicBaseURL,
                           const std::string& targetDir, const std::string& ftpHost) {
    Application& app = context.app;
    ResultPage page;
    if (!publicBaseURL.empty()) {
        const std::string link = publicBaseURL + PageFileName(app);
        const std::string served = CheckHTTPUrl(context, link);
        // Documents taken as they lie may name the show relatively.
        const auto refersToShow = [&](const std::string& prefix) {
            const std::size_t at = served.find(PlayerAddress(app, prefix));
            return at != std::string::npos && at > 0;
        };
        if (refersToShow(publicBaseURL) ||
            (!context.options.rewriteDocuments && refersToShow(""))) {
            page.linkMode = true;
            page.link = link;
        } else {
            publicBaseURL.clear();
        }
    }
    if (!page.linkMode)
        page.relativeHint =
            MessageText(app.language, lang::frmFTP::kLblRelativeHTML, {targetDir, ftpHost});
    if (app.project.ImgItems.empty()) return page;  // no project, no size: no code
    const StageSize size = ShowStageSize(app.project);
    page.code = EmbeddingCode(app, size.W, size.H, app.project.Settings.BackgroundTransparent,
                              publicBaseURL);
    return page;
}

}  // namespace lumetra::publish
