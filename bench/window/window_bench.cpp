// window_bench: timings of the main window on a virtual display.
//
//   window_bench add FOLDER             add the folder's pictures; until the list is
//                                       complete and the last row previewed; RSS after
//   window_bench preview FOLDER N       select each of the folder's first pictures N
//                                       times; median time until its preview shows
//   window_bench hold FOLDER            arrow key held through the list (30 repeats
//                                       a second); time from release to the last preview
//
// Prints one line "name value unit ..." per measurement.

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "app/Application.h"
#include "app/ConsoleServices.h"
#include "app/MusicList.h"
#include "ui/Artwork.h"
#include "ui/PictureWidgets.h"
#include "ui/PreviewDecoder.h"
#include "ui/TfrmMain.h"
#include "ui/TranslateForm.h"
#include "ui/UiFont.h"

namespace {

using lumetra::ui::TfrmMain;

long rssKb() {
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == "VmRSS:") {
            status >> value;
            return value;
        }
        status.ignore(1 << 16, '\n');
    }
    return 0;
}

// Until the window's preview holds the newest selection's picture.
void waitForPreview(TfrmMain& window) {
    auto* preview = window.findChild<lumetra::ui::PictureWidget*>("imgPreview");
    QElapsedTimer guard;
    guard.start();
    while (guard.elapsed() < 10000) {
        QApplication::processEvents(QEventLoop::AllEvents, 1);
        if (!window.previewDecoder().busy()) {
            QApplication::processEvents();
            if (preview->hasPicture()) return;
        }
    }
    std::fprintf(stderr, "no preview within 10 s\n");
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication qt(argc, argv);
    QApplication::setFont(lumetra::ui::UiFont());
    if (argc < 3) {
        std::fprintf(stderr, "usage: window_bench add|preview|hold FOLDER [N]\n");
        return 1;
    }
    const std::string mode = argv[1];
    const std::string folder = argv[2];
    lumetra::ConsoleServices services;
    lumetra::Application app(services);
    app.settings.setSettingsFile(lumetra::SetSettingsPath());
    app.musicTitles = lumetra::FillMusicList(app.dataFolder() / "audio");
    lumetra::ui::SetArtworkFolder(app.dataFolder() / "gui");
    TfrmMain window(app, {false, [] {}});
    lumetra::NewProject(app);
    lumetra::ui::TranslateForm(app, &window, "frmMain");
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) std::fprintf(stderr, "window not exposed\n");
    auto* list = window.findChild<QTreeWidget*>("lsvGFX");

    if (mode == "add") {
        QElapsedTimer clock;
        clock.start();
        window.addFolder(folder);
        waitForPreview(window);
        std::printf("add %.3f s %d slides rss %ld MB\n", clock.nsecsElapsed() / 1e9,
                    list->topLevelItemCount(), rssKb() / 1024);
    } else if (mode == "preview") {
        window.addFolder(folder);
        waitForPreview(window);
        const int n = argc > 3 ? std::atoi(argv[3]) : 9;
        std::vector<double> times;
        for (int i = 0; i < n; ++i) {
            const int row = i % std::min(list->topLevelItemCount(), 5);
            list->clearSelection();
            QApplication::processEvents();
            QElapsedTimer clock;
            clock.start();
            list->topLevelItem(row)->setSelected(true);
            waitForPreview(window);
            times.push_back(clock.nsecsElapsed() / 1e6);
        }
        std::printf("preview %.1f ms median of %d (min %.1f, max %.1f)\n", median(times), n,
                    *std::min_element(times.begin(), times.end()),
                    *std::max_element(times.begin(), times.end()));
    } else if (mode == "hold") {
        window.addFolder(folder);
        waitForPreview(window);
        list->clearSelection();
        list->setCurrentItem(list->topLevelItem(0));
        list->setFocus();
        waitForPreview(window);
        const int rows = list->topLevelItemCount();
        for (int i = 1; i < rows; ++i) {
            QTest::keyClick(list, Qt::Key_Down);
            QElapsedTimer repeat;
            repeat.start();
            while (repeat.elapsed() < 33) QApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        QElapsedTimer clock;
        clock.start();
        waitForPreview(window);
        std::printf("hold %.1f ms from release to the last picture (%d rows, row %d selected)\n",
                    clock.nsecsElapsed() / 1e6, rows,
                    list->indexOfTopLevelItem(list->currentItem()));
    }
    window.hide();
    return 0;
}
