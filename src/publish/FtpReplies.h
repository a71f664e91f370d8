#pragma once
// The server's replies on the control connection, as libcurl hands their
// lines to the header callback: "ddd text", or a multi-line reply from
// "ddd-text" to "ddd text". libcurl also passes a few lines of its own
// ("Content-Length: ..."), which are no replies and are skipped.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumetra::publish {

struct FtpReply {
    int code = 0;
    std::string text;  // all lines joined by "\n", without line ends
};

class ReplyCollector {
  public:
    // One line as received (with or without its line end).
    void addLine(std::string_view line);
    void clear();
    // Complete replies since the last clear, oldest first.
    const std::vector<FtpReply>& replies() const { return replies_; }
    // The code of the last complete reply, 0 when none arrived.
    int lastCode() const { return replies_.empty() ? 0 : replies_.back().code; }

  private:
    std::vector<FtpReply> replies_;
    std::optional<FtpReply> open_;  // a multi-line reply not yet ended
};

// The folder of a "257" reply: the text between the first double quote and
// its closing one, with "" standing for one quote. Empty when there is none.
std::optional<std::string> ParsePwdReply(std::string_view text);

// The size of a "213" reply to SIZE: digits alone after the code. Anything
// else ("213 about a megabyte") is no size.
std::optional<std::int64_t> ParseSizeReply(std::string_view text);

// Whether a FEAT reply offers MLST (and so MLSD).
bool FeaturesOfferMlst(std::string_view featText);

}  // namespace lumetra::publish
