#include "ui/FileFilter.h"

#include <vector>

namespace lumetra::ui {

namespace {

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string::npos) return parts;
        start = end + 1;
    }
}

std::string trim(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// "Pictures (*.jpg, *.png)" -> "Pictures": Qt reads the last parentheses as
// the patterns, so the language file's own list must not stand there.
std::string withoutPatternList(std::string description) {
    description = trim(description);
    if (!description.empty() && description.back() == ')') {
        const auto open = description.rfind('(');
        if (open != std::string::npos && description.find('*', open) != std::string::npos)
            description = trim(description.substr(0, open));
    }
    return description;
}

}  // namespace

std::string QtFileFilter(const std::string& filter) {
    const std::vector<std::string> parts = split(filter, '|');
    std::string out;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        std::string patterns;
        for (const std::string& p : split(parts[i + 1], ';')) {
            const std::string pattern = trim(p);
            if (pattern.empty()) continue;
            patterns += (patterns.empty() ? "" : " ") + pattern;
        }
        if (patterns.empty()) continue;
        std::string description = withoutPatternList(parts[i]);
        if (!out.empty()) out += ";;";
        out += (description.empty() ? "" : description + " ") + "(" + patterns + ")";
    }
    return out;
}

}  // namespace lumetra::ui
