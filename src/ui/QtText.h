#pragma once
// The core's texts are UTF-8 std::string; a window shows them as QString.

#include <QString>
#include <string>

namespace lumetra::ui {

inline QString q(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace lumetra::ui
