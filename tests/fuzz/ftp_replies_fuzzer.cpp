// Whatever an FTP server sends: listings in both forms, reply lines, PWD and
// SIZE answers. Nothing crashes or hangs, every entry found is a piece of its
// line, and nothing grows beyond the input.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "publish/FtpListing.h"
#include "publish/FtpReplies.h"

namespace {

using namespace lumetra::publish;

void CheckEntries(std::string_view text, ListingFormat format) {
    const auto entries = ParseListing(text, format);
    if (entries.size() > text.size()) std::abort();
    for (const ListEntry& entry : entries) {
        if (entry.name.empty() || text.find(entry.name) == std::string_view::npos) std::abort();
        if (entry.name.find('\n') != std::string::npos) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CheckEntries(text, ListingFormat::List);
    CheckEntries(text, ListingFormat::Mlsd);

    ReplyCollector replies;
    std::size_t lines = 0;
    for (std::size_t start = 0; start < text.size(); ++lines) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        replies.addLine(text.substr(start, end - start + (end < text.size() ? 1 : 0)));
        start = end + 1;
    }
    if (replies.replies().size() > lines) std::abort();
    std::size_t total = 0;
    for (const FtpReply& reply : replies.replies()) {
        if (reply.code < 0 || reply.code > 999) std::abort();
        total += reply.text.size();
        (void)ParsePwdReply(reply.text);
        (void)FeaturesOfferMlst(reply.text);
        if (auto size = ParseSizeReply(reply.text); size && *size < 0) std::abort();
    }
    if (total > size) std::abort();
    if (auto folder = ParsePwdReply(text); folder && folder->size() > size) std::abort();
    return 0;
}
