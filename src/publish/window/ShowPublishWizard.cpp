#include "publish/window/ShowPublishWizard.h"

#include <cstdlib>

#include "app/Platform.h"
#include "publish/window/TfrmFTP.h"

namespace lumetra::ui {

void ShowPublishWizard(Application& app, QWidget* owner) {
    publish::WizardOptions options;
    options.tempFolder = platform::instanceTempFolder();
    // Certificates of a server of one's own, as lumetra-make takes them.
    if (const char* ca = std::getenv("LUMETRA_FTP_CAFILE")) options.caFile = ca;
    TfrmFTP wizard(app, owner, std::move(options));
    wizard.exec();
}

}  // namespace lumetra::ui
