#include "lang/Placeholders.h"

namespace lumetra {

std::string ReplacePlaceholder(std::string_view text, std::string_view token,
                               std::string_view value) {
    return ReplacePlaceholders(text, {{token, value}});
}

std::string ReplacePlaceholders(
    std::string_view text,
    std::initializer_list<std::pair<std::string_view, std::string_view>> replacements) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        bool replaced = false;
        for (const auto& [token, value] : replacements) {
            if (!token.empty() && text.compare(i, token.size(), token) == 0) {
                out += value;
                i += token.size();
                replaced = true;
                break;
            }
        }
        if (!replaced) out += text[i++];
    }
    return out;
}

}  // namespace lumetra
