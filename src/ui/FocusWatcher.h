#pragma once
// Tells when a control gets or loses the keyboard focus (a field's enter and
// exit events), without a subclass of the control.

#include <QObject>

namespace lumetra::ui {

class FocusWatcher : public QObject {
    Q_OBJECT

  public:
    // Watches control; the watcher belongs to it.
    explicit FocusWatcher(QWidget* control);

  signals:
    void entered();
    void left();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace lumetra::ui
