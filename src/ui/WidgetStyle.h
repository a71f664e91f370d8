#pragma once
// The few looks the program's windows give their controls: panels that
// paint their own background, sunken separator lines, bold and coloured
// texts, links, and the step list of the assistants, whose current step is
// bold.

#include <QFrame>
#include <QLabel>
#include <initializer_list>

#include "ui/Geometry.h"

namespace lumetra::ui {

// The widget paints its own background in colour instead of its parent's.
inline void fillBackground(QWidget* widget, const QColor& colour) {
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
}

inline QFrame* filledPanel(QWidget* parent, const char* name, QRect rect, const QColor& colour) {
    auto* frame = place<QFrame>(parent, name, rect.x(), rect.y(), rect.width(), rect.height());
    fillBackground(frame, colour);
    return frame;
}

// An input field's background (a read-only field in the window's colour
// looks like the greyed field it stands for).
inline void setFieldBackground(QWidget* field, const QColor& colour) {
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, colour);
    field->setPalette(palette);
}

// A sunken line across the whole width of parent.
inline QFrame* separator(QWidget* parent, const char* name, int y) {
    auto* line = place<QFrame>(parent, name, 0, y, parent->width(), 2);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

inline void setBold(QWidget* widget, bool bold = true) {
    QFont font = widget->font();
    font.setBold(bold);
    widget->setFont(font);
}

inline void setTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

// Underlined text in colour: a label that opens something when clicked.
inline void styleAsLink(QWidget* widget, const QColor& colour, bool bold = false) {
    QFont font = widget->font();
    font.setBold(bold);
    font.setUnderline(true);
    widget->setFont(font);
    setTextColour(widget, colour);
}

// An assistant's list of steps: the current one bold, the others plain.
inline void showCurrentStep(std::initializer_list<QLabel*> steps, std::size_t current) {
    std::size_t i = 0;
    for (QLabel* step : steps) setBold(step, i++ == current);
}

}  // namespace lumetra::ui
