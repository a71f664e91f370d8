#include "publish/FtpReplies.h"

namespace lumetra::publish {

namespace {

constexpr std::size_t kMaxReplyText = 64 * 1024;
constexpr std::size_t kMaxReplies = 4096;

// The code of a line that starts a reply ("ddd " or "ddd-"), else 0.
int CodeOf(std::string_view line, char& separator) {
    if (line.size() < 3) return 0;
    for (int i = 0; i < 3; ++i)
        if (line[i] < '0' || line[i] > '9') return 0;
    separator = line.size() > 3 ? line[3] : ' ';
    if (separator != ' ' && separator != '-') return 0;
    return (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
}

void Append(std::string& text, std::string_view line) {
    if (text.size() >= kMaxReplyText) return;
    if (!text.empty()) text += '\n';
    text.append(line.substr(0, kMaxReplyText - text.size()));
}

}  // namespace

void ReplyCollector::addLine(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    char separator = ' ';
    const int code = CodeOf(line, separator);
    if (open_) {
        Append(open_->text, line);
        if (code == open_->code && separator == ' ') {
            if (replies_.size() < kMaxReplies) replies_.push_back(std::move(*open_));
            open_.reset();
        }
        return;
    }
    if (code == 0) return;  // a line of libcurl's own, or noise between replies
    FtpReply reply{code, std::string(line.substr(0, kMaxReplyText))};
    if (separator == '-') {
        open_ = std::move(reply);
        return;
    }
    if (replies_.size() >= kMaxReplies) replies_.erase(replies_.begin());
    replies_.push_back(std::move(reply));
}

void ReplyCollector::clear() {
    replies_.clear();
    open_.reset();
}

std::optional<std::string> ParsePwdReply(std::string_view text) {
    const std::size_t open = text.find('"');
    if (open == std::string_view::npos) return std::nullopt;
    std::string folder;
    for (std::size_t i = open + 1; i < text.size(); ++i) {
        if (text[i] != '"') {
            folder += text[i];
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == '"') {
            folder += '"';
            ++i;
            continue;
        }
        return folder;
    }
    return std::nullopt;
}

std::optional<std::int64_t> ParseSizeReply(std::string_view text) {
    if (text.substr(0, 4) != "213 ") return std::nullopt;
    text.remove_prefix(4);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    if (text.empty() || text.size() > 18) return std::nullopt;
    std::int64_t size = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        size = size * 10 + (c - '0');
    }
    return size;
}

bool FeaturesOfferMlst(std::string_view featText) {
    std::size_t start = 0;
    while (start <= featText.size()) {
        std::size_t end = featText.find('\n', start);
        if (end == std::string_view::npos) end = featText.size();
        std::string_view line = featText.substr(start, end - start);
        start = end + 1;
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
        if (line.size() >= 4) {
            std::string word(line.substr(0, 4));
            for (char& c : word)
                if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
            if (word == "MLST" && (line.size() == 4 || line[4] == ' ' || line[4] == '\r'))
                return true;
        }
        if (end == featText.size()) break;
    }
    return false;
}

}  // namespace lumetra::publish
