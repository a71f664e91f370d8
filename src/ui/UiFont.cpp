#include "ui/UiFont.h"

#include <QFontDatabase>
#include <QStringList>

namespace lumetra::ui {

QFont UiFont() {
    QFont font(QStringLiteral("Liberation Sans"));
    if (!QFontDatabase::families().contains(font.family())) font = QFont(QStringLiteral("Sans"));
    font.setPointSizeF(8);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

}  // namespace lumetra::ui
