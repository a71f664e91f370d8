#pragma once
// The window font. The layout's positions were made for an 8-point font of
// narrow metrics; Liberation Sans (Arial's metrics) lets every text of both
// languages fit its control at those positions (the text-fit test checks it).

#include <QFont>

namespace lumetra::ui {

QFont UiFont();

}  // namespace lumetra::ui
