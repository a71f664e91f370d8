#pragma once
// Comparing the show with the chosen folder and sending it: FTPItems in
// order, each into the folder below the target that matches its place in
// the output folder.

#include <cstdint>
#include <string>

namespace lumetra::publish {

class WizardContext;

struct SyncFigures {
    bool ok = false;
    std::int64_t total = 0;  // bytes of every item
    std::int64_t same = 0;   // bytes of the items held with the same size
};

// SyncInfo. Shows DirAccDenied2/DirAccDenied for a folder that cannot be
// made or entered (not after Cancel); other server errors throw.
SyncFigures SyncInfo(WizardContext& context, const std::string& targetDir);

enum class UploadEnd {
    Done,
    FolderRefused,  // DirAccDenied or DirAccDenied2 was shown
    Failed,         // the caller says FTPDisconnect
    Cancelled,      // nothing more to say
};

// UploadFiles. synchronise is optSyncTrue: items with Sync that the folder
// holds with their size are skipped. Shows the folder messages; every other
// failure is the caller's FTPDisconnect.
UploadEnd UploadFiles(WizardContext& context, const std::string& targetDir, bool synchronise);

}  // namespace lumetra::publish
