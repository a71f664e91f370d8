#include "app/SettingsFields.h"

#include <algorithm>

namespace lumetra {

FilteredText FilterAllowed(std::string_view text, std::string_view allowed, int caret) {
    FilteredText out;
    for (char c : text)
        if (allowed.find(c) != std::string_view::npos) out.text += c;
    out.changed = out.text.size() != text.size();
    out.caret = out.changed ? std::max(caret - 1, 0) : caret;
    return out;
}

std::string OwnAudioPath(const std::string& fieldText, const std::string& hint) {
    return fieldText == hint ? std::string() : fieldText;
}

bool FixedSizeFieldsVisible(bool fitImages, int fitMode) {
    return fitImages && fitMode == 2;
}

}  // namespace lumetra
