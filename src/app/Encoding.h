#pragma once
// Text arrives as UTF-8 everywhere except in project files written on Windows,
// whose strings are Windows-1252.

#include <string>
#include <string_view>

namespace lumetra {

bool IsValidUtf8(std::string_view text);
std::string Windows1252ToUtf8(std::string_view text);

// Valid UTF-8 stays as it is; anything else is read as Windows-1252.
std::string ProjectTextToUtf8(std::string_view text);

}  // namespace lumetra
