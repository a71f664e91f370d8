#pragma once
// The please-wait window: a status line and a bar, shown without being modal
// while the main window is disabled during long work. It stays on top of the
// main window; messages raised meanwhile are parented to it, so they appear
// above it.

#include <QDialog>
#include <QElapsedTimer>

class QLabel;
class QProgressBar;

namespace lumetra {
class Application;
}

namespace lumetra::ui {

class TfrmMiscProgress : public QDialog {
    Q_OBJECT

  public:
    TfrmMiscProgress(Application& app, QWidget* mainWindow);

    // FormShow: translated, centred on the main window, painted at once.
    void showWaiting();
    void setStatus(const QString& text);
    void setMaximum(int maximum);
    void setPosition(int position);
    void stepIt();
    // Paints the window now (the work runs on the UI thread).
    void repaintNow();
    // The estimate of the time still needed ("about 0:12 left"), empty until
    // enough of the work is done to tell.
    QString remainingText() const;
    // Only the work that showed the window hides it: Escape does nothing.
    void reject() override {}

  private:
    void showRemaining();

    Application& app_;
    QWidget* mainWindow_;
    QLabel* status_;
    QLabel* remaining_;
    QProgressBar* bar_;
    QElapsedTimer clock_;  // since the bar stood at 0
};

}  // namespace lumetra::ui
