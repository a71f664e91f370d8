#include "ui/FocusWatcher.h"

#include <QEvent>
#include <QWidget>

namespace lumetra::ui {

FocusWatcher::FocusWatcher(QWidget* control) : QObject(control) {
    control->installEventFilter(this);
}

bool FocusWatcher::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) emit entered();
    if (event->type() == QEvent::FocusOut) emit left();
    return QObject::eventFilter(watched, event);
}

}  // namespace lumetra::ui
