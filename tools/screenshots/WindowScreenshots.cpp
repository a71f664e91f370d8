// lumetra-screenshots: pictures of the image page for the README, taken from
// the real window: slides added from a folder, two of them selected and the
// effect demonstration playing.
//
//   lumetra-screenshots PICTURE_FOLDER OUTPUT.png Deutsch|English
//
// Run it under Xvfb (tools/screenshots/take.sh does): the picture is read
// back from the display, so the web view's own drawing is in it.

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QScreen>
#include <QTreeWidget>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/Application.h"
#include "app/ConsoleServices.h"
#include "app/Startup.h"
#include "player/PlayerView.h"
#include "ui/Artwork.h"
#include "ui/TfrmMain.h"
#include "ui/TranslateForm.h"
#include "ui/UiFont.h"

namespace fs = std::filesystem;

namespace {

void waitFor(int ms, const std::function<bool()>& done = {}) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms && !(done && done()))
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: lumetra-screenshots PICTURE_FOLDER OUTPUT.png LANGUAGE\n");
        return 1;
    }
    const fs::path pictures = fs::absolute(argv[1]);
    const QString output = QString::fromLocal8Bit(argv[2]);
    const std::string language = argv[3];
    // A settings file of its own that chooses the language.
    const fs::path config = fs::temp_directory_path() / ("lumetra-shots-" + language);
    fs::create_directories(config / "Tesmor" / "Lumetra");
    std::ofstream(config / "Tesmor" / "Lumetra" / "Settings.ini")
        << "[Main]\nLanguage=" << language << "\nFlashWarning=1\n";
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);

    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication qt(argc, argv);
    QApplication::setFont(lumetra::ui::UiFont());
    lumetra::ConsoleServices services;
    lumetra::Application app(services);
    lumetra::ui::SetArtworkFolder(app.dataFolder() / "gui");
    lumetra::ui::TfrmMain window(app, {});
    lumetra::RunStartup(app, {}, [&] { lumetra::ui::TranslateForm(app, &window, "frmMain"); });
    window.centreOnScreen();
    window.show();
    window.FormShow();
    waitFor(1500);

    window.addFolder(pictures.string());
    auto* list = window.findChild<QTreeWidget*>("lsvGFX");
    list->clearSelection();
    for (int row : {1, 2})
        if (row < list->topLevelItemCount()) list->topLevelItem(row)->setSelected(true);
    // A push for the two, as a person chooses it; its demonstration plays and
    // is caught in the middle of its transition.
    window.findChild<QComboBox*>("cboEffectsIn")->setCurrentIndex(7);
    window.cboEffectsInClick(7);
    waitFor(8000, [&] { return window.demoPlayerShown(); });
    waitFor(650);
    QPixmap shot = window.screen()->grabWindow(window.winId());
    if (shot.isNull() || shot.width() < window.width()) shot = window.grab();
    if (!shot.save(output)) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    std::printf("%s: player %s\n", argv[2], window.demoPlayerShown() ? "playing" : "not shown");
    window.FormCloseQuery();
    return 0;
}
