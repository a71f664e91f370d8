#include "update/VersionFile.h"

#include <cstdlib>

#include "lang/LangKeys.h"

namespace lumetra::update {

std::string VersionFileAddress() {
    const char* replaced = std::getenv("LUMETRA_UPDATE_URL");
    if (replaced && *replaced) return replaced;
    return std::string(lang::kVersionFileAddress);
}

std::vector<std::string> SplitLines(std::string_view body) {
    std::vector<std::string> lines;
    while (!body.empty()) {
        const std::size_t end = body.find('\n');
        std::string_view line = body.substr(0, end);
        if (end != std::string_view::npos && line.ends_with('\r')) line.remove_suffix(1);
        lines.emplace_back(line);
        if (end == std::string_view::npos) break;
        body.remove_prefix(end + 1);
    }
    return lines;
}

}  // namespace lumetra::update
