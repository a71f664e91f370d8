// lumetra-screenshots: pictures of the window for the README, taken from the
// real window with slides added from a folder:
// - image (the default): two slides selected and the effect demonstration playing;
// - settings: the settings page with library music and fitting to a given size;
// - create: the create page with its preview playing;
// - dialog: the completion dialog after Create;
// - waiting: the please-wait window above the window while the pictures are added.
//
//   lumetra-screenshots PICTURE_FOLDER OUTPUT.png Deutsch|English
//                       [image|settings|create|dialog|waiting]
//
// Run it under Xvfb (tools/screenshots/take.sh does): the picture is read
// back from the display, so the web view's own drawing is in it.

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProgressBar>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

#include "ShotSupport.h"
#include "app/Application.h"
#include "app/ConsoleServices.h"
#include "app/Startup.h"
#include "player/PlayerView.h"
#include "ui/Artwork.h"
#include "ui/TfrmMain.h"
#include "ui/TfrmMiscProgress.h"
#include "ui/TranslateForm.h"
#include "ui/UiFont.h"

namespace fs = std::filesystem;

namespace {

// The settings page as a person leaves it: a title of the library, pictures
// fitted to 1024 x 768, shown in a random order.
void setUpSettingsPage(lumetra::ui::TfrmMain& window) {
    window.imgTab2Click();
    auto* music = window.findChild<QComboBox*>("cboMusic");
    music->setCurrentIndex(std::min(2, music->count() - 1));
    emit music->activated(music->currentIndex());
    auto* fitting = window.findChild<QComboBox*>("cboEditImg1");
    fitting->setCurrentIndex(2);
    emit fitting->activated(2);
    window.findChild<QLineEdit*>("txtEditImgFixX")->setText("1024");
    window.findChild<QLineEdit*>("txtEditImgFixY")->setText("768");
    window.findChild<QAbstractButton*>("chkRandomOrder")->click();
}

bool save(QWidget& window, const QString& output) {
    QPixmap shot = window.screen()->grabWindow(window.winId());
    if (shot.isNull() || shot.width() < window.width()) shot = window.grab();
    if (shot.save(output)) return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(output));
    return false;
}

// The please-wait window above the main window, caught while the pictures of
// the folder are added: the screen where the main window is, so both are in it.
int showWaiting(lumetra::ui::TfrmMain& window, lumetra::Application& app,
                const std::filesystem::path& pictures, const QString& output) {
    lumetra::ui::TfrmMiscProgress* waiting = window.progressWindow();
    auto* bar = waiting->findChild<QProgressBar*>("ProgressBar2");
    bool saved = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &poll, [&] {
        if (!waiting->isVisible() || bar->value() * 2 < bar->maximum()) return;
        poll.stop();
        lumetra::shots::waitFor(300);  // the window's own painting reaches the screen
        const QRect area = window.geometry();
        saved = window.screen()
                    ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
                    .save(output);
    });
    // At every turn of the event loop: adding takes a moment only.
    poll.start(0);
    // As the add command brings them, which hides the hint over the list first.
    std::vector<std::string> paths;
    for (const auto& entry : std::filesystem::directory_iterator(pictures))
        paths.push_back(entry.path().string());
    std::sort(paths.begin(), paths.end());
    window.addFiles(paths);
    if (!saved) {
        std::fprintf(stderr, "the please-wait window went by unseen (%s)\n", qPrintable(output));
        return 1;
    }
    std::printf("%s\n", qPrintable(output));
    app.project.SetModified(false);
    window.FormCloseQuery();
    return 0;
}

// The completion dialog after Create, as a first use shows it, with
// publishing offered.
int showCompletionDialog(lumetra::ui::TfrmMain& window, lumetra::Application& app,
                         const std::filesystem::path& folder, const std::string& language,
                         const QString& output) {
    const std::filesystem::path page =
        folder / "show" / (language == "Deutsch" ? "Urlaub.html" : "Holiday.html");
    window.imgTab3Click();
    // The page field as a person fills it; nothing goes into the documents folder.
    window.findChild<QLineEdit*>("txtOutput")->setText(QString::fromStdString(page.string()));
    window.openPublishWizard = [] {};
    bool saved = false;
    window.runModalDialog = [&](QDialog& dialog) {
        dialog.show();
        lumetra::shots::waitFor(300);
        saved = save(dialog, output);
        dialog.hide();
        return int(QDialog::Rejected);
    };
    window.btnCreateClick();
    if (!saved) return 1;
    std::printf("%s\n", qPrintable(output));
    app.project.SetModified(false);
    window.FormCloseQuery();
    return 0;
}

// The create page with its preview playing: a title on the first slide, the
// pictures fitted to 800 x 600 on a dark background, the preview caught while
// its first picture shows.
int showCreatePage(lumetra::ui::TfrmMain& window, lumetra::Application& app,
                   const std::string& language, const QString& output) {
    lumetra::Project& project = app.project;
    project.ImgItems.front().Title = language == "Deutsch" ? "Abend am See" : "Evening at the lake";
    project.ImgItems.front().Description = language == "Deutsch" ? "Sommer 2024" : "Summer 2024";
    lumetra::ShowSettings& s = project.Settings;
    s.FitImages = true;
    s.FitMode = 2;
    s.FitWidth = "800";
    s.FitHeight = "600";
    s.BackgroundColor = 0x302820;
    {
        lumetra::Project::LoadingScope loading(project);
        window.showSettingsChanged();
    }
    window.imgTab3Click();
    lumetra::shots::waitFor(15000, [&] { return window.previewPlayer()->shownSlide() >= 0; });
    lumetra::shots::waitFor(2500);
    if (!save(window, output)) return 1;
    std::printf("%s: preview %s\n", qPrintable(output),
                window.previewPlayer()->shownSlide() >= 0 ? "playing" : "not shown");
    project.SetModified(false);  // closing asks nothing and removes the temporary files
    window.FormCloseQuery();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string page = argc == 5 ? argv[4] : "image";
    const std::set<std::string> pages{"image", "settings", "create", "dialog", "waiting"};
    if ((argc != 4 && argc != 5) || !pages.count(page)) {
        std::fprintf(stderr,
                     "usage: lumetra-screenshots PICTURE_FOLDER OUTPUT.png LANGUAGE "
                     "[image|settings|create|dialog|waiting]\n");
        return 1;
    }
    const fs::path pictures = fs::absolute(argv[1]);
    const QString output = QString::fromLocal8Bit(argv[2]);
    const std::string language = argv[3];
    const fs::path config =
        lumetra::shots::UseOwnSettings("lumetra-shots", language, "FlashWarning=1\n");

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
    lumetra::shots::waitFor(1500);

    if (page == "waiting") return showWaiting(window, app, pictures, output);
    window.addFolder(pictures.string());
    if (page == "dialog") return showCompletionDialog(window, app, config, language, output);
    if (page == "create") return showCreatePage(window, app, language, output);
    if (page == "settings") {
        setUpSettingsPage(window);
        lumetra::shots::waitFor(500);
    } else {
        auto* list = window.findChild<QTreeWidget*>("lsvGFX");
        list->clearSelection();
        for (int row : {1, 2})
            if (row < list->topLevelItemCount()) list->topLevelItem(row)->setSelected(true);
        // A push for the two, as a person chooses it; its demonstration plays and
        // is caught in the middle of its transition.
        window.findChild<QComboBox*>("cboEffectsIn")->setCurrentIndex(7);
        window.cboEffectsInClick(7);
        lumetra::shots::waitFor(8000, [&] { return window.demoPlayerShown(); });
        lumetra::shots::waitFor(650);
    }
    if (!save(window, output)) return 1;
    if (page == "image")
        std::printf("%s: player %s\n", argv[2], window.demoPlayerShown() ? "playing" : "not shown");
    app.project.SetModified(false);  // closing asks nothing and removes the temporary files
    window.FormCloseQuery();
    return 0;
}
