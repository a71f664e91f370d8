#pragma once
// Places a new control at its position and size (device-independent pixels)
// and gives it its objectName.

#include <QWidget>

namespace lumetra::ui {

template <typename W>
W* place(QWidget* parent, const char* name, int x, int y, int w, int h) {
    auto* widget = new W(parent);
    widget->setObjectName(name);
    widget->setGeometry(x, y, w, h);
    return widget;
}

// A label that takes the size of its text (the window's auto-size labels).
template <typename W>
W* placeAuto(QWidget* parent, const char* name, int x, int y) {
    auto* widget = new W(parent);
    widget->setObjectName(name);
    widget->move(x, y);
    widget->setProperty("autoSize", true);
    return widget;
}

}  // namespace lumetra::ui
