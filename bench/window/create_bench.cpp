// create_bench: opening the create page on a virtual display, against
// lumetra-make on the same project in the same run.
//
//   create_bench FOLDER WORK [ROUNDS]
//
// Adds the folder's pictures, fits them to 1024 x 768, saves the project to
// WORK/show.lmx; then per round: lumetra-make on that project (wall time),
// and opening the create page: the time until the preview's first picture is
// on the screen (the player's first painted slide), until the last picture is
// ready (the build's end), and how often the window painted meanwhile (a
// probe that asks for a paint every 10 ms; paints per second and the longest
// pause between two paints). CREATE_BENCH_NO_WEB_VIEW=1 builds the same
// preview without a web view to play it, for comparison.

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "app/Application.h"
#include "app/ConsoleServices.h"
#include "app/MusicList.h"
#include "app/Platform.h"
#include "app/ProjectFile.h"
#include "player/PlayerView.h"
#include "ui/Artwork.h"
#include "ui/TfrmMain.h"
#include "ui/TranslateForm.h"
#include "ui/UiFont.h"

namespace fs = std::filesystem;

namespace {

using lumetra::ui::TfrmMain;

// A small widget that counts its paints.
class PaintProbe : public QWidget {
  public:
    using QWidget::QWidget;
    std::vector<qint64> paints;  // ms since the clock started
    QElapsedTimer* clock = nullptr;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), paints.size() % 2 ? Qt::gray : Qt::lightGray);
        if (clock && clock->isValid()) paints.push_back(clock->elapsed());
    }
};

double makeSeconds(const fs::path& work) {
    QProcess make;
    QElapsedTimer clock;
    clock.start();
    make.start(QCoreApplication::applicationDirPath() + "/lumetra-make",
               {"--output", QString::fromStdString((work / "make/show.html").string()),
                QString::fromStdString((work / "show.lmx").string())});
    make.waitForFinished(-1);
    if (make.exitCode() != 0)
        std::fprintf(stderr, "lumetra-make: %s\n", make.readAllStandardError().constData());
    return clock.nsecsElapsed() / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication qt(argc, argv);
    QApplication::setFont(lumetra::ui::UiFont());
    if (argc < 3) {
        std::fprintf(stderr, "usage: create_bench FOLDER WORK [ROUNDS]\n");
        return 1;
    }
    const fs::path folder = argv[1];
    const fs::path work = argv[2];
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 2;
    lumetra::ConsoleServices services;
    lumetra::Application app(services);
    app.settings.setSettingsFile(lumetra::SetSettingsPath());
    app.musicTitles = lumetra::FillMusicList(app.dataFolder() / "audio");
    lumetra::ui::SetArtworkFolder(app.dataFolder() / "gui");
    const bool webView = std::getenv("CREATE_BENCH_NO_WEB_VIEW") == nullptr;
    TfrmMain window(app, {webView, [] {}});
    lumetra::NewProject(app);
    lumetra::ui::TranslateForm(app, &window, "frmMain");
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) std::fprintf(stderr, "window not exposed\n");
    window.FormShow();
    if (webView && !QTest::qWaitFor([&] { return window.previewPlayer()->hasWebView(); }, 20000)) {
        std::fprintf(stderr, "no web view: the built-in player is missing\n");
        return 1;
    }

    window.addFolder(folder.string());
    lumetra::ShowSettings& s = app.project.Settings;
    s.FitImages = true;
    s.FitMode = 2;
    s.FitWidth = "1024";
    s.FitHeight = "768";
    s.OutputFile = (work / "window/show.html").string();
    {
        lumetra::Project::LoadingScope loading(app.project);
        window.showSettingsChanged();
    }
    lumetra::SaveProject(app, (work / "show.lmx").string());
    const int slides = int(app.project.ImgItems.size());

    PaintProbe probe(&window);
    probe.setGeometry(4, 4, 8, 8);
    probe.show();
    QTimer repaint;
    repaint.setTimerType(Qt::PreciseTimer);
    repaint.setInterval(10);
    QObject::connect(&repaint, &QTimer::timeout, &probe, [&] { probe.update(); });

    for (int round = 1; round <= rounds; ++round) {
        const double make = makeSeconds(work);
        QElapsedTimer clock;
        double first = -1, ready = -1;
        const auto started =
            QObject::connect(window.previewPlayer(), &lumetra::player::PlayerView::ready, [&](int) {
                if (ready < 0) ready = clock.nsecsElapsed() / 1e9;
            });
        const auto connection = QObject::connect(
            window.previewPlayer(), &lumetra::player::PlayerView::slideShown, [&](int) {
                if (first < 0) first = clock.nsecsElapsed() / 1e9;
            });
        probe.paints.clear();
        probe.clock = &clock;
        repaint.start();
        clock.start();
        window.imgTab3Click();
        const double last = clock.nsecsElapsed() / 1e9;
        repaint.stop();
        probe.clock = nullptr;
        if (webView && first < 0 && !QTest::qWaitFor([&] { return first >= 0; }, 30000))
            std::fprintf(stderr, "the preview showed no picture\n");
        QObject::disconnect(connection);
        QObject::disconnect(started);
        qint64 gap = 0;
        for (std::size_t i = 1; i < probe.paints.size(); ++i)
            gap = std::max(gap, probe.paints[i] - probe.paints[i - 1]);
        std::printf(
            "round %d: %d slides; lumetra-make %.2f s; create page: player started %.2f s, first "
            "picture on screen %.2f s (%.2f of lumetra-make), last picture ready %.2f s; %.0f "
            "paints/s, longest pause %lld ms\n",
            round, slides, make, ready, first, first / make, last, probe.paints.size() / last,
            static_cast<long long>(gap));
        std::fflush(stdout);
        window.imgTab1Click();
    }
    window.hide();
    lumetra::platform::removeInstanceTempFolder();
    return 0;
}
