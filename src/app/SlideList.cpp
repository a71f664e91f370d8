#include "app/SlideList.h"

#include <algorithm>
#include <cctype>
#include <system_error>

#include "app/Application.h"

namespace lumetra {

namespace fs = std::filesystem;

namespace {

char lowerAscii(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string lower(std::string text) {
    for (char& c : text) c = lowerAscii(c);
    return text;
}

// -1, 0 or 1 for the digit runs starting at a[i] and b[j]; advances both.
int compareNumbers(const std::string& a, std::size_t& i, const std::string& b, std::size_t& j) {
    auto skipZeros = [](const std::string& s, std::size_t& k) {
        while (k + 1 < s.size() && s[k] == '0' && isDigit(s[k + 1])) ++k;
    };
    skipZeros(a, i);
    skipZeros(b, j);
    std::size_t ei = i, ej = j;
    while (ei < a.size() && isDigit(a[ei])) ++ei;
    while (ej < b.size() && isDigit(b[ej])) ++ej;
    int result = 0;
    if (ei - i != ej - j)
        result = ei - i < ej - j ? -1 : 1;
    else
        for (std::size_t k = 0; k < ei - i && result == 0; ++k)
            if (a[i + k] != b[j + k]) result = a[i + k] < b[j + k] ? -1 : 1;
    i = ei;
    j = ej;
    return result;
}

}  // namespace

bool NaturalLess(const std::string& a, const std::string& b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            if (int c = compareNumbers(a, i, b, j); c != 0) return c < 0;
            continue;
        }
        const char ca = lowerAscii(a[i]), cb = lowerAscii(b[j]);
        if (ca != cb) return static_cast<unsigned char>(ca) < static_cast<unsigned char>(cb);
        ++i;
        ++j;
    }
    if ((i < a.size()) != (j < b.size())) return j < b.size();
    return a < b;  // equal but for case or leading zeros: still one fixed order
}

void FindImageFiles(const fs::path& folder, const std::string& ext,
                    std::vector<std::string>& list) {
    const std::string wanted = lower(ext);
    std::vector<fs::path> found;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code ignored;
        if (it->is_directory(ignored)) continue;
        if (lower(it->path().extension().string()) == wanted) found.push_back(it->path());
    }
    std::sort(found.begin(), found.end(), [](const fs::path& x, const fs::path& y) {
        return NaturalLess(x.filename().string(), y.filename().string());
    });
    for (const fs::path& path : found) list.push_back(path.string());
}

std::vector<std::string> FolderImageFiles(const fs::path& folder) {
    std::vector<std::string> pictures;
    for (const char* extension : kFolderImageExtensions)
        FindImageFiles(folder, extension, pictures);
    return pictures;
}

void NewProjectFromFolder(Application& app, const fs::path& folder, const ImageSizeReader& readSize,
                          double durationSeconds) {
    NewProject(app);
    for (const std::string& path : FolderImageFiles(folder))
        app.project.ImgItems.push_back(NewSlide(path, durationSeconds, readSize));
}

int RemoveSelectedSlides(ImgItemList& slides, RowSelection& selection) {
    selection.resize(slides.size(), false);
    int firstRemoved = -1;
    for (std::size_t i = slides.size(); i-- > 0;) {
        if (!selection[i]) continue;
        slides.erase(slides.begin() + static_cast<std::ptrdiff_t>(i));
        selection.erase(selection.begin() + static_cast<std::ptrdiff_t>(i));
        if (firstRemoved < 0) firstRemoved = static_cast<int>(i);
    }
    if (slides.empty()) return -1;
    const int r = std::max(firstRemoved, 0);
    const int count = static_cast<int>(slides.size());
    if (r == 0) return 0;
    return r < count ? r : count - 1;
}

std::vector<std::size_t> MoveSelectedSlidesUp(ImgItemList& slides, RowSelection& selection) {
    selection.resize(slides.size(), false);
    std::vector<std::size_t> changed;
    if (slides.empty() || selection.front()) return changed;
    for (std::size_t i = 1; i < slides.size(); ++i) {
        if (!selection[i]) continue;
        std::swap(slides[i], slides[i - 1]);
        selection[i] = false;
        selection[i - 1] = true;
        changed.push_back(i - 1);
        changed.push_back(i);
    }
    return changed;
}

std::vector<std::size_t> MoveSelectedSlidesDown(ImgItemList& slides, RowSelection& selection) {
    selection.resize(slides.size(), false);
    std::vector<std::size_t> changed;
    if (slides.empty() || selection.back()) return changed;
    for (std::size_t i = slides.size() - 1; i-- > 0;) {
        if (!selection[i]) continue;
        std::swap(slides[i], slides[i + 1]);
        selection[i] = false;
        selection[i + 1] = true;
        changed.push_back(i);
        changed.push_back(i + 1);
    }
    return changed;
}

}  // namespace lumetra
