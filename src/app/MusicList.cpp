#include "app/MusicList.h"

#include <strings.h>
#include <algorithm>
#include <system_error>

namespace lumetra {

std::vector<std::string> FillMusicList(const std::filesystem::path& folder) {
    std::vector<std::string> titles;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const auto& path = it->path();
        if (path.extension() != ".ravoz" || path.stem().empty()) continue;
        std::error_code fec;
        if (!it->is_regular_file(fec)) continue;
        titles.push_back(path.stem().string());
    }
    std::sort(titles.begin(), titles.end(), [](const std::string& a, const std::string& b) {
        int c = strcasecmp(a.c_str(), b.c_str());
        return c != 0 ? c < 0 : a < b;
    });
    return titles;
}

std::string FindMusicTitle(const std::vector<std::string>& titles, const std::string& title) {
    for (const auto& t : titles)
        if (strcasecmp(t.c_str(), title.c_str()) == 0) return t;
    return {};
}

std::string DefaultMusicTitle(const std::vector<std::string>& titles, const std::string& language) {
    const char* wanted = language == "English" ? kEnglishDefaultMusic : kGermanDefaultMusic;
    if (std::string found = FindMusicTitle(titles, wanted); !found.empty()) return found;
    return titles.empty() ? std::string() : titles.front();
}

}  // namespace lumetra
