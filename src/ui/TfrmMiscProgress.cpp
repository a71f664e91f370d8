#include "ui/TfrmMiscProgress.h"

#include <QLabel>
#include <QProgressBar>
#include <QScreen>

#include "ui/TranslateForm.h"

namespace lumetra::ui {

namespace {
constexpr int kClientWidth = 289;
constexpr int kClientHeight = 55;
}  // namespace

TfrmMiscProgress::TfrmMiscProgress(Application& app, QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowStaysOnTopHint),
      app_(app),
      mainWindow_(mainWindow) {
    setObjectName("frmMiscProgress");
    setWindowTitle("Bitte warten ...");
    setFixedSize(kClientWidth, kClientHeight);
    setModal(false);
    status_ = new QLabel("Vorgang wird bearbeitet...", this);
    status_->setObjectName("Label2");
    status_->setGeometry(8, 8, kClientWidth - 16, 16);
    bar_ = new QProgressBar(this);
    bar_->setObjectName("ProgressBar2");
    bar_->setGeometry(8, 29, kClientWidth - 16, 17);
    bar_->setTextVisible(false);
    bar_->setRange(0, 100);
    bar_->setValue(0);
}

void TfrmMiscProgress::showWaiting() {
    TranslateForm(app_, this, "frmMiscProgress");
    if (mainWindow_) {
        const QRect main = mainWindow_->geometry();
        move(main.center() - QPoint(width() / 2, height() / 2));
    }
    show();
    raise();
    repaintNow();
}

void TfrmMiscProgress::setStatus(const QString& text) {
    status_->setText(text);
}

void TfrmMiscProgress::setMaximum(int maximum) {
    bar_->setRange(0, std::max(maximum, 0));
}

void TfrmMiscProgress::setPosition(int position) {
    bar_->setValue(position);
}

void TfrmMiscProgress::stepIt() {
    bar_->setValue(std::min(bar_->value() + 1, bar_->maximum()));
}

void TfrmMiscProgress::repaintNow() {
    status_->repaint();
    bar_->repaint();
}

}  // namespace lumetra::ui
