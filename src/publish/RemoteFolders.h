#pragma once
// Walking and making remote folders, and the folder page's list.

#include <string>
#include <vector>

#include "publish/PublishView.h"

namespace lumetra::publish {

class WizardContext;

// Makes sure every level of an absolute path exists: each level ("/",
// "/a/", "/a/b/", "/a/b/c") is entered or, failing that, created; a level
// that can be neither does not stop the walk. False when every level failed,
// for an empty path (nothing is sent) or when Cancel was clicked. Levels
// entered earlier in this run cost nothing. Catches every server error.
bool MakeDeepDir(WizardContext& context, const std::string& path);

// Changes into folder (canonical), at no cost when the session stands there
// already. False when the server refuses; connection errors throw.
bool ChangeInto(WizardContext& context, const std::string& folder);

struct FolderListing {
    std::vector<FolderListEntry> entries;
    std::string targetDir;  // txtTargetDir: the current folder
};

// SetDirList: the parent entry (not in "/"), the new-folder entry, then the
// plain sub-folders in the server's order, without "." and "..".
FolderListing ReadFolderList(WizardContext& context);

}  // namespace lumetra::publish
