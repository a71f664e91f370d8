#pragma once
// Small builders shared by the main window's pages: headings, captioned
// check and radio boxes, picture buttons and labelled fields.

#include <QLabel>
#include <string>

#include "ui/Geometry.h"
#include "ui/PictureWidgets.h"
#include "ui/WidgetStyle.h"

namespace lumetra::ui::pages {

inline QLabel* subHeading(QWidget* page, const char* name, int x, int y, const char* text) {
    auto* label = placeAuto<QLabel>(page, name, x, y);
    setBold(label);
    label->setText(text);
    label->adjustSize();
    return label;
}

inline QLabel* groupHeading(QWidget* page, const char* name, const char* icon, int top,
                            const char* text) {
    auto* picture =
        place<PictureWidget>(page, (std::string(name) + "Icon").c_str(), 8, top + 4, 24, 24);
    picture->setArt(icon);
    return subHeading(page, name, 40, top + 9, text);
}

template <typename W>
W* captioned(QWidget* page, const char* name, int x, int y, int w, const char* text) {
    auto* widget = place<W>(page, name, x, y, w, 18);
    widget->setText(text);
    return widget;
}

inline PictureButton* pictureButton(QWidget* page, const char* name, int x, int y, int w, int h,
                                    const char* art) {
    auto* button = place<PictureButton>(page, name, x, y, w, h);
    button->setArt(art);
    button->setHoverFrame(true);
    return button;
}

// A field's label; the field is its buddy (a field may have none yet).
inline QLabel* labelled(QWidget* page, QWidget* field, const char* name, int x, int y, int w,
                        const char* text) {
    auto* label = place<QLabel>(page, name, x, y, w, 16);
    label->setText(text);
    if (field) label->setBuddy(field);
    return label;
}

}  // namespace lumetra::ui::pages
