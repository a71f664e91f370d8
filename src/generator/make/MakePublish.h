#pragma once
// lumetra-make --publish: the created show goes to an FTP server through the
// publishing wizard's steps, without its window.

#include <iosfwd>
#include <optional>
#include <string>

namespace lumetra {
class Application;
}

namespace lumetra::make {

struct MakeOptions;

// Exit statuses of a publication (an interrupt ends the run with 128 + its
// signal's number, 130 for Ctrl-C, like any other run of lumetra-make).
enum PublishExitCode {
    kExitNoConnection = 5,  // no connection, log-in refused, homepage unreachable
    kExitFolderRefused = 6,
    kExitUploadFailed = 7,
    kExitCancelled = 8,
};

// ftp[s]://user@host[:port]/folder taken apart; ftps asks for TLS.
struct PublishAddress {
    bool requireTls = false;
    std::string user;
    std::string host;
    int port = 21;
    std::string folder = "/";
};
std::optional<PublishAddress> ParsePublishAddress(const std::string& address, std::string& error);

// Whether ~/.netrc (netrcText) names host, or has a default entry.
bool NetrcNames(const std::string& netrcText, const std::string& host);

// A page written by an earlier run ("PAGE.html" with its data folder beside
// it): FTPItems becomes every file of its data folder, then the description
// and the page, so it is published as it lies.
bool IsCreatedShowPage(const std::string& source);
void TakeCreatedShow(Application& app, const std::string& page);

// Before any build: a bad --publish address is a usage error (status 1), and
// a PAGE.html source is published as it lies. Nothing when neither applies.
std::optional<int> PublishBeforeBuild(Application& app, const MakeOptions& options,
                                      std::ostream& out, std::ostream& progress, bool progressBar);

// Publishes the show of app (FTPItems and OutputFile filled) as options say.
// The page's public address, or the advice where an embedding page must go,
// goes to out; the status line to progress.
int PublishShow(Application& app, const MakeOptions& options, std::ostream& out,
                std::ostream& progress, bool progressBar, bool rewriteDocuments = true);

}  // namespace lumetra::make
