#pragma once
// File dialog filters: the language files hold them as
// "description|*.a;*.b|description|*.c"; Qt wants "description (*.a *.b);;…".

#include <string>

namespace lumetra::ui {

// A description that already names its patterns in parentheses keeps its
// words and gets Qt's pattern list instead. A trailing odd description
// without patterns is dropped.
std::string QtFileFilter(const std::string& filter);

}  // namespace lumetra::ui
