#include "publish/RemoteFolders.h"

#include "app/Application.h"
#include "publish/RemotePath.h"
#include "publish/WizardContext.h"

namespace lumetra::publish {

namespace {

bool Attempt(WizardContext& context, bool (FtpClient::*command)(const std::string&),
             const std::string& path) {
    try {
        return (context.ftp.*command)(path);
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace

bool MakeDeepDir(WizardContext& context, const std::string& path) {
    int attempts = 0;
    int failures = 0;
    std::string prefix;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (context.CancelRequested) return false;
        prefix += path[i];
        if (path[i] != '/' && i + 1 != path.size()) continue;
        ++attempts;
        const std::string level = GetValidPath(prefix);
        if (context.folders.present(level)) continue;
        context.status(lang::frmFTP::kLblAct5, prefix);
        if (Attempt(context, &FtpClient::cwd, prefix)) {
            context.folders.noteEntered(context.ftp.currentFolder());
            continue;
        }
        context.status(lang::frmFTP::kLblAct6, prefix);
        if (Attempt(context, &FtpClient::mkd, prefix))
            context.folders.notePresent(level);
        else
            ++failures;
    }
    return attempts != failures;
}

bool ChangeInto(WizardContext& context, const std::string& folder) {
    if (context.ftp.currentFolder() == folder && context.folders.entered(folder)) return true;
    if (!context.ftp.cwd(folder)) return false;
    context.folders.noteEntered(context.ftp.currentFolder());
    return true;
}

FolderListing ReadFolderList(WizardContext& context) {
    const std::vector<ListEntry> listing = context.ftp.list();
    FolderListing out;
    // Standing in a folder (the login folder) does not prove that it can be entered.
    out.targetDir = context.ftp.pwd();
    using Icon = FolderListEntry::Icon;
    if (out.targetDir != "/")
        out.entries.push_back({Icon::Parent, context.app.GetLangString(lang::frmFTP::kListParent)});
    out.entries.push_back({Icon::NewFolder, context.app.GetLangString(lang::frmFTP::kListNew)});
    for (const ListEntry& entry : listing) {
        if (entry.kind != EntryKind::Directory || entry.name == "." || entry.name == "..") continue;
        out.entries.push_back({Icon::Folder, entry.name});
    }
    return out;
}

}  // namespace lumetra::publish
