#include "publish/window/TfrmFTPNewDir.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "publish/PublishView.h"
#include "ui/Geometry.h"
#include "ui/HandlerBoundary.h"
#include "ui/QtText.h"
#include "ui/TranslateForm.h"
#include "ui/WidgetStyle.h"
#include "ui/WindowPlacement.h"

namespace lumetra::ui {

namespace {

constexpr int kClientWidth = 330;
constexpr int kClientHeight = 140;

}  // namespace

TfrmFTPNewDir::TfrmFTPNewDir(Application& app, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), app_(app) {
    setObjectName("frmFTPNewDir");
    setWindowTitle("Neues Verzeichnis erstellen");
    setFixedSize(kClientWidth, kClientHeight);
    setModal(true);

    auto* nameLabel = place<QLabel>(this, "lblDirName", 12, 12, 306, 16);
    txtDirName_ = place<QLineEdit>(this, "txtDirName", 12, 30, 306, 21);
    nameLabel->setBuddy(txtDirName_);
    auto* pathLabel = place<QLabel>(this, "lblDirPath", 12, 58, 306, 16);
    txtDirPath_ = place<QLineEdit>(this, "txtDirPath", 12, 76, 306, 21);
    pathLabel->setBuddy(txtDirPath_);
    txtDirPath_->setReadOnly(true);
    txtDirPath_->setFocusPolicy(Qt::NoFocus);
    setFieldBackground(txtDirPath_, palette().color(QPalette::Window));

    btnCreate_ = place<QPushButton>(this, "btnCreate", 148, 106, 82, 25);
    btnCreate_->setText("Weiter >");
    btnCreate_->setDefault(true);
    btnCreate_->setEnabled(false);
    btnCancel_ = place<QPushButton>(this, "btnCancel", 236, 106, 82, 25);
    btnCancel_->setText("Abbrechen");
    btnCancel_->setAutoDefault(false);

    connect(txtDirName_, &QLineEdit::textChanged, this, &TfrmFTPNewDir::txtDirNameChange);
    connect(btnCreate_, &QPushButton::clicked, this, [this] { accept(); });
    connect(btnCancel_, &QPushButton::clicked, this, [this] { reject(); });
}

void TfrmFTPNewDir::FormShow() {
    guarded(app_, [this] { TranslateForm(app_, this, "frmFTPNewDir"); });
}

void TfrmFTPNewDir::txtDirNameChange(const QString& name) {
    guarded(app_, [&] {
        btnCreate_->setEnabled(!name.isEmpty());
        txtDirPath_->setText(q(publish::NewFolderPath(BasePath, name.toStdString())));
    });
}

std::optional<std::string> TfrmFTPNewDir::ask(const std::string& basePath, QWidget* owner) {
    BasePath = basePath;
    // Each use starts without a name, so the preview and Create fit it.
    txtDirName_->clear();
    txtDirNameChange({});
    txtDirPath_->setText(q(basePath));
    FormShow();
    if (owner) CentreOn(this, owner);
    txtDirName_->setFocus();
    if (exec() != QDialog::Accepted) return std::nullopt;
    return txtDirPath_->text().toStdString();
}

TfrmFTPNewDir& NewFolderDialog(Application& app, QWidget* owner) {
    QWidget* main = MainWindowOf(owner);
    if (main)
        if (auto* dialog =
                main->findChild<TfrmFTPNewDir*>("frmFTPNewDir", Qt::FindDirectChildrenOnly))
            return *dialog;
    // Kept by the main window, so it lives as long as the program's windows.
    return *new TfrmFTPNewDir(app, main);
}

}  // namespace lumetra::ui
