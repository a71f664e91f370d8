#include "publish/Transfer.h"

#include <algorithm>
#include <filesystem>

#include "app/Application.h"
#include "app/FileOps.h"
#include "app/Services.h"
#include "publish/RemoteFolders.h"
#include "publish/RemotePath.h"
#include "publish/WizardContext.h"

namespace lumetra::publish {

namespace fs = std::filesystem;

namespace {

enum class Reach { Entered, Refused, Cancelled };

// MakeDeepDir and the change into folder, with their messages.
Reach EnterItemFolder(WizardContext& context, const std::string& folder) {
    if (!MakeDeepDir(context, folder)) {
        if (context.CancelRequested) return Reach::Cancelled;
        // Every level failing because the connection is gone is no question of rights.
        if (!context.ftp.connected())
            throw FtpError(FtpError::Kind::Connection, "the connection was lost");
        context.app.Message(lang::messages::kDirAccDenied2, mb::kError, {folder});
        return Reach::Refused;
    }
    context.status(lang::frmFTP::kLblAct4, folder);
    if (context.CancelRequested) return Reach::Cancelled;
    if (ChangeInto(context, folder)) return Reach::Entered;
    if (context.CancelRequested) return Reach::Cancelled;
    context.app.Message(lang::messages::kDirAccDenied, mb::kError, {folder});
    return Reach::Refused;
}

std::int64_t RemoteSize(WizardContext& context, const std::string& folder,
                        const std::string& name) {
    if (auto known = context.folders.size(folder, name)) return *known;
    const std::int64_t size = context.ftp.size(name);
    context.folders.noteSize(folder, name, size);
    return size;
}

std::string FileNamePart(const std::string& path) {
    return fs::path(path).filename().string();
}

}  // namespace

SyncFigures SyncInfo(WizardContext& context, const std::string& targetDir) {
    SyncFigures figures;
    const Project& project = context.app.project;
    for (const recFTPItems& item : project.FTPItems) {
        const std::int64_t local = GetFileSizeByName(item.FileName);
        figures.total += std::max<std::int64_t>(local, 0);
        if (!item.Sync) continue;
        const std::string folder =
            RemoteFolderForItem(targetDir, project.Settings.OutputFile, item.FileName);
        if (EnterItemFolder(context, folder) != Reach::Entered) return figures;
        const std::int64_t remote = RemoteSize(context, folder, FileNamePart(item.FileName));
        if (local >= 0 && remote == local) figures.same += local;
    }
    figures.ok = true;
    return figures;
}

UploadEnd UploadFiles(WizardContext& context, const std::string& targetDir, bool synchronise) {
    // A copy: the list must not change under the loop.
    const std::vector<recFTPItems> items = context.app.project.FTPItems;
    const std::string outputFile = context.app.project.Settings.OutputFile;
    const int count = static_cast<int>(items.size());
    context.view.overallProgressChanged(0, count);
    for (int done = 0; done < count; ++done) {
        const recFTPItems& item = items[static_cast<std::size_t>(done)];
        if (context.CancelRequested) return UploadEnd::Cancelled;
        const std::string folder = RemoteFolderForItem(targetDir, outputFile, item.FileName);
        try {
            switch (EnterItemFolder(context, folder)) {
                case Reach::Entered:
                    break;
                case Reach::Refused:
                    return UploadEnd::FolderRefused;
                case Reach::Cancelled:
                    return UploadEnd::Cancelled;
            }
            const std::string name = FileNamePart(item.FileName);
            const std::int64_t local = GetFileSizeByName(item.FileName);
            context.view.fileProgressChanged(local > 0 ? context.random(0, local - 1) : 0, local);
            context.status(lang::frmFTP::kLblAct5, name);
            if (context.CancelRequested) return UploadEnd::Cancelled;
            const bool skip = synchronise && item.Sync && local >= 0 &&
                              RemoteSize(context, folder, name) == local;
            if (!skip) {
                context.ftp.stor(item.FileName, name, [&](std::int64_t sent) {
                    context.view.fileProgressChanged(sent, local);
                    context.pump();
                });
                context.folders.noteSize(folder, name, local);
            }
        } catch (const std::exception&) {
            // A failed store, or a size or folder command failing with the
            // connection: the caller's FTPDisconnect says it.
            return context.CancelRequested ? UploadEnd::Cancelled : UploadEnd::Failed;
        }
        context.view.overallProgressChanged(done + 1, count);
        context.pump();
    }
    return UploadEnd::Done;
}

}  // namespace lumetra::publish
