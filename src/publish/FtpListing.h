#pragma once
// Turns a server's folder listing into names and kinds. Servers answer LIST
// in the Unix "ls -l" form (with or without a group, numeric owners, years or
// times, "name -> target" links) or the Windows/IIS form; MLSD answers carry
// machine-readable facts. Lines that fit none of them are dropped.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumetra::publish {

enum class EntryKind { Directory, Link, File, Other };

struct ListEntry {
    std::string name;
    EntryKind kind = EntryKind::Other;
    bool operator==(const ListEntry&) const = default;
};

enum class ListingFormat { List, Mlsd };

// One line of a LIST answer, Unix or Windows form (no line end).
std::optional<ListEntry> ParseListLine(std::string_view line);

// One line of an MLSD answer: "fact=value;...; name".
std::optional<ListEntry> ParseMlsdLine(std::string_view line);

// Every entry of an answer, in the server's order. Lines end in CR LF or LF.
std::vector<ListEntry> ParseListing(std::string_view text, ListingFormat format);

}  // namespace lumetra::publish
