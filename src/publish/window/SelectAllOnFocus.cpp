#include "publish/window/SelectAllOnFocus.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTimer>

namespace lumetra::ui {

SelectAllOnFocus::SelectAllOnFocus(QWidget* field, std::function<void()> onEnter,
                                   std::function<void()> onClick)
    : QObject(field), field_(field), onEnter_(std::move(onEnter)), onClick_(std::move(onClick)) {
    field->installEventFilter(this);
    // A text box takes its clicks in its viewport.
    if (auto* area = qobject_cast<QAbstractScrollArea*>(field))
        area->viewport()->installEventFilter(this);
}

void SelectAllOnFocus::selectAll(QWidget* field) {
    if (auto* line = qobject_cast<QLineEdit*>(field))
        line->selectAll();
    else if (auto* text = qobject_cast<QPlainTextEdit*>(field))
        text->selectAll();
}

bool SelectAllOnFocus::eventFilter(QObject* watched, QEvent* event) {
    if (watched == field_ && event->type() == QEvent::FocusIn) {
        // After the click that gave the focus has placed its caret.
        QTimer::singleShot(0, field_, [this] {
            if (onEnter_) onEnter_();
        });
    } else if (event->type() == QEvent::MouseButtonRelease &&
               static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        QTimer::singleShot(0, field_, [this] {
            if (onClick_) onClick_();
        });
    }
    return false;
}

}  // namespace lumetra::ui
