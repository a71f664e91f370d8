#include "publish/PublishWizard.h"

#include "app/Application.h"
#include "app/Services.h"
#include "generator/ShowDocuments.h"
#include "publish/HomepageAddress.h"
#include "publish/PublicAddress.h"
#include "publish/RemoteFolders.h"
#include "publish/RemotePath.h"
#include "publish/SyncText.h"
#include "publish/Transfer.h"

namespace lumetra::publish {

namespace keys = settings;

std::string NewFolderPath(const std::string& basePath, const std::string& name) {
    if (name.empty()) return basePath;
    if (basePath == "/") return "/" + name;
    return basePath + "/" + name;
}

PublishWizard::PublishWizard(Application& app, PublishView& view, FtpClient& ftp, HttpClient& http,
                             WizardOptions options)
    : app_(app), context_(app, view, ftp, http, std::move(options)) {}

void PublishWizard::setPage(WizardPage page) {
    page_ = page;
    context_.view.pageShown(page);
}

void PublishWizard::setButtons(const WizardButtons& buttons) {
    buttons_ = buttons;
    context_.view.buttonsChanged(buttons_);
}

void PublishWizard::FormShow() {
    context_.ftp.close();
    step_ = 1;
    filling_ = true;
    fields_ = LoadConnectionFields(app_);
    context_.view.fieldsChanged(fields_);
    context_.view.transferOkShown(false);
    context_.view.statusChanged(app_.GetLangString(lang::frmFTP::kLblAct7));
    context_.view.fileProgressChanged(0, 0);
    context_.view.overallProgressChanged(0, 0);
    setPage(WizardPage::Connection);
    filling_ = false;
    context_.CancelRequested = false;
    context_.view.translate();
    setButtons({});
    context_.view.focusRequested(fields_.host.empty() ? FocusTarget::Host : FocusTarget::Next);
}

void PublishWizard::fillFields(const ConnectionFields& fields) {
    filling_ = true;
    fields_ = fields;
    context_.view.fieldsChanged(fields_);
    filling_ = false;
}

// --- remembering the access data -------------------------------------------

void PublishWizard::chkSaveFTPClick(bool checked) {
    fields_.saveData = checked;
    if (filling_) return;
    app_.settings.write(keys::kFtpSaveData, checked);
    if (checked)
        RememberAccessData(app_, fields_);
    else
        ForgetAccessData(app_);
}

void PublishWizard::setField(std::string ConnectionFields::*field, const settings::StringKey& key,
                             const std::string& text) {
    fields_.*field = text;
    if (filling_ || !fields_.saveData) return;
    app_.settings.write(key, text);
}

// A rewrite by the steps is a change of the field like a keystroke.
void PublishWizard::setFieldByProgram(std::string ConnectionFields::*field,
                                      const settings::StringKey& key, const std::string& text) {
    setField(field, key, text);
    context_.view.fieldsChanged(fields_);
}

void PublishWizard::txtFTPHostChange(const std::string& text) {
    setField(&ConnectionFields::host, keys::kFtpHost, text);
}
void PublishWizard::txtFTPUserChange(const std::string& text) {
    setField(&ConnectionFields::user, keys::kFtpUser, text);
}
void PublishWizard::txtFTPPassChange(const std::string& text) {
    setField(&ConnectionFields::password, keys::kFtpPass, text);
}
void PublishWizard::txtFTPSubDirChange(const std::string& text) {
    setField(&ConnectionFields::subDir, keys::kFtpSubDir, text);
}
void PublishWizard::txtHTTPChange(const std::string& text) {
    setField(&ConnectionFields::homepage, keys::kFtpHomepage, text);
}

PortEdit PublishWizard::txtFTPPortChange(const std::string& text, int caret) {
    if (filling_) {
        fields_.port = text;
        return {text, caret, false};
    }
    const PortEdit edit = CleanPortText(text, caret);
    if (edit.changed) app_.services.beep();
    setField(&ConnectionFields::port, keys::kFtpPort, edit.text);
    return edit;
}

// --- the step machine --------------------------------------------------------

bool PublishWizard::stop(StopReason reason) {
    stopReason_ = context_.CancelRequested ? StopReason::Cancelled : reason;
    return false;
}

void PublishWizard::cmdNextClick() {
    stopReason_ = StopReason::None;
    switch (step_) {
        case 1:
            step1();
            break;
        case 2:
            step2();
            break;
        case 3:
            step3();
            break;
        default:
            txtLinkShowClick();
    }
}

void PublishWizard::cmdCancelClick() {
    context_.ftp.close();
    context_.CancelRequested = true;
    stopReason_ = StopReason::Cancelled;
    context_.view.closeRequested();
}

void PublishWizard::backToConnection(bool sayDisconnected, StopReason reason) {
    stop(reason);
    if (context_.CancelRequested) return;  // the window is closing
    if (sayDisconnected) app_.Message(lang::messages::kFTPDisconnect, mb::kError);
    WizardButtons buttons = buttons_;
    buttons.nextEnabled = true;
    setButtons(buttons);
    FormShow();
}

bool PublishWizard::checkHomepage() {
    scheme_ = "http";
    setFieldByProgram(&ConnectionFields::homepage, keys::kFtpHomepage,
                      NormaliseHomepageField(fields_.homepage));
    if (fields_.homepage.empty()) return true;
    HttpRequest request;
    request.method = HttpRequest::Method::Head;
    request.url = "http://" + fields_.homepage;
    request.timeout = context_.options.homepageTimeout;
    request.caFile = context_.options.caFile;
    const HttpResponse response = context_.http.perform(request);
    switch (JudgeHomepageAnswer(response)) {
        case HomepageVerdict::Replace:
            if (const auto last = SplitUrl(response.lastUrl)) {
                if (last->scheme == "https") scheme_ = "https";
                setFieldByProgram(&ConnectionFields::homepage, keys::kFtpHomepage,
                                  HomepageFieldFor(*last));
            }
            return true;
        case HomepageVerdict::Keep:
            return true;
        case HomepageVerdict::Inaccessible:
            break;
    }
    app_.Message(lang::messages::kHomepageInaccessible, mb::kError);
    return stop(StopReason::Homepage);
}

void PublishWizard::step1() {
    setFieldByProgram(&ConnectionFields::subDir, keys::kFtpSubDir, GetValidPath(fields_.subDir));
    if (!checkHomepage()) return;
    if (!FTPConnect()) return;
    setPage(WizardPage::Folder);
    if (!showFolderPage()) return;
    context_.view.focusRequested(FocusTarget::Next);
    step_ = 2;
}

// SetDirList; a listing that cannot be read ends the connection.
bool PublishWizard::showFolderPage() {
    try {
        FolderListing listing = ReadFolderList(context_);
        folderList_ = std::move(listing.entries);
        targetDir_ = std::move(listing.targetDir);
        context_.view.folderListChanged(folderList_, targetDir_);
        return true;
    } catch (const std::exception&) {
        backToConnection(true, StopReason::Transfer);
        return false;
    }
}

void PublishWizard::showSecurity() {
    const Security security = context_.ftp.security();
    context_.view.securityChanged(security);
    const lang::LangKey& key = !security.encrypted ? lang::frmFTP::kLblActPlain
                               : security.verified ? lang::frmFTP::kLblActTLS
                                                   : lang::frmFTP::kLblActTLSUnverified;
    context_.view.statusChanged(app_.GetLangString(key));
}

bool PublishWizard::FTPConnect() {
    context_.status(lang::frmFTP::kLblAct3);
    const std::optional<int> port = PortNumber(fields_.port);
    if (!port) {
        app_.Message(lang::messages::kInvalidPort, mb::kError, {fields_.port});
        return stop(StopReason::Connection);
    }
    context_.folders.clear();
    FtpLogin login;
    login.host = fields_.host;
    login.port = *port;
    login.user = fields_.user;
    login.password = fields_.password;
    login.useNetrc = context_.options.useNetrc;
    login.encryption = context_.options.encryption.value_or(ReadEncryptionMode(app_.settings));
    login.caFile = context_.options.caFile;
    login.proxy = ReadFtpProxy(app_.settings);
    login.readTimeout = context_.options.ftpTimeout;
    const std::string server = fields_.host + ":" + std::to_string(*port);
    login.skipCertificateCheck = certificateAcceptedFor_ == server;
    for (;;) {
        const ConnectResult result = context_.ftp.connect(login);
        if (result.outcome == ConnectOutcome::Connected) break;
        if (context_.CancelRequested || result.outcome == ConnectOutcome::Stopped)
            return stop(StopReason::Cancelled);
        if (result.outcome == ConnectOutcome::CertificateUnverified &&
            !login.skipCertificateCheck) {
            if (app_.Message(lang::messages::kFTPCertUnverified, mb::kQuestionYesNo,
                             {fields_.host, result.detail}) != mb::IDYES)
                return stop(StopReason::Connection);
            certificateAcceptedFor_ = server;
            login.skipCertificateCheck = true;
            continue;
        }
        if (result.outcome == ConnectOutcome::EncryptionUnavailable)
            app_.Message(lang::messages::kFTPNoEncryption, mb::kError, {fields_.host});
        else
            app_.Message(lang::messages::kNoConnection, mb::kError);
        return stop(StopReason::Connection);
    }
    showSecurity();
    if (fields_.subDir != "/") {
        if (!MakeDeepDir(context_, fields_.subDir)) return stop(StopReason::Folder);
        bool entered = false;
        try {
            entered = ChangeInto(context_, fields_.subDir);
        } catch (const std::exception&) {
            if (!context_.CancelRequested) app_.Message(lang::messages::kFTPDisconnect, mb::kError);
            return stop(StopReason::Connection);
        }
        if (!entered) {
            app_.Message(lang::messages::kDirAccDenied3, mb::kError);
            return stop(StopReason::Folder);
        }
    }
    return context_.ftp.connected();
}

void PublishWizard::step2() {
    WizardButtons buttons = buttons_;
    buttons.nextEnabled = false;
    setButtons(buttons);
    publicBaseURL_.clear();
    SyncFigures figures;
    try {
        if (!fields_.homepage.empty())
            publicBaseURL_ = GetHTTPURL(context_, scheme_, fields_.homepage, targetDir_);
        figures = SyncInfo(context_, targetDir_);
    } catch (const std::exception&) {
        backToConnection(true, StopReason::Transfer);
        return;
    }
    if (context_.CancelRequested) {
        stop(StopReason::Cancelled);
        return;
    }
    if (!figures.ok) {
        backToConnection(true, StopReason::Folder);
        return;
    }
    step_ = 3;
    if (figures.same <= 0) {
        step3();
        return;
    }
    setPage(WizardPage::Sync);
    buttons.nextEnabled = true;
    setButtons(buttons);
    const char point =
        context_.options.decimalPoint ? context_.options.decimalPoint : LocaleDecimalPoint();
    context_.view.syncTextChanged(SyncPageText(app_.language, figures.total, figures.same, point));
}

void PublishWizard::step3() {
    setPage(WizardPage::Transfer);
    WizardButtons buttons = buttons_;
    buttons.nextEnabled = false;
    setButtons(buttons);
    try {
        if (context_.options.rewriteDocuments &&
            !WriteShowDocuments(app_, app_.project.Settings.OutputFile, ShowMode::Output,
                                publicBaseURL_)) {
            backToConnection(false, StopReason::Transfer);
            return;
        }
    } catch (const std::exception& e) {
        app_.MsgBox(e.what(), mb::kError);
        backToConnection(false, StopReason::Transfer);
        return;
    }
    const UploadEnd end = UploadFiles(context_, targetDir_, synchronise_);
    if (end == UploadEnd::Cancelled || context_.CancelRequested) {
        stop(StopReason::Cancelled);
        return;
    }
    if (end != UploadEnd::Done) {
        backToConnection(
            true, end == UploadEnd::FolderRefused ? StopReason::Folder : StopReason::Transfer);
        return;
    }
    context_.view.statusChanged(app_.GetLangString(lang::frmFTP::kLblAct2));
    context_.ftp.close();
    context_.view.fileProgressChanged(1, 1);
    result_ = BuildResultPage(context_, publicBaseURL_, targetDir_, fields_.host);
    context_.view.transferOkShown(true);
    buttons = {};
    buttons.cancelCloses = true;
    if (publicBaseURL_.empty()) {
        buttons.nextDefault = false;
        buttons.nextEnabled = false;
    } else {
        buttons.nextShowsLink = true;
    }
    setButtons(buttons);
    setPage(WizardPage::Result);
    context_.view.resultShown(result_);
    context_.view.focusRequested(publicBaseURL_.empty() ? FocusTarget::HtmlCode
                                                        : FocusTarget::Next);
    step_ = 4;
}

// --- the folder page ---------------------------------------------------------

void PublishWizard::jvlstFtpDirListingClick(int index) {
    if (index < 0 || index >= static_cast<int>(folderList_.size()) || step_ != 2) return;
    FtpClient& ftp = context_.ftp;
    try {
        const std::string current = ftp.pwd();
        bool entered = true;
        std::string wanted;
        const bool root = current == "/";
        if (index == 0 && !root) {
            wanted = "..";
            entered = ftp.cwd(wanted);
        } else if ((index == 0 && root) || (index == 1 && !root)) {
            const std::optional<std::string> path = context_.view.askNewFolder(current);
            if (path && !path->empty()) {
                MakeDeepDir(context_, *path);
                wanted = *path;
                entered = ftp.cwd(wanted);
            }
        } else {
            wanted = folderList_[static_cast<std::size_t>(index)].text;
            entered = ftp.cwd(wanted);
        }
        if (!entered) {
            // The list stays as it was.
            app_.Message(lang::messages::kDirAccDenied, mb::kError,
                         {ResolveRemotePath(current, wanted)});
            return;
        }
    } catch (const std::exception&) {
        backToConnection(true, StopReason::Transfer);
        return;
    }
    showFolderPage();
}

void PublishWizard::optSyncClick(bool synchronise) {
    synchronise_ = synchronise;
}

// --- the final page ----------------------------------------------------------

void PublishWizard::txtLinkShowClick() {
    if (result_.linkMode) app_.services.openUrl(result_.link);
}

void PublishWizard::btnCopyLinkClick() {
    app_.services.setClipboardText(result_.link);
}

void PublishWizard::btnCopyHTMLSrcClick() {
    app_.services.setClipboardText(result_.code);
}

void PublishWizard::lblHTMLEditorLinkClick() {
    app_.services.openUrl(app_.GetLangString(lang::internet::kHTMLIntegration) +
                          (result_.linkMode ? "&v=1" : "&v=0"));
}

}  // namespace lumetra::publish
