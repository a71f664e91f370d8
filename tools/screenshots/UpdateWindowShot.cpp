// lumetra-update-screenshot: a picture of the update window for the README,
// taken from the real window after a check against the version file that
// LUMETRA_UPDATE_URL names (tools/screenshots/take-update.sh serves one).
//
//   lumetra-update-screenshot OUTPUT.png Deutsch|English
//
// Run it under Xvfb: the picture is read back from the display.

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QScreen>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "ShotSupport.h"
#include "app/Application.h"
#include "app/ConsoleServices.h"
#include "app/Startup.h"
#include "ui/Artwork.h"
#include "ui/TfrmMain.h"
#include "ui/TranslateForm.h"
#include "ui/UiFont.h"
#include "update/TfrmUpdate.h"

namespace fs = std::filesystem;

namespace {}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: lumetra-update-screenshot OUTPUT.png LANGUAGE\n");
        return 1;
    }
    const QString output = QString::fromLocal8Bit(argv[1]);
    const std::string language = argv[2];

    lumetra::shots::UseOwnSettings("lumetra-update-shot", language, "FlashWarning=1\n");

    QApplication qt(argc, argv);
    QApplication::setFont(lumetra::ui::UiFont());
    lumetra::ConsoleServices services;
    lumetra::Application app(services);
    lumetra::ui::SetArtworkFolder(app.dataFolder() / "gui");
    lumetra::ui::TfrmMain window(app, {false, {}});
    lumetra::RunStartup(app, {}, [&] { lumetra::ui::TranslateForm(app, &window, "frmMain"); });
    window.centreOnScreen();
    window.show();

    bool finished = false;
    int status = 1;
    lumetra::ui::TfrmUpdate::setModalRunner([&](lumetra::ui::TfrmUpdate& frmUpdate) {
        QObject::connect(&frmUpdate, &lumetra::ui::TfrmUpdate::checkFinished,
                         [&] { finished = true; });
        lumetra::shots::waitFor(300);
        frmUpdate.findChild<QPushButton*>("cmdCheck")->click();
        lumetra::shots::waitFor(10000, [&] { return finished; });
        lumetra::shots::waitFor(300);
        QPixmap shot = frmUpdate.screen()->grabWindow(frmUpdate.winId());
        if (shot.isNull() || shot.width() < frmUpdate.width()) shot = frmUpdate.grab();
        if (!finished || !shot.save(output)) {
            std::fprintf(stderr, "no picture of a finished check in %s\n", argv[1]);
            return;
        }
        status = 0;
    });
    window.imgMenuUpdateClick();
    lumetra::ui::TfrmUpdate::setModalRunner({});
    window.FormCloseQuery();
    return status;
}
