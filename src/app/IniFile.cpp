#include "app/IniFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <system_error>
#include <vector>

#include "app/FileOps.h"

namespace lumetra::ini {

namespace {

constexpr std::string_view kBlanks = " \t\r\n\v\f";
constexpr std::string_view kBom = "\xEF\xBB\xBF";  // UTF-8 byte order mark

std::string_view trim(std::string_view s) {
    auto b = s.find_first_not_of(kBlanks);
    if (b == std::string_view::npos) return {};
    auto e = s.find_last_not_of(kBlanks);
    return s.substr(b, e - b + 1);
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        unsigned char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x += 32;
        if (y >= 'A' && y <= 'Z') y += 32;
        if (x != y) return false;
    }
    return true;
}

// One line of the text with the offsets needed to rewrite it.
struct Line {
    std::size_t begin, end;  // [begin, end) without the line break
    std::size_t next;        // start of the following line
};

std::vector<Line> splitLines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t nl = text.find('\n', pos);
        std::size_t end = nl == std::string_view::npos ? text.size() : nl;
        std::size_t contentEnd = (end > pos && text[end - 1] == '\r') ? end - 1 : end;
        lines.push_back({pos, contentEnd, nl == std::string_view::npos ? text.size() : nl + 1});
        pos = lines.back().next;
    }
    return lines;
}

// The section name of a "[name]" line, or nothing.
std::optional<std::string_view> sectionName(std::string_view line) {
    line = trim(line);
    if (line.size() < 2 || line.front() != '[') return std::nullopt;
    auto close = line.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return trim(line.substr(1, close - 1));
}

struct KeyLine {
    std::string_view key, value;
};

std::optional<KeyLine> keyLine(std::string_view line) {
    std::string_view t = trim(line);
    if (t.empty() || t.front() == ';' || t.front() == '[') return std::nullopt;
    auto eq = line.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    return KeyLine{trim(line.substr(0, eq)), line.substr(eq + 1)};
}

// Cuts after kMaxValueLength characters without splitting a UTF-8 sequence.
std::string cutToMaxLength(std::string_view v) {
    std::size_t chars = 0, i = 0;
    while (i < v.size()) {
        if (chars == kMaxValueLength) break;
        unsigned char c = v[i];
        std::size_t len = c < 0x80         ? 1
                          : (c >> 5) == 6  ? 2
                          : (c >> 4) == 14 ? 3
                          : (c >> 3) == 30 ? 4
                                           : 1;
        i = std::min(v.size(), i + len);
        ++chars;
    }
    return std::string(v.substr(0, i));
}

std::string cleanValue(std::string_view raw) {
    std::string_view v = trim(raw);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return cutToMaxLength(v);
}

std::string lineBreakOf(std::string_view text) {
    auto nl = text.find('\n');
    if (nl != std::string_view::npos && nl > 0 && text[nl - 1] == '\r') return "\r\n";
    return "\n";
}

// A value must stay on its line, or it would inject new keys into the file.
std::string oneLine(std::string_view value) {
    std::string out(value);
    for (char& c : out)
        if (c == '\r' || c == '\n') c = ' ';
    return out;
}

// The file's bytes, or the error that kept them from us.
std::string rawText(const std::filesystem::path& file, int& error) {
    error = 0;
    try {
        return ReadWholeFile(file);
    } catch (const std::system_error& e) {
        error = e.code().value() ? e.code().value() : EIO;
        return {};
    }
}

// For reading a value: a file that cannot be read has no values, so defaults apply.
std::string readFile(const std::filesystem::path& file) {
    int error = 0;
    std::string text = rawText(file, error);
    if (text.rfind(kBom, 0) == 0) text.erase(0, kBom.size());
    return text;
}

[[noreturn]] void failWrite(const std::filesystem::path& file, int err) {
    throw WriteError("Cannot write the settings file " + file.string() + ": " + std::strerror(err));
}

void writeFileAtomically(const std::filesystem::path& target, const std::string& text) {
    // Write to the link's target so a linked settings file stays linked.
    std::error_code ec;
    std::filesystem::path file = target;
    if (std::filesystem::is_symlink(target, ec)) file = std::filesystem::canonical(target, ec);
    if (ec) file = target;

    struct stat st {};
    bool existed = stat(file.c_str(), &st) == 0;
    std::string pattern =
        (file.parent_path() / ("." + file.filename().string() + ".XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    int fd = mkstemp(name.data());
    if (fd < 0) failWrite(target, errno);
    fchmod(fd, existed ? (st.st_mode & 07777) : 0600);
    std::size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            int err = n < 0 ? errno : EIO;
            close(fd);
            unlink(name.data());
            failWrite(target, err);
        }
        done += static_cast<std::size_t>(n);
    }
    if (close(fd) != 0 || rename(name.data(), file.c_str()) != 0) {
        int err = errno;
        unlink(name.data());
        failWrite(target, err);
    }
}

std::string setValueAfterBom(std::string_view text, std::string_view section, std::string_view key,
                             std::string_view value) {
    const std::string br = lineBreakOf(text);
    const std::string newLine = std::string(key) + "=" + oneLine(value);
    std::vector<Line> lines = splitLines(text);

    bool inSection = false;
    std::optional<std::size_t>
        lastContentEnd;  // insertion point: after the section's last non-blank line
    for (const Line& l : lines) {
        std::string_view line = text.substr(l.begin, l.end - l.begin);
        if (auto name = sectionName(line)) {
            if (inSection) break;
            inSection = equalsNoCase(*name, section);
            if (inSection) lastContentEnd = l.next;
            continue;
        }
        if (!inSection) continue;
        if (auto kl = keyLine(line); kl && equalsNoCase(kl->key, key))
            return std::string(text.substr(0, l.begin)) + newLine + std::string(text.substr(l.end));
        if (!trim(line).empty()) lastContentEnd = l.next;
    }

    if (lastContentEnd) {
        std::size_t at = *lastContentEnd;
        std::string before(text.substr(0, at));
        if (!before.empty() && before.back() != '\n') before += br;
        return before + newLine + br + std::string(text.substr(at));
    }
    std::string out(text);
    if (!out.empty() && out.back() != '\n') out += br;
    if (!out.empty()) out += br;  // a blank line between sections
    return out + "[" + std::string(section) + "]" + br + newLine + br;
}

}  // namespace

std::optional<std::string> findValue(std::string_view text, std::string_view section,
                                     std::string_view key) {
    if (text.rfind(kBom, 0) == 0) text.remove_prefix(kBom.size());
    bool inSection = false;
    for (const Line& l : splitLines(text)) {
        std::string_view line = text.substr(l.begin, l.end - l.begin);
        if (auto name = sectionName(line)) {
            inSection = equalsNoCase(*name, section);
            continue;
        }
        if (!inSection) continue;
        if (auto kl = keyLine(line); kl && equalsNoCase(kl->key, key)) return cleanValue(kl->value);
    }
    return std::nullopt;
}

std::string setValue(std::string_view text, std::string_view section, std::string_view key,
                     std::string_view value) {
    // Files saved by some editors start with a byte order mark; keep it, and
    // let the first section header be seen as one (as findValue does, once).
    if (text.rfind(kBom, 0) == 0)
        return std::string(kBom) + setValueAfterBom(text.substr(kBom.size()), section, key, value);
    return setValueAfterBom(text, section, key, value);
}

std::optional<int> parseInt(std::string_view text) {
    if (text.empty()) return std::nullopt;
    bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    if (hex) {
        std::string_view digits = text.substr(2);
        if (digits.size() > 8) return std::nullopt;
        unsigned int v = 0;
        auto [p, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), v, 16);
        if (ec != std::errc() || p != digits.data() + digits.size()) return std::nullopt;
        return static_cast<int>(v);  // 0xFFFFFFFF reads as -1, as 32-bit values do
    }
    std::string_view digits = text.front() == '+' ? text.substr(1) : text;
    if (digits.empty() || (text.front() == '+' && digits.front() == '-') || digits.front() == '+')
        return std::nullopt;
    int v = 0;
    auto [p, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), v, 10);
    if (ec != std::errc() || p != digits.data() + digits.size()) return std::nullopt;
    return v;
}

std::string readString(const std::filesystem::path& file, std::string_view section,
                       std::string_view key, std::string_view defaultValue) {
    auto v = findValue(readFile(file), section, key);
    return v ? *v : cutToMaxLength(defaultValue);
}

int readInt(const std::filesystem::path& file, std::string_view section, std::string_view key,
            int defaultValue) {
    auto v = findValue(readFile(file), section, key);
    if (!v) return defaultValue;
    return parseInt(*v).value_or(defaultValue);
}

bool readBool(const std::filesystem::path& file, std::string_view section, std::string_view key,
              bool defaultValue) {
    return readInt(file, section, key, defaultValue ? 1 : 0) != 0;
}

void writeString(const std::filesystem::path& file, std::string_view section, std::string_view key,
                 std::string_view value) {
    std::error_code ec;
    if (!file.parent_path().empty() && !std::filesystem::is_directory(file.parent_path(), ec))
        failWrite(file, ENOENT);
    // Rewriting a file we could not read would lose every other value in it.
    int error = 0;
    const std::string text = rawText(file, error);
    if (error && error != ENOENT) failWrite(file, error);
    writeFileAtomically(file, setValue(text, section, key, value));
}

void writeInt(const std::filesystem::path& file, std::string_view section, std::string_view key,
              int value) {
    writeString(file, section, key, std::to_string(value));
}

void writeBool(const std::filesystem::path& file, std::string_view section, std::string_view key,
               bool value) {
    writeString(file, section, key, value ? "1" : "0");
}

}  // namespace lumetra::ini
