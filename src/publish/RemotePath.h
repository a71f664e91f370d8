#pragma once
// Remote paths of the publishing wizard: absolute, "/"-separated, in one
// canonical form, and the addresses libcurl needs for them.

#include <string>
#include <string_view>
#include <vector>

namespace lumetra::publish {

// "\" → "/", "/ " → "/_", no "//", no trailing "/", a leading "/".
std::string GetValidPath(std::string_view path);

// path taken from the folder current (absolute): an absolute path stands
// for itself, a relative one is appended; "." and ".." are resolved, and
// ".." above "/" stays at "/". The result is canonical.
std::string ResolveRemotePath(std::string_view current, std::string_view path);

// The folder names of a canonical path ("/" has none).
std::vector<std::string> RemoteSegments(std::string_view canonicalPath);

// A name or path that may go into an FTP command: no CR, LF or NUL, which
// would end the command and start another one.
bool IsSafeFtpText(std::string_view text);

// Percent-encodes everything but the unreserved characters of an address.
std::string EscapeUrlSegment(std::string_view segment);

// "/%2F<escaped segments>/": the address path of a folder, absolute on the
// server whatever the login folder is.
std::string FolderUrlPath(std::string_view canonicalFolder);

// The folder of a show's file relative to its output folder ("" for the page,
// the data folder's name for the others), from the two local paths.
std::string RelativeShowFolder(std::string_view outputFile, std::string_view itemFile);

// The remote folder of a show's file below the chosen target folder.
std::string RemoteFolderForItem(std::string_view targetDir, std::string_view outputFile,
                                std::string_view itemFile);

}  // namespace lumetra::publish
