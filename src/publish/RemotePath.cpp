#include "publish/RemotePath.h"

#include <filesystem>

namespace lumetra::publish {

namespace fs = std::filesystem;

std::string GetValidPath(std::string_view path) {
    std::string text(path);
    for (char& c : text)
        if (c == '\\') c = '/';
    std::string spaced;
    spaced.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        spaced += text[i];
        if (text[i] == '/' && i + 1 < text.size() && text[i + 1] == ' ') {
            spaced += '_';
            ++i;
        }
    }
    std::string single;
    single.reserve(spaced.size());
    for (char c : spaced)
        if (!(c == '/' && !single.empty() && single.back() == '/')) single += c;
    while (!single.empty() && single.back() == '/') single.pop_back();
    if (single.empty() || single.front() != '/') single.insert(single.begin(), '/');
    return single;
}

std::vector<std::string> RemoteSegments(std::string_view canonicalPath) {
    std::vector<std::string> segments;
    std::size_t start = 0;
    while (start < canonicalPath.size()) {
        std::size_t end = canonicalPath.find('/', start);
        if (end == std::string_view::npos) end = canonicalPath.size();
        if (end > start) segments.emplace_back(canonicalPath.substr(start, end - start));
        start = end + 1;
    }
    return segments;
}

std::string ResolveRemotePath(std::string_view current, std::string_view path) {
    std::vector<std::string> segments;
    if (path.empty() || path.front() != '/') segments = RemoteSegments(current);
    for (std::string& segment : RemoteSegments(path)) {
        if (segment == ".") continue;
        if (segment == "..") {
            if (!segments.empty()) segments.pop_back();
            continue;
        }
        segments.push_back(std::move(segment));
    }
    std::string out;
    for (const std::string& segment : segments) out += "/" + segment;
    return out.empty() ? "/" : out;
}

bool IsSafeFtpText(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

std::string EscapeUrlSegment(std::string_view segment) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (char c : segment) {
        const auto b = static_cast<unsigned char>(c);
        if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') ||
            c == '-' || c == '.' || c == '_' || c == '~') {
            out += c;
        } else {
            out += '%';
            out += kHex[b >> 4];
            out += kHex[b & 15];
        }
    }
    return out;
}

std::string FolderUrlPath(std::string_view canonicalFolder) {
    std::string out = "/%2F";
    const std::vector<std::string> segments = RemoteSegments(canonicalFolder);
    for (std::size_t i = 0; i < segments.size(); ++i) {
        if (i > 0) out += '/';
        out += EscapeUrlSegment(segments[i]);
    }
    return out + "/";
}

std::string RelativeShowFolder(std::string_view outputFile, std::string_view itemFile) {
    // Taken apart as paths: cutting every occurrence of the names out of the
    // text would also cut a music file called "files" out of "show_files".
    const fs::path base = fs::path(outputFile).parent_path().lexically_normal();
    const fs::path folder = fs::path(itemFile).parent_path().lexically_normal();
    const fs::path relative = folder.lexically_relative(base);
    if (relative.empty() || relative == "." || *relative.begin() == "..") return {};
    return relative.generic_string();
}

std::string RemoteFolderForItem(std::string_view targetDir, std::string_view outputFile,
                                std::string_view itemFile) {
    return GetValidPath(std::string(targetDir) + "/" + RelativeShowFolder(outputFile, itemFile));
}

}  // namespace lumetra::publish
