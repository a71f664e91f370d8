#include "publish/window/TfrmFTP.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <algorithm>
#include <limits>

#include "app/Application.h"
#include "app/SettingsKeys.h"
#include "lang/LangKeys.h"
#include "publish/AccessData.h"
#include "publish/FtpSession.h"
#include "publish/PublishWizard.h"
#include "publish/window/PumpingHttpClient.h"
#include "publish/window/SelectAllOnFocus.h"
#include "publish/window/TfrmFTPNewDir.h"
#include "ui/Artwork.h"
#include "ui/ClickableLabel.h"
#include "ui/HandlerBoundary.h"
#include "ui/PictureWidgets.h"
#include "ui/QtText.h"
#include "ui/TranslateForm.h"
#include "ui/WidgetStyle.h"
#include "ui/WindowPlacement.h"

namespace lumetra::ui {

namespace {

constexpr int kClientWidth = 485;
constexpr int kClientHeight = 439;
constexpr qint64 kWaitPumpMilliseconds = 25;

std::string s(const QString& text) {
    return text.toStdString();
}

// FTP/Encryption as the drop-down's entries stand.
constexpr const char* kEncryptionWords[] = {"Auto", "Required", "Off"};

int entryFor(publish::EncryptionMode mode) {
    switch (mode) {
        case publish::EncryptionMode::Required:
            return 1;
        case publish::EncryptionMode::Off:
            return 2;
        case publish::EncryptionMode::Auto:
            break;
    }
    return 0;
}

// A bar's range is an int; larger files are shown in proportion.
void setBar(QProgressBar* bar, std::int64_t position, std::int64_t maximum) {
    if (maximum <= 0) {
        // A range of 0 to 0 would make Qt draw a busy bar.
        bar->setRange(0, 1);
        bar->setValue(0);
        return;
    }
    constexpr std::int64_t kLimit = std::numeric_limits<int>::max();
    std::int64_t divisor = 1;
    while (maximum / divisor > kLimit) divisor *= 2;
    bar->setRange(0, static_cast<int>(maximum / divisor));
    bar->setValue(static_cast<int>(std::clamp<std::int64_t>(position, 0, maximum) / divisor));
}

}  // namespace

TfrmFTP::TfrmFTP(Application& app, QWidget* owner, publish::WizardOptions options)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), app_(app) {
    setObjectName("frmFTP");
    setWindowTitle("FTP-Assistent");
    setFixedSize(kClientWidth, kClientHeight);
    setModal(true);
    ftp_ = std::make_unique<publish::FtpSession>();
    ftp_->setWaitHandler([this] { processEvents(true); });
    http_ = std::make_unique<PumpingHttpClient>([this] { processEvents(true); },
                                                [this] { return wizard_->CancelRequested(); });
    wizard_ =
        std::make_unique<publish::PublishWizard>(app, *this, *ftp_, *http_, std::move(options));
    buildFrame();
    connectHandlers();
    pageShown(publish::WizardPage::Connection);
    if (QWidget* main = MainWindowOf(owner)) CentreOn(this, main);
}

TfrmFTP::~TfrmFTP() = default;

// --- running handlers --------------------------------------------------------

template <typename F>
void TfrmFTP::run(F&& handler) {
    guarded(app_, std::forward<F>(handler));
}

template <typename F>
void TfrmFTP::work(F&& handler) {
    // A click that arrives while a step pumps its events starts nothing.
    if (working_ > 0) return;
    ++working_;
    guarded(app_, std::forward<F>(handler));
    --working_;
    if (closePending_) {
        closePending_ = false;
        QDialog::done(QDialog::Rejected);
    }
}

void TfrmFTP::processEvents(bool waiting) {
    if (waiting) {
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        if (now - lastWaitPump_ < kWaitPumpMilliseconds) return;
        lastWaitPump_ = now;
    }
    QApplication::processEvents(QEventLoop::AllEvents);
}

void TfrmFTP::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TfrmFTP::FormShow() {
    run([this] {
        showEncryptionChoice();
        wizard_->FormShow();
    });
}

// --- PublishView -------------------------------------------------------------

void TfrmFTP::pageShown(publish::WizardPage page) {
    using publish::WizardPage;
    const std::pair<QFrame*, WizardPage> pages[] = {
        {panStep1_, WizardPage::Connection}, {panStep2_, WizardPage::Folder},
        {panStepSync_, WizardPage::Sync},    {panStep3_, WizardPage::Transfer},
        {panStepHTML_, WizardPage::Result},
    };
    for (const auto& [panel, which] : pages) panel->setVisible(which == page);
    showCurrentStep({lblLeft_[0], lblLeft_[1], lblLeft_[2]}, page == WizardPage::Connection ? 0
                                                             : page == WizardPage::Folder   ? 1
                                                                                            : 2);
    // Back at the start the connection is closed; its lock goes with it.
    if (page == WizardPage::Connection) imgSecurity_->hide();
}

void TfrmFTP::statusChanged(const std::string& text) {
    lblAct_->setText(q(text));
}

void TfrmFTP::fileProgressChanged(std::int64_t position, std::int64_t maximum) {
    setBar(prgActFile_, position, maximum);
}

void TfrmFTP::overallProgressChanged(int position, int maximum) {
    setBar(prgAllFiles_, position, maximum);
}

void TfrmFTP::buttonsChanged(const publish::WizardButtons& buttons) {
    cmdNext_->setEnabled(buttons.nextEnabled);
    cmdNext_->setDefault(buttons.nextDefault);
    cmdNext_->setAutoDefault(buttons.nextDefault);
    if (buttons.nextShowsLink != nextShowsLink_) {
        nextShowsLink_ = buttons.nextShowsLink;
        cmdNext_->setText(q(nextShowsLink_ ? app_.GetLangString(lang::frmFTP::kCmdShowLink)
                                           : app_.language.GetLangString("frmFTP", "cmdNext")));
    }
    cmdCancel_->setEnabled(buttons.cancelEnabled);
    if (buttons.cancelCloses != cancelCloses_) {
        cancelCloses_ = buttons.cancelCloses;
        cmdCancel_->setText(q(cancelCloses_ ? app_.GetLangString(lang::frmFTP::kCmdCancel2)
                                            : app_.language.GetLangString("frmFTP", "cmdCancel")));
    }
}

void TfrmFTP::fieldsChanged(const publish::ConnectionFields& fields) {
    // The wizard has taken these values already; the fields only show them.
    const std::pair<QLineEdit*, const std::string*> edits[] = {
        {txtFTPHost_, &fields.host},     {txtFTPPort_, &fields.port},
        {txtFTPUser_, &fields.user},     {txtFTPPass_, &fields.password},
        {txtFTPSubDir_, &fields.subDir}, {txtHTTP_, &fields.homepage},
    };
    for (const auto& [edit, value] : edits) {
        if (edit->text() == q(*value)) continue;
        const QSignalBlocker quiet(edit);
        edit->setText(q(*value));
    }
    const QSignalBlocker quiet(chkSaveFTP_);
    chkSaveFTP_->setChecked(fields.saveData);
}

void TfrmFTP::folderListChanged(const std::vector<publish::FolderListEntry>& entries,
                                const std::string& targetDir) {
    using Icon = publish::FolderListEntry::Icon;
    jvlstFtpDirListing_->clear();
    const qreal ratio = devicePixelRatioF();
    for (const auto& entry : entries) {
        const char* art = entry.icon == Icon::Parent      ? "imgListParent"
                          : entry.icon == Icon::NewFolder ? "imgListNew"
                                                          : "imgListFolder";
        auto* item = new QListWidgetItem(QIcon(Artwork(art, QSize(16, 16), ratio)), q(entry.text));
        item->setData(Qt::UserRole, static_cast<int>(entry.icon));
        jvlstFtpDirListing_->addItem(item);
    }
    txtTargetDir_->setText(q(targetDir));
}

void TfrmFTP::syncTextChanged(const std::string& text) {
    lblSyncTrue_->setText(q(text));
}

void TfrmFTP::transferOkShown(bool visible) {
    lblTransferOK_->setVisible(visible);
}

void TfrmFTP::resultShown(const publish::ResultPage& page) {
    txtLinkShow_->setText(q(page.link));
    txtLinkShow_->setToolTip(q(page.link));
    txtLinkShow_->setCursorPosition(0);
    lblRelativeHTML_->setText(q(page.relativeHint));
    txtHTMLSrc_->setPlainText(q(page.code));
    setResultLayout(page.linkMode);
}

void TfrmFTP::securityChanged(const publish::Security& security) {
    const lang::LangKey& key = !security.encrypted ? lang::frmFTP::kLblActPlain
                               : security.verified ? lang::frmFTP::kLblActTLS
                                                   : lang::frmFTP::kLblActTLSUnverified;
    imgSecurity_->setArt(!security.encrypted ? "imgLockPlain"
                         : security.verified ? "imgLockTLS"
                                             : "imgLockUnverified");
    const QString text = q(app_.GetLangString(key));
    imgSecurity_->setToolTip(text);
    imgSecurity_->setAccessibleName(text);
    imgSecurity_->show();
}

void TfrmFTP::focusRequested(publish::FocusTarget target) {
    switch (target) {
        case publish::FocusTarget::Next:
            cmdNext_->setFocus();
            break;
        case publish::FocusTarget::Host:
            txtFTPHost_->setFocus();
            break;
        case publish::FocusTarget::HtmlCode:
            txtHTMLSrc_->setFocus();
            break;
    }
}

void TfrmFTP::translate() {
    TranslateForm(app_, this, "frmFTP");
    // Without a caption (any language but German) the link is not there.
    lblHTMLEditorLink_->setVisible(!lblHTMLEditorLink_->text().isEmpty());
    nextShowsLink_ = false;
    cancelCloses_ = false;
    lblEncryption_->setText(q(app_.GetLangString(lang::frmFTP::kCboEncryption)));
    const QSignalBlocker quiet(cboEncryption_);
    const int chosen = std::max(cboEncryption_->currentIndex(), 0);
    cboEncryption_->clear();
    for (const lang::LangKey& key :
         {lang::frmFTP::kEncryptionAuto, lang::frmFTP::kEncryptionRequired,
          lang::frmFTP::kEncryptionOff})
        cboEncryption_->addItem(q(app_.GetLangString(key)));
    cboEncryption_->setCurrentIndex(chosen);
}

void TfrmFTP::closeRequested() {
    // Never under a running step: it returns first (Cancel stops it at once).
    if (working_ > 0)
        closePending_ = true;
    else
        QDialog::done(QDialog::Rejected);
}

std::optional<std::string> TfrmFTP::askNewFolder(const std::string& basePath) {
    return NewFolderDialog(app_, this).ask(basePath, this);
}

void TfrmFTP::pump() {
    processEvents(false);
}

// --- handlers ------------------------------------------------------------------

void TfrmFTP::cmdNextClick() {
    work([this] {
        try {
            wizard_->cmdNextClick();
        } catch (...) {
            // An error no step expected: reported, and the wizard starts over
            // on its first page rather than standing half-way with Next off.
            ReportHandlerError(app_, std::current_exception());
            if (!wizard_->CancelRequested() && wizard_->page() != publish::WizardPage::Result)
                wizard_->FormShow();
        }
    });
}

void TfrmFTP::cmdCancelClick() {
    run([this] { wizard_->cmdCancelClick(); });
}

void TfrmFTP::reject() {
    cmdCancelClick();
}

void TfrmFTP::chkSaveFTPClick(bool checked) {
    run([&] { wizard_->chkSaveFTPClick(checked); });
}

void TfrmFTP::txtFTPHostChange(const QString& text) {
    run([&] { wizard_->txtFTPHostChange(s(text)); });
}

void TfrmFTP::txtFTPUserChange(const QString& text) {
    run([&] { wizard_->txtFTPUserChange(s(text)); });
}

void TfrmFTP::txtFTPPassChange(const QString& text) {
    run([&] { wizard_->txtFTPPassChange(s(text)); });
}

void TfrmFTP::txtFTPSubDirChange(const QString& text) {
    run([&] { wizard_->txtFTPSubDirChange(s(text)); });
}

void TfrmFTP::txtHTTPChange(const QString& text) {
    run([&] { wizard_->txtHTTPChange(s(text)); });
}

void TfrmFTP::txtFTPPortChange(const QString& text) {
    run([&] {
        const publish::PortEdit edit =
            wizard_->txtFTPPortChange(s(text), txtFTPPort_->cursorPosition());
        if (!edit.changed) return;
        const QSignalBlocker quiet(txtFTPPort_);
        txtFTPPort_->setText(q(edit.text));
        txtFTPPort_->setCursorPosition(edit.caret);
    });
}

void TfrmFTP::cboEncryptionChange(int index) {
    run([&] {
        if (index < 0 || index > 2) return;
        app_.settings.write(settings::kFtpEncryption, kEncryptionWords[index]);
    });
}

void TfrmFTP::showEncryptionChoice() {
    const QSignalBlocker quiet(cboEncryption_);
    if (cboEncryption_->count() == 0)
        for (const char* word : kEncryptionWords) cboEncryption_->addItem(word);
    cboEncryption_->setCurrentIndex(entryFor(publish::ReadEncryptionMode(app_.settings)));
}

void TfrmFTP::jvlstFtpDirListingClick(int index) {
    work([&] { wizard_->jvlstFtpDirListingClick(index); });
}

void TfrmFTP::optSyncTrueClick() {
    run([this] { wizard_->optSyncClick(true); });
}

void TfrmFTP::optSyncFalseClick() {
    run([this] { wizard_->optSyncClick(false); });
}

void TfrmFTP::txtHTMLSrcEnter() {
    SelectAllOnFocus::selectAll(txtHTMLSrc_);
}

void TfrmFTP::txtHTMLSrcClick() {
    SelectAllOnFocus::selectAll(txtHTMLSrc_);
}

void TfrmFTP::txtLinkShowEnter() {
    SelectAllOnFocus::selectAll(txtLinkShow_);
}

void TfrmFTP::txtLinkShowClick() {
    run([this] { wizard_->txtLinkShowClick(); });
}

void TfrmFTP::btnCopyHTMLSrcClick() {
    run([this] { wizard_->btnCopyHTMLSrcClick(); });
}

void TfrmFTP::btnCopyLinkClick() {
    run([this] { wizard_->btnCopyLinkClick(); });
}

void TfrmFTP::lblHTMLEditorLinkClick() {
    run([this] { wizard_->lblHTMLEditorLinkClick(); });
}

// The folder list answers Enter and Space like a click on the entry; Enter
// must not reach the dialog, whose default button would take the step too.
bool TfrmFTP::eventFilter(QObject* watched, QEvent* event) {
    if (watched == jvlstFtpDirListing_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
            const int row = jvlstFtpDirListing_->currentRow();
            if (row >= 0) jvlstFtpDirListingClick(row);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace lumetra::ui
