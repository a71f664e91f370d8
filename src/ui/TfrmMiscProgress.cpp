#include "ui/TfrmMiscProgress.h"

#include <QLabel>
#include <QProgressBar>
#include <QScreen>

#include "app/Application.h"
#include "lang/LangKeys.h"
#include "ui/TranslateForm.h"
#include "ui/WindowPlacement.h"

namespace lumetra::ui {

namespace {
constexpr int kClientWidth = 289;
constexpr int kClientHeight = 55;
// The estimate comes once a few steps are done and the work has gone on for
// a moment: before, it would only jump about.
constexpr int kStepsBeforeEstimate = 4;
constexpr qint64 kMsBeforeEstimate = 1000;

QString minutesAndSeconds(qint64 ms) {
    const qint64 seconds = (ms + 999) / 1000;
    return QString("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QChar('0'));
}
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
    remaining_ = new QLabel(this);
    remaining_->setObjectName("lblRemaining");
    remaining_->setGeometry(8, 8, kClientWidth - 16, 16);
    remaining_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    bar_ = new QProgressBar(this);
    bar_->setObjectName("ProgressBar2");
    bar_->setGeometry(8, 29, kClientWidth - 16, 17);
    bar_->setTextVisible(false);
    bar_->setRange(0, 100);
    bar_->setValue(0);
}

void TfrmMiscProgress::showWaiting() {
    // A window of its own: the main window, disabled meanwhile, would grey
    // it as its child.
    setEnabled(true);
    TranslateForm(app_, this, "frmMiscProgress");
    if (mainWindow_) CentreOn(this, mainWindow_);
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
    if (position <= 0) {
        clock_.start();
        remaining_->clear();
    }
    showRemaining();
}

void TfrmMiscProgress::stepIt() {
    bar_->setValue(std::min(bar_->value() + 1, bar_->maximum()));
    showRemaining();
}

void TfrmMiscProgress::repaintNow() {
    status_->repaint();
    remaining_->repaint();
    bar_->repaint();
}

QString TfrmMiscProgress::remainingText() const {
    const qint64 done = bar_->value() - bar_->minimum();
    const qint64 left = bar_->maximum() - bar_->value();
    if (!clock_.isValid() || done < kStepsBeforeEstimate || left <= 0) return {};
    const qint64 elapsed = clock_.elapsed();
    if (elapsed < kMsBeforeEstimate) return {};
    return QString::fromStdString(
        MessageText(app_.language, lang::frmMiscProgress::kRemaining,
                    {minutesAndSeconds(elapsed * left / done).toStdString()}));
}

void TfrmMiscProgress::showRemaining() {
    remaining_->setText(remainingText());
}

}  // namespace lumetra::ui
