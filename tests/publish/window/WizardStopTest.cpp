// Stopping the wizard while it works: Cancel and the title bar's close during
// an upload, and a server that stops answering in the middle of a transfer.
// The window keeps handling its events throughout.

#include <QElapsedTimer>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "WizardWindowFixture.h"
#include "lang/LangKeys.h"

namespace fs = std::filesystem;

namespace lumetra::test {

namespace {

// Takes seconds at the throttled server's pace.
const std::map<std::string, std::string> kLargeShow{{"a.jpg", std::string(400000, 'a')},
                                                    {"b.jpg", "BBBB"}};
// More than the connection's buffers hold, so a stop of the server stops
// the data in the middle.
const std::map<std::string, std::string> kHugeShow{{"a.jpg", std::string(12 << 20, 'a')},
                                                   {"b.jpg", "BBBB"}};

}  // namespace

class WizardStopTest : public QObject {
    Q_OBJECT
    std::unique_ptr<WizardWindowFixture> f;

    // Calls action once the server has received the first bytes of a.jpg.
    void whenUploading(std::function<void()> action) {
        const fs::path arrived = f->ftpRoot() / "trip" / f->dataFolderName() / "a.jpg";
        auto* poll = new QTimer(f->window.get());
        QObject::connect(poll, &QTimer::timeout, poll, [poll, action, arrived] {
            std::error_code error;
            if (fs::file_size(arrived, error) == 0 || error) return;
            poll->stop();
            poll->deleteLater();
            action();
        });
        poll->start(10);
    }
    void toUpload(const std::map<std::string, std::string>& show) {
        f->makeShow(show);
        f->startServers({"--throttle", "100000"});
        f->open();
        f->fill("/trip");
        f->next();
        QCOMPARE(f->wizard().WizardStep(), 2);
    }

  private slots:
    void init() { f = std::make_unique<WizardWindowFixture>(); }
    void cleanup() { f.reset(); }

    // Cancel and the title bar both stop the upload within a second; the
    // window closes only after the step has returned, without a message.
    void stoppingDuringAnUpload_data() {
        QTest::addColumn<bool>("titleBar");
        QTest::newRow("Cancel") << false;
        QTest::newRow("title bar") << true;
    }
    void stoppingDuringAnUpload() {
        QFETCH(bool, titleBar);
        toUpload(kLargeShow);
        auto& window = *f->window;
        QElapsedTimer sinceStop;
        bool visibleAfterStop = false, nextEnabled = true;
        whenUploading([&] {
            // Next is off, and a click that comes anyway starts nothing.
            nextEnabled = f->w<QPushButton>("cmdNext")->isEnabled();
            window.cmdNextClick();
            sinceStop.start();
            if (titleBar)
                window.close();
            else
                f->w<QPushButton>("cmdCancel")->click();
            visibleAfterStop = window.isVisible() && window.working();
        });
        f->next();
        QVERIFY(sinceStop.isValid());
        QVERIFY2(sinceStop.elapsed() < 1000, qPrintable(QString::number(sinceStop.elapsed())));
        QVERIFY(visibleAfterStop);
        QVERIFY(!nextEnabled);
        QVERIFY(!window.isVisible());
        QCOMPARE(window.result(), int(QDialog::Rejected));
        QVERIFY(f->wizard().CancelRequested());
        QVERIFY(f->shown().empty());
    }

    // The server stops answering: the read time-out's message after 15 s,
    // the window handling its events all along; or Cancel meanwhile, which
    // ends the wizard within a second.
    void serverThatStopsAnswering_data() {
        QTest::addColumn<bool>("cancel");
        QTest::newRow("waiting") << false;
        QTest::newRow("cancelled") << true;
    }
    void serverThatStopsAnswering() {
        QFETCH(bool, cancel);
        toUpload(kHugeShow);
        auto& window = *f->window;
        QElapsedTimer sincePause;
        qint64 messageAfter = -1;
        f->services.onMessage = [&](const RecordedMessage&) {
            messageAfter = sincePause.elapsed();
        };
        // The longest time the window went without handling its events.
        qint64 lastTick = -1, longestGap = 0;
        QTimer ticker;
        ticker.setTimerType(Qt::PreciseTimer);
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            if (!sincePause.isValid()) return;
            const qint64 now = sincePause.elapsed();
            longestGap = std::max(longestGap, now - std::max<qint64>(lastTick, 0));
            lastTick = now;
        });
        ticker.start(50);
        QElapsedTimer sinceCancel;
        whenUploading([&] {
            f->servers->pause();
            sincePause.start();
            if (cancel)
                QTimer::singleShot(2000, &window, [&] {
                    sinceCancel.start();
                    f->w<QPushButton>("cmdCancel")->click();
                });
        });
        f->next();
        const qint64 total = sincePause.elapsed();
        f->servers->resume();
        if (cancel) {
            // From the moment Cancel was due to the end of the step.
            QVERIFY(sinceCancel.isValid());
            QVERIFY2(total - 2000 < 1000, qPrintable(QString::number(total - 2000)));
            QVERIFY(!window.isVisible());
            QVERIFY(f->shown().empty());
        } else {
            QCOMPARE(f->shown(),
                     std::vector<std::string>({f->text(lang::messages::kFTPDisconnect)}));
            QVERIFY2(messageAfter >= 14000 && messageAfter < 25000,
                     qPrintable(QString::number(messageAfter)));
            QVERIFY(f->shows("panStep1"));
            QVERIFY(window.isVisible());
        }
        QVERIFY2(lastTick > 0 && longestGap < 500 && total - lastTick < 500,
                 qPrintable(QString("%1 ms without events in %2 ms").arg(longestGap).arg(total)));
    }
};

LUMETRA_QT_TEST(WizardStopTest);

}  // namespace lumetra::test

#include "WizardStopTest.moc"
