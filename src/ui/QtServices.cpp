#include "ui/QtServices.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

#include "ui/AudioPlayer.h"
#include "ui/FileFilter.h"
#include "ui/QtColor.h"
#include "ui/QtText.h"

namespace lumetra::ui {

namespace {

QMessageBox::Icon iconFor(int flags) {
    switch (flags & 0xF0) {
        case mb::kIconError:
            return QMessageBox::Critical;
        case mb::kIconWarning:
            return QMessageBox::Warning;
        case mb::kIconInformation:
            return QMessageBox::Information;
        case mb::kIconQuestion:
            return QMessageBox::Question;
        default:
            return QMessageBox::NoIcon;
    }
}

// The folder a dialog opens in: the folder of a path, or the path itself.
QString startFolder(const std::string& path) {
    return q(path);
}

}  // namespace

QtServices::QtServices(std::function<QWidget*()> dialogParent)
    : dialogParent_(std::move(dialogParent)) {}

QtServices::~QtServices() = default;

QWidget* QtServices::parent() const {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    // A please-wait window stays on top of the main window: a message must
    // belong to it, or it would open behind it.
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && (window->windowFlags() & Qt::WindowStaysOnTopHint))
            return window;
    return dialogParent_ ? dialogParent_() : nullptr;
}

int QtServices::messageBox(const std::string& text, const std::string& caption, int flags) {
    QWidget* owner = parent();
    QMessageBox box(iconFor(flags), q(caption), q(text), QMessageBox::NoButton, owner);
    // Above a please-wait window that stays on top, never hidden behind it.
    if (owner && (owner->windowFlags() & Qt::WindowStaysOnTopHint))
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
    switch (flags & 0x0F) {
        case mb::kYesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            box.setDefaultButton(QMessageBox::Yes);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
        case mb::kYesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setDefaultButton(QMessageBox::Yes);
            break;
        default:
            box.setStandardButtons(QMessageBox::Ok);
            box.setEscapeButton(QMessageBox::Ok);
    }
    box.exec();
    switch (box.standardButton(box.clickedButton())) {
        case QMessageBox::Yes:
            return mb::IDYES;
        case QMessageBox::No:
            return mb::IDNO;
        case QMessageBox::Ok:
            return mb::IDOK;
        default:
            return (flags & 0x0F) == mb::kYesNo ? mb::IDNO : mb::IDCANCEL;
    }
}

std::vector<std::string> QtServices::openFiles(const FileDialogRequest& request, bool multiple) {
    QFileDialog dialog(parent(), q(request.title), startFolder(request.initialPath),
                       q(QtFileFilter(request.filter)));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    std::vector<std::string> chosen;
    if (dialog.exec() == QDialog::Accepted)
        for (const QString& file : dialog.selectedFiles()) chosen.push_back(file.toStdString());
    return chosen;
}

std::optional<std::string> QtServices::saveFile(const FileDialogRequest& request) {
    QFileDialog dialog(parent(), q(request.title), startFolder(request.initialPath),
                       q(QtFileFilter(request.filter)));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!request.defaultExtension.empty()) dialog.setDefaultSuffix(q(request.defaultExtension));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front().toStdString();
}

std::optional<std::string> QtServices::chooseFolder(const std::string& prompt,
                                                    const std::string& start) {
    const QString folder = QFileDialog::getExistingDirectory(parent(), q(prompt), q(start));
    if (folder.isEmpty()) return {};
    return folder.toStdString();
}

std::optional<std::uint32_t> QtServices::chooseColor(std::uint32_t initial) {
    const QColor chosen = QColorDialog::getColor(ToQColor(initial), parent());
    if (!chosen.isValid()) return {};
    return FromQColor(chosen);
}

bool QtServices::openUrl(const std::string& urlOrPath) {
    const QString text = q(urlOrPath);
    const bool address = text.contains(QLatin1String("://")) || text.startsWith("mailto:");
    return QDesktopServices::openUrl(address ? QUrl(text) : QUrl::fromLocalFile(text));
}

void QtServices::setClipboardText(const std::string& text) {
    QApplication::clipboard()->setText(q(text));
}

void QtServices::beep() {
    QApplication::beep();
}

bool QtServices::playAudio(const std::string& path) {
    if (!audio_) {
        audio_ = std::make_unique<AudioPlayer>();
        audio_->ended = [this] {
            if (audioEnded_) audioEnded_();
        };
    }
    return audio_->play(q(path));
}

void QtServices::stopAudio() {
    if (audio_) audio_->stop();
}

void QtServices::setAudioEndedHandler(std::function<void()> handler) {
    audioEnded_ = std::move(handler);
}

}  // namespace lumetra::ui
