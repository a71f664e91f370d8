#include "generator/ShowNames.h"

#include <cctype>
#include <filesystem>
#include <unordered_set>

#include "app/Application.h"
#include "generator/picture/ImagePreparation.h"

namespace lumetra {

namespace {

// File name part after the last "/" (the platform's only separator).
std::string_view FileNamePart(std::string_view path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view WithoutExtension(std::string_view name) {
    const auto dot = name.find_last_of('.');
    return dot == std::string_view::npos ? name : name.substr(0, dot);
}

// Length of the UTF-8 character starting at text[i]; 1 for a stray byte.
std::size_t CharacterLength(std::string_view text, std::size_t i) {
    const auto b = static_cast<unsigned char>(text[i]);
    std::size_t len = b >= 0xF0 && b <= 0xF4 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 && b <= 0xDF ? 2 : 1;
    if (b >= 0xF5) len = 1;
    if (i + len > text.size()) return 1;
    for (std::size_t k = 1; k < len; ++k)
        if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return 1;
    return len;
}

std::string SafeCharacter(std::string_view c) {
    if (c.size() == 1) {
        const auto b = static_cast<unsigned char>(c[0]);
        if (b < 0x80 && (std::isalnum(b) || b == '-' || b == '_')) return std::string(c);
        return "-";
    }
    // Umlauts become their two-letter forms in lower case, capitals included.
    if (c == "ä" || c == "Ä") return "ae";
    if (c == "ö" || c == "Ö") return "oe";
    if (c == "ü" || c == "Ü") return "ue";
    if (c == "ß") return "ss";
    return "-";
}

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace

std::string SafeShowName(std::string_view outputFile) {
    const std::string_view name = WithoutExtension(FileNamePart(outputFile));
    std::string safe;
    for (std::size_t i = 0; i < name.size();) {
        const std::size_t len = CharacterLength(name, i);
        safe += SafeCharacter(name.substr(i, len));
        i += len;
    }
    return safe;
}

std::string DataFolderName(Application& app) {
    return SafeShowName(app.project.Settings.OutputFile) +
           app.GetLangString(lang::gui::kDataDirName);
}

std::string UsualOutputName(std::string_view sourcePath) {
    return PlainOutputName(std::string(sourcePath));
}

std::vector<std::string> SlideOutputNames(const ImgItemList& slides) {
    std::vector<std::string> names;
    std::unordered_set<std::string> taken;
    names.reserve(slides.size());
    for (const auto& slide : slides) {
        std::string name = UsualOutputName(slide.FileName);
        if (taken.count(Lower(name))) {
            const std::string stem = name.substr(0, name.size() - 4);
            for (int n = 2;; ++n) {
                name = stem + "-" + std::to_string(n) + ".jpg";
                if (!taken.count(Lower(name))) break;
            }
        }
        taken.insert(Lower(name));
        names.push_back(std::move(name));
    }
    return names;
}

}  // namespace lumetra
