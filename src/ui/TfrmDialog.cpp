#include "ui/TfrmDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <filesystem>

#include "app/Application.h"
#include "app/Services.h"
#include "app/SettingsKeys.h"
#include "generator/ShowNames.h"
#include "lang/LangKeys.h"
#include "ui/Geometry.h"
#include "ui/HandlerBoundary.h"
#include "ui/TranslateForm.h"
#include "ui/WidgetStyle.h"
#include "ui/WindowPlacement.h"

namespace lumetra::ui {

namespace fs = std::filesystem;

namespace {

constexpr int kClientWidth = 333;
constexpr int kClientHeight = 259;
constexpr int kWhiteHeight = 212;
constexpr int kTextLeft = 56;
constexpr int kTextWidth = kClientWidth - kTextLeft - 12;
constexpr int kFirstBoxTop = 134;
constexpr int kBoxStep = 22;

QLabel* text(QWidget* parent, const char* name, int y, int h, bool bold, const char* builtIn) {
    auto* label = place<QLabel>(parent, name, kTextLeft, y, kTextWidth, h);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setText(builtIn);
    if (bold) setBold(label);
    return label;
}

}  // namespace

TfrmDialog::TfrmDialog(Application& app, std::string page, QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      app_(app),
      page_(std::move(page)),
      mainWindow_(mainWindow) {
    setObjectName("frmDialog");
    setFixedSize(kClientWidth, kClientHeight);
    setModal(true);
    build();
}

void TfrmDialog::build() {
    QFrame* white = filledPanel(this, "panWhite", {0, 0, kClientWidth, kWhiteHeight}, Qt::white);
    auto* icon = place<QLabel>(white, "imgInfo", 12, 12, 32, 32);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    text(white, "lblDialog1", 12, 20, true, "Die Galerie wurde erfolgreich erstellt. ");
    text(white, "lblDialog3", 34, 72, false, "");
    text(white, "lblDialog2", 110, 18, true, "Was möchten Sie als Nächstes tun?");
    auto box = [&](const char* name, const char* builtIn) {
        auto* check = place<QCheckBox>(white, name, kTextLeft, 0, kTextWidth, 18);
        check->setText(builtIn);
        return check;
    };
    chkBrowser_ = box("chkBrowser", "Galerie in Browser anzeigen");
    chkFTP_ = box("chkFTP", "Galerie per FTP auf Server übertragen");
    chkOpenDir_ = box("chkOpenDir", "Enthaltendes Verzeichnis öffnen");
    cmdOK_ = place<QPushButton>(this, "cmdOK", kClientWidth - 176, kClientHeight - 35, 80, 25);
    cmdOK_->setText("OK");
    cmdOK_->setDefault(true);
    cmdCancel_ =
        place<QPushButton>(this, "cmdCancel", kClientWidth - 88, kClientHeight - 35, 80, 25);
    cmdCancel_->setText("Abbrechen");
    // QDialog answers Escape with reject(), which is what Cancel does.
    connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdOK_, &QPushButton::clicked, this, [this] { guarded(app_, [&] { cmdOKClick(); }); });
}

void TfrmDialog::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void TfrmDialog::FormShow() {
    const bool publishing = bool(openPublishWizard);
    chkBrowser_->setChecked(app_.settings.read(settings::kDialogBrowser));
    chkFTP_->setChecked(app_.settings.read(settings::kDialogFtp));
    chkOpenDir_->setChecked(app_.settings.read(settings::kDialogOpenDir));
    // The boxes keep their order; without publishing the folder box moves up.
    chkFTP_->setVisible(publishing);
    chkBrowser_->move(kTextLeft, kFirstBoxTop);
    chkFTP_->move(kTextLeft, kFirstBoxTop + kBoxStep);
    chkOpenDir_->move(kTextLeft, kFirstBoxTop + kBoxStep * (publishing ? 2 : 1));

    lang::TranslationState state;
    state.pageFileName = fs::path(page_).filename().replace_extension(".html").string();
    state.dataFolderName = SafeShowName(page_) + app_.GetLangString(lang::gui::kDataDirName);
    TranslateForm(app_, this, "frmDialog", state);
    if (mainWindow_) CentreOn(this, mainWindow_);
    cmdOK_->setFocus();
}

void TfrmDialog::cmdOKClick() {
    const bool publish = openPublishWizard && chkFTP_->isChecked();
    app_.settings.write(settings::kDialogBrowser, chkBrowser_->isChecked());
    if (openPublishWizard) app_.settings.write(settings::kDialogFtp, chkFTP_->isChecked());
    app_.settings.write(settings::kDialogOpenDir, chkOpenDir_->isChecked());
    fs::path page = page_;
    page.replace_extension(".html");
    if (chkBrowser_->isChecked()) app_.services.openUrl(page.string());
    if (chkOpenDir_->isChecked()) app_.services.openUrl(page.parent_path().string());
    if (publish) {
        hide();
        openPublishWizard();
    }
    accept();
}

}  // namespace lumetra::ui
