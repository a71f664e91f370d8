#pragma once
// Where the program's dialogs appear: centred on the window they belong to.

#include <QWidget>

namespace lumetra::ui {

// Places window's client area in the middle of owner's; the frame is the
// desktop's.
inline void CentreOn(QWidget* window, const QWidget* owner) {
    QRect client(QPoint(), window->size());
    client.moveCenter(owner->geometry().center());
    window->setGeometry(client);
}

// The program's main window: the top of owner's chain of parents.
inline QWidget* MainWindowOf(QWidget* owner) {
    QWidget* top = owner;
    while (top && top->parentWidget()) top = top->parentWidget();
    return top;
}

}  // namespace lumetra::ui
