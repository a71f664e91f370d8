// The update window against a web server and a proxy of the test's own on
// 127.0.0.1: its first page, each outcome of a check, every failure with
// its message and the window usable again, the empty version file through
// the handler boundary, the window disabled but painting while it waits,
// closing it during a check, and the main window's button that opens it.

#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <QTimer>

#include "TestServers.h"
#include "UiFixture.h"
#include "app/IniFile.h"
#include "app/Version.h"
#include "support/QtTestMain.h"
#include "update/TfrmUpdate.h"
#include "update/UpdateCheck.h"

namespace lumetra::test {

using namespace std::string_literals;
namespace fs = std::filesystem;

namespace {

// Labels and buttons whose text does not fit their place.
QStringList clippedTexts(QWidget* window) {
    QStringList clipped;
    for (QLabel* label : window->findChildren<QLabel*>()) {
        if (label->text().isEmpty()) continue;
        const QFontMetrics metrics(label->font());
        const int width =
            label->wordWrap() ? label->width() : metrics.horizontalAdvance(label->text());
        const int height =
            label->wordWrap() ? label->heightForWidth(label->width()) : metrics.height();
        if (width > label->width() || height > label->height())
            clipped << QString("%1 (%2 x %3)").arg(label->objectName()).arg(width).arg(height);
    }
    for (QPushButton* button : window->findChildren<QPushButton*>())
        if (QFontMetrics(button->font()).horizontalAdvance(button->text()) > button->width() - 8)
            clipped << button->objectName();
    return clipped;
}

// Counts the paint events of one widget.
struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

}  // namespace

class UpdateWindowTest : public QObject {
    Q_OBJECT
    TestFolder web;
    std::unique_ptr<PyServers> servers;
    std::unique_ptr<UiFixture> f;
    std::unique_ptr<ui::TfrmUpdate> frm;

    std::string at(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(servers->httpPort) + path;
    }
    void serve(const std::string& body) const { web.write("version.dat", body); }
    void open(const std::string& language = "English") {
        frm.reset();  // before the main window it belongs to
        f = std::make_unique<UiFixture>(language);
        f->window->show();
        frm = std::make_unique<ui::TfrmUpdate>(*f->app, f->window.get());
        frm->show();
    }
    template <typename T = QWidget>
    T* w(const char* name) const {
        T* widget = frm->findChild<T*>(name);
        if (!widget) FailQtTest(std::string("no control ") + name);
        return widget;
    }
    QString label(const char* name) const { return w<QLabel>(name)->text(); }
    bool shown(const char* name) const { return w(name)->isVisibleTo(frm.get()); }
    bool bold(const char* name) const { return w(name)->font().bold(); }
    QString text(const lang::LangKey& key) { return QString::fromStdString(f->text(key)); }
    std::string lastCheck() const { return f->app->settings.read(settings::kUpdateLastCheck); }
    void writeSettings(const std::string& extra) const {
        f->dir.write("config/Settings.ini", "[Main]\nLanguage=English\nFlashWarning=1\n" + extra);
    }
    // Clicks cmdCheck with the version file at url and waits for the end.
    bool check(const std::string& url) {
        setenv("LUMETRA_UPDATE_URL", url.c_str(), 1);
        QSignalSpy finished(frm.get(), &ui::TfrmUpdate::checkFinished);
        w<QPushButton>("cmdCheck")->click();
        return finished.wait(15000);
    }

  private slots:
    void initTestCase() {
        servers = std::make_unique<PyServers>(
            web / "servers", std::vector<std::string>{"--root", web.path().string()},
            "version_server.py");
    }
    void cleanup() {
        ui::TfrmUpdate::setModalRunner({});
        frm.reset();
        f.reset();
        unsetenv("LUMETRA_UPDATE_URL");
    }

    void firstPage_data() {
        QTest::addColumn<QString>("language");
        QTest::newRow("English") << "English";
        QTest::newRow("Deutsch") << "Deutsch";
    }
    void firstPage() {
        QFETCH(QString, language);
        open(language.toStdString());
        QCOMPARE(frm->size(), QSize(486, 348));
        QCOMPARE(frm->minimumSize(), frm->maximumSize());
        QCOMPARE(frm->windowTitle(), text({"frmUpdate", "Caption"}));
        QCOMPARE(label("Label2"), text({"frmUpdate", "Label2"}));
        QVERIFY(shown("panBack1"));
        QVERIFY(!shown("panBack2"));
        QVERIFY(w<QPushButton>("cmdCheck")->isDefault());
        QCOMPARE(frm->focusWidget(), w("cmdCheck"));
        QVERIFY(bold("lblLeft1"));
        QVERIFY(!bold("lblLeft2"));
        for (const char* hidden : {"lblDownload", "lblVersHist", "lblHistory"})
            QVERIFY2(!shown(hidden), hidden);
        // The links show their addresses.
        QCOMPARE(label("lblDownload"), text(lang::frmUpdate::kLblDownload));
        QVERIFY(label("lblHistory").startsWith("https://"));
        // Every text fits, the result page's after a check that found a new version.
        serve("99\n");
        QVERIFY(check(at("/version.dat")));
        QVERIFY(shown("panBack2"));
        const QStringList clipped = clippedTexts(frm.get());
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(", ")));
        QVERIFY(f->services.messages.empty());
    }

    void escapeAndCancelClose() {
        for (const bool escape : {true, false}) {
            open();
            if (escape)
                QTest::keyClick(frm.get(), Qt::Key_Escape);
            else
                w<QPushButton>("cmdCancel")->click();
            QVERIFY(!frm->isVisible());
            QCOMPARE(frm->result(), int(QDialog::Rejected));
        }
    }

    void outcome_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("newer");
        QTest::addColumn<QByteArray>("newest");
        const QByteArray own = QByteArray::fromStdString(ProgramVersion(true));
        QTest::newRow("newer") << QByteArray("99.0\r\n") << true << QByteArray("99.0");
        QTest::newRow("same") << own + "\n" << false << own;
        QTest::newRow("10 sorts before 9") << QByteArray("10.0") << false << QByteArray("10.0");
        QTest::newRow("a prefix is older") << own.left(3) << false << own.left(3);
        QTest::newRow("a longer one is newer") << own + ".1" << true << own + ".1";
        QTest::newRow("further lines") << own + "\r\n99\r\nnotes\r\n" << false << own;
        QTest::newRow("empty first line") << QByteArray("\r\n99\r\n") << false << QByteArray();
        QTest::newRow("binary junk") << QByteArray("\xff\x01junk\rmore\n\0\0"s.data(), 15) << true
                                     << QByteArray("\xff\x01junk\rmore");
    }
    void outcome() {
        QFETCH(QByteArray, body);
        QFETCH(bool, newer);
        QFETCH(QByteArray, newest);
        open();
        serve(body.toStdString());
        QVERIFY(check(at("/version.dat")));
        QVERIFY2(f->services.messages.empty(), f->lastMessage().c_str());
        QVERIFY(frm->isEnabled());
        QVERIFY(!shown("panBack1"));
        QVERIFY(shown("panBack2"));
        QCOMPARE(label("lblVers1"), text(lang::frmUpdate::kCurVersion) + " " +
                                        QString::fromStdString(ProgramVersion(true)));
        QCOMPARE(label("lblVers2"), text(lang::frmUpdate::kRecVersion) + " " +
                                        QString::fromStdString(newest.toStdString()));
        QCOMPARE(label("lblStatus"),
                 text(newer ? lang::frmUpdate::kNewVersion : lang::frmUpdate::kNoNewVersion));
        QCOMPARE(w("lblStatus")->palette().color(QPalette::WindowText),
                 newer ? QColor(223, 0, 0) : QColor(0, 128, 0));
        QVERIFY(bold("lblStatus"));
        for (const char* name : {"lblDownload", "lblVersHist", "lblHistory"})
            QCOMPARE(shown(name), newer);
        QVERIFY(!bold("lblLeft1"));
        QVERIFY(bold("lblLeft2"));
        QCOMPARE(w<QPushButton>("cmdCancel")->text(), text(lang::frmUpdate::kCmdCancel2));
        QCOMPARE(frm->focusWidget(), w("cmdCancel"));
        QVERIFY(!lastCheck().empty());
        if (!newer) return;
        // The links open their captions.
        QTest::mouseClick(w("lblDownload"), Qt::LeftButton);
        QTest::mouseClick(w("lblHistory"), Qt::LeftButton);
        QCOMPARE(f->services.openedUrls,
                 (std::vector<std::string>{label("lblDownload").toStdString(),
                                           label("lblHistory").toStdString()}));
    }

    void failure_data() {
        // An empty path: nothing listens at the address. The proxy: none,
        // the test's own (it refuses the address), or a port where nothing listens.
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("proxy");
        QTest::newRow("no such file") << "/missing.dat"
                                      << "";
        QTest::newRow("server error") << "/status/500"
                                      << "";
        QTest::newRow("redirect loop") << "/loop"
                                       << "";
        QTest::newRow("100 MB") << "/huge"
                                << "";
        QTest::newRow("refused") << ""
                                 << "";
        QTest::newRow("refusing proxy") << "/refuse.dat"
                                        << "test";
        QTest::newRow("no proxy there") << "/version.dat"
                                        << "closed";
    }
    void failure() {
        QFETCH(QString, path);
        QFETCH(QString, proxy);
        open();
        serve("99\n");
        if (!proxy.isEmpty()) {
            const int port = proxy == "test" ? servers->proxyPort : FreePort();
            writeSettings("[Proxy]\nHTTP=1\nHTTPProxy=127.0.0.1\nHTTPPort=" + std::to_string(port) +
                          "\n");
        }
        const std::string kept = f->dir.read("config/Settings.ini");
        const std::string url = path.isEmpty()
                                    ? "http://127.0.0.1:" + std::to_string(FreePort()) + "/v.dat"
                                    : at(path.toStdString());
        QElapsedTimer clock;
        clock.start();
        QVERIFY(check(url));
        QVERIFY(clock.elapsed() < 10000);
        QCOMPARE(f->services.messages.size(), std::size_t(1));
        const RecordedMessage& message = f->services.messages.front();
        QCOMPARE(message.text, f->text(lang::messages::kUpdateCheckConnErr));
        QCOMPARE(message.flags, mb::kOk);  // plain: no icon
        QCOMPARE(message.caption, f->app->language.applicationTitle());
        // Nothing written; the first page again, ready for another try.
        QCOMPARE(f->dir.read("config/Settings.ini"), kept);
        QVERIFY(frm->isEnabled());
        QVERIFY(shown("panBack1"));
        QVERIFY(!shown("panBack2"));
        QVERIFY(bold("lblLeft1"));
        QCOMPARE(frm->focusWidget(), w("cmdCheck"));
        writeSettings("");
        QVERIFY(check(at("/version.dat")));
        QVERIFY(shown("panBack2"));
        QCOMPARE(f->services.messages.size(), std::size_t(1));
    }

    // LastCheck is written, then the error is reported by the handler
    // boundary, and the window is usable on its first page.
    void emptyVersionFile() {
        open();
        serve("");
        std::string lastCheckAtReport = "<no report>";
        bool enabledAtReport = false;
        f->services.onMessage = [&](const RecordedMessage&) {
            lastCheckAtReport = lastCheck();
            enabledAtReport = frm->isEnabled();
        };
        QVERIFY(check(at("/version.dat")));
        QCOMPARE(f->services.texts(), std::vector<std::string>{update::EmptyVersionFile().what()});
        QCOMPARE(f->services.messages.front().flags, mb::kError);
        QVERIFY(!lastCheckAtReport.empty());
        QCOMPARE(lastCheck(), lastCheckAtReport);
        QVERIFY(enabledAtReport);
        QVERIFY(shown("panBack1"));
        QVERIFY(!shown("panBack2"));
        QCOMPARE(w<QPushButton>("cmdCancel")->text(), text({"frmUpdate", "cmdCancel"}));
    }

    void disabledButPaintingWhileItWaits() {
        open();
        PaintCounter counter;
        w("panBack1")->installEventFilter(&counter);
        setenv("LUMETRA_UPDATE_URL", at("/silent").c_str(), 1);  // never answers
        w<QPushButton>("cmdCheck")->click();
        QVERIFY(frm->checking());
        QVERIFY(!frm->isEnabled());
        const int before = counter.paints;
        QTimer::singleShot(50, frm.get(), [&] { w("panBack1")->update(); });
        QTRY_VERIFY_WITH_TIMEOUT(counter.paints > before, 5000);
        QVERIFY(frm->checking());
        QVERIFY(!frm->isEnabled());
    }

    // Closed or destroyed during a check that would wait for ever.
    void closingDuringACheck() {
        for (const bool destroy : {false, true}) {
            open();
            QSignalSpy finished(frm.get(), &ui::TfrmUpdate::checkFinished);
            setenv("LUMETRA_UPDATE_URL", at("/silent").c_str(), 1);
            w<QPushButton>("cmdCheck")->click();
            QTest::qWait(100);
            QVERIFY(frm->checking());
            QElapsedTimer clock;
            clock.start();
            if (destroy) {
                frm.reset();
            } else {
                frm->close();  // the title bar's close works on a disabled window
                QVERIFY(!frm->isVisible());
                QVERIFY(finished.wait(5000));
                QVERIFY(!frm->checking());
            }
            QVERIFY(clock.elapsed() < 2000);
            QTest::qWait(50);
            QVERIFY2(f->services.messages.empty(), f->lastMessage().c_str());
            QVERIFY(lastCheck().empty());
            frm.reset();
            f.reset();
        }
    }

    void updateButtonOpensTheWindowModally() {
        f = std::make_unique<UiFixture>();
        f->window->show();
        QVERIFY(f->w("imgMenuUpdate")->isVisibleTo(f->window.get()));
        serve("99\n");
        setenv("LUMETRA_UPDATE_URL", at("/version.dat").c_str(), 1);
        int runs = 0;
        ui::TfrmUpdate::setModalRunner([&](ui::TfrmUpdate& window) {
            ++runs;
            QVERIFY(window.isVisible());
            QCOMPARE(window.windowModality(), Qt::ApplicationModal);
            QCOMPARE(window.parentWidget(), f->window.get());
            QVERIFY(
                (window.geometry().center() - f->window->geometry().center()).manhattanLength() <=
                2);
            QCOMPARE(window.windowTitle(), text({"frmUpdate", "Caption"}));
            QSignalSpy finished(&window, &ui::TfrmUpdate::checkFinished);
            window.findChild<QPushButton*>("cmdCheck")->click();
            QVERIFY(finished.wait(15000));
            QVERIFY(window.findChild<QWidget*>("panBack2")->isVisibleTo(&window));
        });
        f->click("imgMenuUpdate");
        QCOMPARE(runs, 1);
        // Released after use; a second click makes a new one.
        QVERIFY(f->window->findChildren<ui::TfrmUpdate*>().isEmpty());
        f->click("imgMenuUpdate");
        QCOMPARE(runs, 2);
        QVERIFY(f->services.messages.empty());
    }
};

LUMETRA_QT_TEST(UpdateWindowTest);

}  // namespace lumetra::test

#include "UpdateWindowTest.moc"
