#include "generator/ShowDocuments.h"

#include "app/Application.h"
#include "generator/FileCopy.h"
#include "generator/PictureBridge.h"
#include "generator/ShowDescription.h"
#include "generator/ShowNames.h"
#include "generator/ShowPage.h"

namespace lumetra {

namespace fs = std::filesystem;

bool WriteShowDocuments(Application& app, const fs::path& path, ShowMode mode,
                        const std::string& urlPrefix, const PreviewPanel& panel,
                        PlayerPlacement* placement, const RandomInt& random) {
    const StageSize size = ShowStageSize(app.project);
    if (mode == ShowMode::Preview) {
        const PlayerPlacement placed = FitPreviewPlayer(size.W, size.H, panel.width, panel.height);
        if (placement) *placement = placed;
        fs::path description = path;
        description.replace_extension(".xml");
        CreateSlideshowXML(app, description.string(), placed.width, placed.height, "", true,
                           random);
        return true;
    }
    fs::path pageDescription = path;
    if (!EnsureFolderFor(app, pageDescription.replace_extension(".xml"))) return false;
    const fs::path description =
        path.parent_path() / DataFolderName(app) /
        fs::path(app.project.Settings.OutputFile).filename().replace_extension(".xml");
    // The data folder exists after a build; the wizard's rewrite may come later.
    if (!EnsureFolderFor(app, description)) return false;
    const std::string xml = BuildSlideshowXML(app, size.W, size.H, urlPrefix, false, random);
    WriteFileBytes(description, xml);
    AddUploadItem(app.project, description.string(), false);
    return WriteShowPage(app, size.W, size.H, app.project.Settings.BackgroundTransparent, urlPrefix,
                         xml);
}

}  // namespace lumetra
