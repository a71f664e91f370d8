#include "publish/FtpListing.h"

#include <algorithm>
#include <array>

namespace lumetra::publish {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool AllDigits(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), IsDigit);
}
char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}
bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Lower(x) == Lower(y); });
}

// A word of a line with where it ends, so the name after the date keeps its blanks.
struct Word {
    std::string_view text;
    std::size_t end;
};

// The first count words of line.
std::vector<Word> Words(std::string_view line, std::size_t count) {
    std::vector<Word> words;
    std::size_t i = 0;
    while (words.size() < count) {
        while (i < line.size() && IsBlank(line[i])) ++i;
        if (i >= line.size()) break;
        const std::size_t start = i;
        while (i < line.size() && !IsBlank(line[i])) ++i;
        words.push_back({line.substr(start, i - start), i});
    }
    return words;
}

// "rwx" columns of a mode: r, w, x, s, S, t, T, l or "-".
bool IsModeText(std::string_view mode) {
    if (mode.size() < 10) return false;
    for (char c : mode.substr(1, 9))
        if (std::string_view("rwxsStTlL-").find(c) == std::string_view::npos) return false;
    // An ACL or SELinux marker may follow.
    return mode.size() == 10 ||
           (mode.size() == 11 && (mode[10] == '+' || mode[10] == '.' || mode[10] == '@'));
}

bool IsMonth(std::string_view word) {
    if (word.empty() || word.size() > 12) return false;
    for (char c : word)
        if (IsDigit(c) || c == ':' || c == '-' || c == '/') return false;
    return true;
}

bool IsDay(std::string_view word) {
    if (!word.empty() && word.back() == '.') word.remove_suffix(1);
    return AllDigits(word) && word.size() <= 2;
}

bool IsClock(std::string_view word) {
    // 12:00 or 12:00:59
    const std::size_t colon = word.find(':');
    if (colon == std::string_view::npos || colon == 0 || colon > 2) return false;
    const std::string_view rest = word.substr(colon + 1);
    if (rest.size() == 2) return AllDigits(word.substr(0, colon)) && AllDigits(rest);
    return rest.size() == 5 && rest[2] == ':' && AllDigits(word.substr(0, colon)) &&
           AllDigits(rest.substr(0, 2)) && AllDigits(rest.substr(3));
}

bool IsYear(std::string_view word) {
    return word.size() == 4 && AllDigits(word);
}

bool IsIsoDate(std::string_view word) {
    return word.size() == 10 && word[4] == '-' && word[7] == '-' && AllDigits(word.substr(0, 4)) &&
           AllDigits(word.substr(5, 2)) && AllDigits(word.substr(8, 2));
}

// What follows the single blank after the date: the name, blanks and all.
std::string_view NameAfter(std::string_view line, std::size_t dateEnd) {
    if (dateEnd >= line.size()) return {};
    std::string_view name = line.substr(dateEnd + 1);
    // A tab or a run of blanks as separator is not part of the name.
    if (line[dateEnd] == '\t')
        while (!name.empty() && IsBlank(name.front())) name.remove_prefix(1);
    return name;
}

std::optional<ListEntry> UnixEntry(std::string_view line) {
    const std::vector<Word> words = Words(line, 9);
    if (words.size() < 5 || !IsModeText(words[0].text)) return std::nullopt;
    // The size stands before the date; owner and group, either of which may
    // be missing or numeric, stand before the size.
    for (std::size_t size = 1; size + 2 < words.size() && size <= 4; ++size) {
        if (!AllDigits(words[size].text)) continue;
        std::size_t dateEnd = 0;
        if (size + 3 < words.size() && IsMonth(words[size + 1].text) &&
            IsDay(words[size + 2].text) &&
            (IsClock(words[size + 3].text) || IsYear(words[size + 3].text)))
            dateEnd = words[size + 3].end;
        else if (IsIsoDate(words[size + 1].text) && IsClock(words[size + 2].text))
            dateEnd = words[size + 2].end;
        if (dateEnd == 0) continue;
        std::string_view name = NameAfter(line, dateEnd);
        if (name.empty()) return std::nullopt;
        ListEntry entry;
        switch (words[0].text[0]) {
            case 'd':
                entry.kind = EntryKind::Directory;
                break;
            case 'l': {
                entry.kind = EntryKind::Link;
                const std::size_t arrow = name.find(" -> ");
                if (arrow != std::string_view::npos) name = name.substr(0, arrow);
                break;
            }
            case '-':
                entry.kind = EntryKind::File;
                break;
            default:
                entry.kind = EntryKind::Other;
        }
        if (name.empty()) return std::nullopt;
        entry.name = std::string(name);
        return entry;
    }
    return std::nullopt;
}

// 01-15-20  10:30AM  <DIR>  name, or a size instead of <DIR>.
std::optional<ListEntry> WindowsEntry(std::string_view line) {
    const std::vector<Word> words = Words(line, 3);
    if (words.size() < 3) return std::nullopt;
    const std::string_view date = words[0].text;
    const bool dateOk = (date.size() == 8 || date.size() == 10) && AllDigits(date.substr(0, 2)) &&
                        (date[2] == '-' || date[2] == '/') && AllDigits(date.substr(3, 2)) &&
                        date[5] == date[2] && AllDigits(date.substr(6));
    std::string_view clock = words[1].text;
    if (clock.size() > 2 && (EqualsNoCase(clock.substr(clock.size() - 2), "AM") ||
                             EqualsNoCase(clock.substr(clock.size() - 2), "PM")))
        clock.remove_suffix(2);
    if (!dateOk || !IsClock(clock)) return std::nullopt;
    ListEntry entry;
    const std::string_view third = words[2].text;
    if (EqualsNoCase(third, "<DIR>")) {
        entry.kind = EntryKind::Directory;
    } else if (std::all_of(third.begin(), third.end(),
                           [](char c) { return IsDigit(c) || c == ','; }) &&
               IsDigit(third.front())) {
        entry.kind = EntryKind::File;
    } else {
        return std::nullopt;
    }
    std::string_view name = line.substr(words[2].end);
    while (!name.empty() && IsBlank(name.front())) name.remove_prefix(1);
    if (name.empty()) return std::nullopt;
    entry.name = std::string(name);
    return entry;
}

}  // namespace

std::optional<ListEntry> ParseListLine(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
    if (line.empty()) return std::nullopt;
    if (IsDigit(line.front())) return WindowsEntry(line);
    return UnixEntry(line);
}

std::optional<ListEntry> ParseMlsdLine(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
    const std::size_t blank = line.find(' ');
    if (blank == std::string_view::npos || blank + 1 >= line.size()) return std::nullopt;
    const std::string_view facts = line.substr(0, blank);
    ListEntry entry;
    entry.name = std::string(line.substr(blank + 1));
    bool typed = false;
    std::size_t start = 0;
    while (start < facts.size()) {
        std::size_t end = facts.find(';', start);
        if (end == std::string_view::npos) end = facts.size();
        const std::string_view fact = facts.substr(start, end - start);
        start = end + 1;
        const std::size_t eq = fact.find('=');
        if (eq == std::string_view::npos || !EqualsNoCase(fact.substr(0, eq), "type")) continue;
        const std::string_view type = fact.substr(eq + 1);
        typed = true;
        if (EqualsNoCase(type, "dir"))
            entry.kind = EntryKind::Directory;
        else if (EqualsNoCase(type, "file"))
            entry.kind = EntryKind::File;
        else if (type.size() >= 8 && EqualsNoCase(type.substr(0, 8), "OS.unix=") &&
                 (EqualsNoCase(type.substr(8, 5), "slink") ||
                  EqualsNoCase(type.substr(8, 7), "symlink")))
            entry.kind = EntryKind::Link;
        else
            entry.kind = EntryKind::Other;  // cdir, pdir and the rest
    }
    if (!typed) return std::nullopt;
    return entry;
}

std::vector<ListEntry> ParseListing(std::string_view text, ListingFormat format) {
    std::vector<ListEntry> entries;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        auto entry = format == ListingFormat::Mlsd ? ParseMlsdLine(line) : ParseListLine(line);
        if (entry) entries.push_back(std::move(*entry));
    }
    return entries;
}

}  // namespace lumetra::publish
