#pragma once
// The publishing wizard without its window: the step machine behind the
// Next button, the connection, the remembered access data and Cancel. The
// window of the wizard (and lumetra-make --publish) forwards its events to
// the handlers below and mirrors what the wizard reports to its view.

#include <string>
#include <vector>

#include "app/SettingsKeys.h"
#include "publish/AccessData.h"
#include "publish/FtpClient.h"
#include "publish/HttpClient.h"
#include "publish/PublishView.h"
#include "publish/WizardContext.h"

namespace lumetra {
class Application;
}

namespace lumetra::publish {

// Why the last click ended back on the connection page (or the wizard ended).
enum class StopReason { None, Connection, Homepage, Folder, Transfer, Cancelled };

class PublishWizard {
  public:
    PublishWizard(Application& app, PublishView& view, FtpClient& ftp, HttpClient& http,
                  WizardOptions options = {});

    // The wizard state.
    int WizardStep() const { return step_; }
    bool FillingFields() const { return filling_; }
    bool CancelRequested() const { return context_.CancelRequested; }
    const std::string& PublicBaseURL() const { return publicBaseURL_; }
    const ConnectionFields& fields() const { return fields_; }
    WizardPage page() const { return page_; }
    const WizardButtons& buttons() const { return buttons_; }
    const std::string& targetDir() const { return targetDir_; }
    const std::vector<FolderListEntry>& folderList() const { return folderList_; }
    bool synchronise() const { return synchronise_; }
    const ResultPage& result() const { return result_; }
    // The scheme the public address uses: https when the homepage ends there.
    const std::string& homepageScheme() const { return scheme_; }
    StopReason stopReason() const { return stopReason_; }

    // The window's handlers.
    void FormShow();
    void cmdNextClick();
    void cmdCancelClick();
    void chkSaveFTPClick(bool checked);
    void txtFTPHostChange(const std::string& text);
    void txtFTPUserChange(const std::string& text);
    void txtFTPPassChange(const std::string& text);
    void txtFTPSubDirChange(const std::string& text);
    void txtHTTPChange(const std::string& text);
    // Returns the cleaned field and its caret for the window to put back.
    PortEdit txtFTPPortChange(const std::string& text, int caret);
    void jvlstFtpDirListingClick(int index);
    void optSyncClick(bool synchronise);
    void txtLinkShowClick();
    void btnCopyLinkClick();
    void btnCopyHTMLSrcClick();
    void lblHTMLEditorLinkClick();

    // Fills the connection fields as the program does (nothing is
    // remembered), for a run without the window.
    void fillFields(const ConnectionFields& fields);

  private:
    void step1();
    void step2();
    void step3();
    bool FTPConnect();
    bool checkHomepage();
    bool showFolderPage();
    void backToConnection(bool sayDisconnected, StopReason reason);
    bool stop(StopReason reason);
    void showSecurity();
    void setPage(WizardPage page);
    void setButtons(const WizardButtons& buttons);
    void setField(std::string ConnectionFields::*field, const settings::StringKey& key,
                  const std::string& text);
    void setFieldByProgram(std::string ConnectionFields::*field, const settings::StringKey& key,
                           const std::string& text);

    Application& app_;
    WizardContext context_;
    int step_ = 1;
    bool filling_ = false;
    std::string publicBaseURL_;
    ConnectionFields fields_;
    WizardPage page_ = WizardPage::Connection;
    WizardButtons buttons_;
    std::string targetDir_;
    std::vector<FolderListEntry> folderList_;
    bool synchronise_ = true;  // optSyncTrue, kept when the wizard starts over
    ResultPage result_;
    std::string scheme_ = "http";
    StopReason stopReason_ = StopReason::None;
    // host:port whose unverifiable certificate the user accepted for this session.
    std::string certificateAcceptedFor_;
};

}  // namespace lumetra::publish
