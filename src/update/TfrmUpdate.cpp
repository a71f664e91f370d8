#include "update/TfrmUpdate.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

#include "app/Application.h"
#include "app/Services.h"
#include "app/Version.h"
#include "lang/LangKeys.h"
#include "ui/ClickableLabel.h"
#include "ui/Geometry.h"
#include "ui/HandlerBoundary.h"
#include "ui/QtText.h"
#include "ui/TranslateForm.h"
#include "ui/WidgetStyle.h"
#include "ui/WindowPlacement.h"
#include "update/BackgroundFetch.h"
#include "update/UpdateCheck.h"

namespace lumetra::ui {

namespace {

constexpr int kClientWidth = 486;
constexpr int kClientHeight = 348;
constexpr int kHeaderHeight = 56;
constexpr int kStripWidth = 128;
constexpr int kPageTop = kHeaderHeight + 2;
constexpr int kPageHeight = 234;
constexpr int kPageWidth = kClientWidth - kStripWidth;
constexpr int kTextLeft = 16;
constexpr int kTextWidth = kPageWidth - 2 * kTextLeft;

const QColor kNavy(0x00, 0x00, 0x80);
const QColor kBackground(0xF5, 0xF5, 0xF5);
const QColor kNewVersionRed(223, 0, 0);
const QColor kNoNewVersionGreen(0, 128, 0);
const QColor kLinkBlue(0x00, 0x00, 0xFF);

TfrmUpdate::ModalRunner& modalRunner() {
    static TfrmUpdate::ModalRunner runner;
    return runner;
}

// Texts from the language file are shown as they stand, never as markup.
template <typename L = QLabel>
L* text(QWidget* parent, const char* name, QRect rect, const char* builtIn, bool wrap = false) {
    auto* label = place<L>(parent, name, rect.x(), rect.y(), rect.width(), rect.height());
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(wrap);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setText(builtIn);
    return label;
}

ClickableLabel* link(QWidget* parent, const char* name, QRect rect, bool bold) {
    auto* label = text<ClickableLabel>(parent, name, rect, "");
    styleAsLink(label, kLinkBlue, bold);
    label->hide();
    return label;
}

}  // namespace

TfrmUpdate::TfrmUpdate(Application& app, QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      app_(app),
      mainWindow_(mainWindow),
      ownVersion_(ProgramVersion(true)) {
    // FormCreate.
    setObjectName("frmUpdate");
    setWindowTitle("Auf neue Version prüfen");
    setFixedSize(kClientWidth, kClientHeight);
    fillBackground(this, kBackground);
    buildHeader();
    buildSteps();
    buildCheckPage();
    buildResultPage();
    separator(this, nullptr, kPageTop + kPageHeight);
    cmdCancel_ = place<QPushButton>(this, "cmdCancel", 388, 308, 88, 26);
    cmdCancel_->setText("Abbrechen");
    cmdCancel_->setAutoDefault(false);
    connectHandlers();
}

TfrmUpdate::~TfrmUpdate() {
    fetch_.reset();
}

void TfrmUpdate::buildHeader() {
    QFrame* header = filledPanel(this, "panTop", {0, 0, kClientWidth, kHeaderHeight}, Qt::white);
    Label2_ = text(header, "Label2", {16, 10, 440, 16}, "Update-Assistent");
    setBold(Label2_, true);
    Label3_ = text(header, "Label3", {32, 29, 440, 24},
                   "Dieser Assistent hilft Ihnen, stets die aktuellste Programmversion zu "
                   "verwenden.",
                   true);
    separator(this, nullptr, kHeaderHeight);
}

void TfrmUpdate::buildSteps() {
    panLeft_ = filledPanel(this, "panLeft", {0, kPageTop, kStripWidth, kPageHeight}, kNavy);
    lblLeft1_ = text(panLeft_, "lblLeft1", {14, 20, kStripWidth - 20, 16}, "Prüfung");
    lblLeft2_ = text(panLeft_, "lblLeft2", {14, 44, kStripWidth - 20, 16}, "Aktualisierung");
    for (QLabel* step : {lblLeft1_, lblLeft2_}) setTextColour(step, Qt::white);
    setBold(lblLeft1_, true);
}

void TfrmUpdate::buildCheckPage() {
    panBack1_ = filledPanel(this, "panBack1", {kStripWidth, kPageTop, kPageWidth, kPageHeight},
                            kBackground);
    Label4_ = text(panBack1_, "Label4", {kTextLeft, 16, kTextWidth, 48}, "", true);
    cmdCheck_ = place<QPushButton>(panBack1_, "cmdCheck", kTextLeft, 72, 140, 26);
    cmdCheck_->setText("Prüfung starten");
    cmdCheck_->setDefault(true);
    QFrame* note = filledPanel(panBack1_, "panNote", {kTextLeft, 120, kTextWidth, 96}, kBackground);
    note->setFrameShape(QFrame::StyledPanel);
    note->setFrameShadow(QFrame::Sunken);
    Label1_ = text(note, "Label1", {10, 8, kTextWidth - 20, 16}, "Hinweis:");
    setBold(Label1_, true);
    Label6_ = text(note, "Label6", {10, 26, kTextWidth - 20, 62}, "", true);
}

void TfrmUpdate::buildResultPage() {
    panBack2_ = filledPanel(this, "panBack2", {kStripWidth, kPageTop, kPageWidth, kPageHeight},
                            kBackground);
    lblVers1_ = text(panBack2_, "lblVers1", {kTextLeft, 16, kTextWidth, 16},
                     "Verwendete Programmversion: 0.0.0");
    lblVers2_ = text(panBack2_, "lblVers2", {kTextLeft, 36, kTextWidth, 16},
                     "Aktuellste Programmversion: 0.0.0");
    lblStatus_ = text(panBack2_, "lblStatus", {kTextLeft, 64, kTextWidth, 44}, "Status", true);
    setBold(lblStatus_, true);
    lblDownload_ = link(panBack2_, "lblDownload", {kTextLeft, 112, kTextWidth, 16}, true);
    lblVersHist_ = text(panBack2_, "lblVersHist", {kTextLeft, 148, kTextWidth, 30},
                        "Zusammenfassung der Neuerungen in dieser Programmversion:", true);
    lblVersHist_->hide();
    lblHistory_ = link(panBack2_, "lblHistory", {kTextLeft, 182, kTextWidth, 16}, false);
    panBack2_->hide();
}

void TfrmUpdate::connectHandlers() {
    connect(cmdCheck_, &QPushButton::clicked, this,
            [this] { guarded(app_, [&] { cmdCheckClick(); }); });
    connect(lblDownload_, &ClickableLabel::clicked, this,
            [this] { guarded(app_, [&] { lblDownloadClick(); }); });
    connect(lblHistory_, &ClickableLabel::clicked, this,
            [this] { guarded(app_, [&] { lblHistoryClick(); }); });
    // Cancel and Esc close the window.
    connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::reject);
}

// ---------------------------------------------------------------- showing

void TfrmUpdate::setModalRunner(ModalRunner runner) {
    modalRunner() = std::move(runner);
}

int TfrmUpdate::showModal() {
    if (mainWindow_) CentreOn(this, mainWindow_);
    if (!modalRunner()) return exec();
    setWindowModality(Qt::ApplicationModal);
    show();
    modalRunner()(*this);
    if (isVisible()) reject();
    return result();
}

void TfrmUpdate::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Shown by the program, not restored by the desktop.
    if (!event->spontaneous()) guarded(app_, [&] { FormShow(); });
}

void TfrmUpdate::FormShow() {
    TranslateForm(app_, this, "frmUpdate");
    cmdCheck_->setFocus();
    panBack1_->show();
    panBack2_->hide();
}

// ---------------------------------------------------------------- the check

void TfrmUpdate::cmdCheckClick() {
    if (fetch_) return;  // one check at a time
    setEnabled(false);
    try {
        lblVers1_->setText(q(app_.GetLangString(lang::frmUpdate::kCurVersion) + " " + ownVersion_));
        update::UpdateCheckOptions options;
        options.ownVersion = ownVersion_;
        const publish::HttpRequest request = update::VersionFileRequest(app_.settings, options);
        // The answer comes back to this window's thread; a window already
        // destroyed drops it with its pending events.
        fetch_ = std::make_unique<update::BackgroundFetch>(
            client_, request, [this](publish::HttpResponse response) {
                QMetaObject::invokeMethod(
                    this,
                    [this, response = std::move(response)] {
                        guarded(app_, [&] { fetchFinished(response); });
                        emit checkFinished();
                    },
                    Qt::QueuedConnection);
            });
    } catch (...) {
        setEnabled(true);
        throw;
    }
}

void TfrmUpdate::done(int r) {
    // Closed during a check: the request is abandoned, its answer ignored.
    if (fetch_) {
        abandoned_ = true;
        fetch_->stop();
    }
    QDialog::done(r);
}

void TfrmUpdate::fetchFinished(const publish::HttpResponse& response) {
    fetch_.reset();
    if (abandoned_) {
        abandoned_ = false;
        return;
    }
    // However it ends, the window can be used again; a failure keeps it on
    // its first page, where the check can be repeated at once (the keyboard
    // focus went when the window was disabled).
    struct Reenable {
        TfrmUpdate* window;
        ~Reenable() {
            window->setEnabled(true);
            if (window->panBack1_->isVisible()) window->cmdCheck_->setFocus();
        }
    } reenable{this};
    // Writes Update/LastCheck, then throws on a file without a line: the
    // handler boundary reports it.
    const update::UpdateCheckResult result =
        update::EvaluateVersionFile(response, ownVersion_, app_.settings);
    if (result.outcome == update::UpdateOutcome::Failed) {
        const std::string text = app_.GetLangString(lang::messages::kUpdateCheckConnErr);
        app_.services.messageBox(text, app_.language.applicationTitle(), mb::kOk);
        return;
    }
    showResult(result);
}

void TfrmUpdate::showResult(const update::UpdateCheckResult& result) {
    lblVers2_->setText(
        q(app_.GetLangString(lang::frmUpdate::kRecVersion) + " " + result.newestVersion));
    const bool newer = result.outcome == update::UpdateOutcome::NewVersion;
    setTextColour(lblStatus_, newer ? kNewVersionRed : kNoNewVersionGreen);
    lblStatus_->setText(q(
        app_.GetLangString(newer ? lang::frmUpdate::kNewVersion : lang::frmUpdate::kNoNewVersion)));
    lblDownload_->setVisible(newer);
    lblVersHist_->setVisible(newer);
    lblHistory_->setVisible(newer);
    setEnabled(true);
    showCurrentStep({lblLeft1_, lblLeft2_}, 1);
    panBack1_->hide();
    panBack2_->show();
    cmdCancel_->setText(q(app_.GetLangString(lang::frmUpdate::kCmdCancel2)));
    cmdCancel_->setFocus();
}

// ---------------------------------------------------------------- links

void TfrmUpdate::lblDownloadClick() {
    openLink(lblDownload_);
}

void TfrmUpdate::lblHistoryClick() {
    openLink(lblHistory_);
}

void TfrmUpdate::openLink(const QLabel* link) {
    // The caption is the address. Only a web address is handed to the
    // desktop: an empty or odd text from the language file opens nothing.
    const QString address = link->text().trimmed();
    if (!address.startsWith("http://", Qt::CaseInsensitive) &&
        !address.startsWith("https://", Qt::CaseInsensitive))
        return;
    app_.services.openUrl(address.toStdString());
}

}  // namespace lumetra::ui
