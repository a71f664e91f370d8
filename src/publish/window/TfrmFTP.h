#pragma once
// The publishing wizard's window: a thin view of PublishWizard. It mirrors
// what the wizard reports (pages, status line, bars, buttons, fields, folder
// list, final page, encryption) into its widgets and forwards every event to
// the wizard's handler of the same name. The pages are built in
// TfrmFTPPages.cpp.
//
// The steps run on the window's thread; the window handles its events where
// the wizard pumps and while a command waits for a server, so it paints and
// takes Cancel at any moment. Meanwhile no other click starts work, and a
// close waits until the step has returned.

#include <QDialog>
#include <memory>
#include <string>

#include "publish/PublishView.h"
#include "publish/WizardContext.h"

class QComboBox;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace lumetra {
class Application;
}
namespace lumetra::publish {
class FtpSession;
class PublishWizard;
}  // namespace lumetra::publish

namespace lumetra::ui {

class ClickableLabel;
class PictureButton;
class PictureWidget;
class PumpingHttpClient;

class TfrmFTP : public QDialog, public publish::PublishView {
    Q_OBJECT

  public:
    // owner: the window the wizard was opened from; it is centred on the
    // program's main window above it.
    TfrmFTP(Application& app, QWidget* owner, publish::WizardOptions options);
    ~TfrmFTP() override;

    publish::PublishWizard& wizard() { return *wizard_; }
    // A handler of the wizard is at work (a step, a click in the folder list).
    bool working() const { return working_ > 0; }

    // PublishView.
    void pageShown(publish::WizardPage page) override;
    void statusChanged(const std::string& text) override;
    void fileProgressChanged(std::int64_t position, std::int64_t maximum) override;
    void overallProgressChanged(int position, int maximum) override;
    void buttonsChanged(const publish::WizardButtons& buttons) override;
    void fieldsChanged(const publish::ConnectionFields& fields) override;
    void folderListChanged(const std::vector<publish::FolderListEntry>& entries,
                           const std::string& targetDir) override;
    void syncTextChanged(const std::string& text) override;
    void transferOkShown(bool visible) override;
    void resultShown(const publish::ResultPage& page) override;
    void securityChanged(const publish::Security& security) override;
    void focusRequested(publish::FocusTarget target) override;
    void translate() override;
    void closeRequested() override;
    std::optional<std::string> askNewFolder(const std::string& basePath) override;
    void pump() override;

  public slots:
    void FormShow();
    void cmdNextClick();
    void cmdCancelClick();
    void chkSaveFTPClick(bool checked);
    void txtFTPHostChange(const QString& text);
    void txtFTPUserChange(const QString& text);
    void txtFTPPassChange(const QString& text);
    void txtFTPSubDirChange(const QString& text);
    void txtFTPPortChange(const QString& text);
    void txtHTTPChange(const QString& text);
    void cboEncryptionChange(int index);
    void jvlstFtpDirListingClick(int index);
    void optSyncTrueClick();
    void optSyncFalseClick();
    void txtHTMLSrcEnter();
    void txtHTMLSrcClick();
    void txtLinkShowEnter();
    void txtLinkShowClick();
    void btnCopyHTMLSrcClick();
    void btnCopyLinkClick();
    void lblHTMLEditorLinkClick();

  protected:
    void showEvent(QShowEvent* event) override;
    // Esc, the title bar's close and cmdCancel all end here.
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Building (FormCreate), TfrmFTPPages.cpp.
    void buildFrame();
    void buildConnectionPage();
    void buildFolderPage();
    void buildSyncPage();
    void buildTransferPage();
    void buildResultPage();
    void connectHandlers();

    // A handler that may run for long: not while another one runs.
    template <typename F>
    void work(F&& handler);
    // A quick handler (a field change, a copy button).
    template <typename F>
    void run(F&& handler);
    // Lets the window handle its events; waits throttles the calls made
    // while a command waits, to one in 25 ms.
    void processEvents(bool waiting);
    void showEncryptionChoice();
    void setResultLayout(bool linkMode);

    Application& app_;
    std::unique_ptr<publish::FtpSession> ftp_;
    std::unique_ptr<PumpingHttpClient> http_;
    std::unique_ptr<publish::PublishWizard> wizard_;
    int working_ = 0;
    bool closePending_ = false;
    bool filling_ = false;
    std::int64_t lastWaitPump_ = 0;
    bool nextShowsLink_ = false;
    bool cancelCloses_ = false;

    // Frame.
    QFrame *panHeader_, *panLeft_;
    QLabel *Label2_, *Label3_;
    QLabel* lblLeft_[3];
    QFrame *panStep1_, *panStep2_, *panStepSync_, *panStep3_, *panStepHTML_;
    QPushButton *cmdNext_, *cmdCancel_;
    PictureWidget* imgSecurity_;
    // Connection page.
    QLineEdit *txtFTPHost_, *txtFTPPort_, *txtFTPUser_, *txtFTPPass_, *txtFTPSubDir_, *txtHTTP_;
    QComboBox* cboEncryption_;
    QLabel* lblEncryption_;
    QCheckBox* chkSaveFTP_;
    QLabel* lblHTTP_;
    // Folder page.
    QListWidget* jvlstFtpDirListing_;
    QLineEdit* txtTargetDir_;
    // Synchronisation page.
    QRadioButton *optSyncTrue_, *optSyncFalse_;
    QLabel* lblSyncTrue_;
    // Transfer page.
    QLabel* lblAct_;
    QProgressBar *prgActFile_, *prgAllFiles_;
    // Final page.
    QLabel* lblTransferOK_;
    PictureWidget* imgShowLink_;
    QLineEdit* txtLinkShow_;
    PictureButton *btnCopyLink_, *btnCopyHTMLSrc_;
    QPlainTextEdit* txtHTMLSrc_;
    QLabel* lblRelativeHTML_;
    ClickableLabel* lblHTMLEditorLink_;
};

}  // namespace lumetra::ui
