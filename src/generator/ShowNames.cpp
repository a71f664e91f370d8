#include "generator/ShowNames.h"

#include <cctype>
#include <filesystem>
#include <unordered_map>
#include <unordered_set>

#include "app/Application.h"
#include "generator/MusicFiles.h"
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

std::string AddressSafeFileName(std::string_view name) {
    std::string safe(name);
    for (char& c : safe) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F || c == '#' || c == '?' || c == '%' || c == '\\') c = '-';
    }
    return safe;
}

std::string UsualOutputName(std::string_view sourcePath) {
    return AddressSafeFileName(PlainOutputName(std::string(sourcePath)));
}

namespace {

// Hands out names no earlier caller got, letter case aside: the name itself,
// else "<stem>-2<ext>", "<stem>-3<ext>", … Each stem remembers where its
// search stopped, so many equal names cost no more than different ones.
class DistinctNames {
  public:
    void take(const std::string& name) { taken_.insert(Lower(name)); }

    std::string distinct(std::string name) {
        if (!taken_.count(Lower(name))) {
            take(name);
            return name;
        }
        const std::size_t dot = name.find_last_of('.');
        const std::string stem = dot == std::string::npos ? name : name.substr(0, dot);
        const std::string ext = dot == std::string::npos ? "" : name.substr(dot);
        int& n = next_[Lower(name)];
        if (n < 2) n = 2;
        for (;; ++n) {
            std::string candidate = stem + "-" + std::to_string(n) + ext;
            if (!taken_.count(Lower(candidate))) {
                take(candidate);
                return candidate;
            }
        }
    }

  private:
    std::unordered_set<std::string> taken_;
    std::unordered_map<std::string, int> next_;
};

}  // namespace

std::vector<std::string> SlideOutputNames(const ImgItemList& slides) {
    std::vector<std::string> names;
    DistinctNames distinct;
    names.reserve(slides.size());
    for (const auto& slide : slides)
        names.push_back(distinct.distinct(UsualOutputName(slide.FileName)));
    return names;
}

std::string MusicOutputName(const Project& project) {
    const ShowSettings& settings = project.Settings;
    if (settings.audioMode == AudioMode::Library) return kLibraryMusicFile;
    if (settings.audioMode != AudioMode::OwnFile) return "";
    const std::string own = std::filesystem::path(settings.AudioFile).filename().string();
    if (own.empty()) return "";
    DistinctNames distinct;
    for (const std::string& picture : SlideOutputNames(project.ImgItems)) distinct.take(picture);
    std::filesystem::path page =
        AddressSafeFileName(std::filesystem::path(settings.OutputFile).filename().string());
    distinct.take(page.replace_extension(".js").string());
    distinct.take(page.replace_extension(".xml").string());
    return distinct.distinct(AddressSafeFileName(own));
}

}  // namespace lumetra
