// lumetra-webengine-host --url URL [--script FILE] [--size 1280x800] [--timeout 600]
// Shows URL in a Qt WebEngine view of the given size, runs the script once
// the page has loaded, and ends when the script says "lmt-done" (exit code
// 0), when the page cannot load (2), when the renderer dies (3) or at the
// time-out (4). Offscreen with QT_QPA_PLATFORM=offscreen; as root WebEngine
// needs QTWEBENGINE_DISABLE_SANDBOX=1.
#include <QtWebEngineCore/qtwebenginecoreglobal.h>
#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QTimer>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <cstdio>

#include "HostPage.h"

int main(int argc, char** argv) {
    // The web view shares OpenGL contexts with the window; Qt wants this first.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption url("url", "page to show", "url");
    const QCommandLineOption script("script", "script run after loading", "file");
    const QCommandLineOption size("size", "view size", "WxH", "1280x800");
    const QCommandLineOption timeout("timeout", "seconds before giving up", "s", "600");
    parser.addOptions({url, script, size, timeout});
    parser.addHelpOption();
    parser.process(app);
    if (!parser.isSet(url)) parser.showHelp(1);

    QString code;
    if (parser.isSet(script)) {
        QFile f(parser.value(script));
        if (!f.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(parser.value(script)));
            return 1;
        }
        code = QString::fromUtf8(f.readAll());
    }
    const QStringList wh = parser.value(size).split('x');
    if (wh.size() != 2 || wh[0].toInt() <= 0 || wh[1].toInt() <= 0) parser.showHelp(1);

    std::printf("engine Qt WebEngine %s (Chromium %s)\n", qWebEngineVersion(),
                qWebEngineChromiumVersion());
    std::fflush(stdout);

    QWebEngineView view;
    auto* page = new HostPage(&view, &view);
    view.setPage(page);
    // As the in-app preview will: sound without a click, pages from disk may read their neighbours.
    page->settings()->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
    page->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    view.resize(wh[0].toInt(), wh[1].toInt());
    view.show();

    QObject::connect(page, &HostPage::finished, &app, [&app] { app.exit(0); });
    bool ran = false;
    QObject::connect(page, &QWebEnginePage::loadFinished, &app, [&](bool ok) {
        if (ran) return;
        ran = true;
        if (!ok) {
            std::fprintf(stderr, "cannot load %s\n", qPrintable(parser.value(url)));
            app.exit(2);
        } else if (!code.isEmpty()) {
            page->runJavaScript(code);
        }
    });
    QObject::connect(page, &QWebEnginePage::renderProcessTerminated, &app,
                     [&app](QWebEnginePage::RenderProcessTerminationStatus, int exitCode) {
                         std::fprintf(stderr, "the renderer ended (%d)\n", exitCode);
                         app.exit(3);
                     });
    QTimer::singleShot(parser.value(timeout).toInt() * 1000, &app, [&app] {
        std::fprintf(stderr, "time-out\n");
        app.exit(4);
    });
    page->load(QUrl::fromUserInput(parser.value(url)));
    return app.exec();
}
