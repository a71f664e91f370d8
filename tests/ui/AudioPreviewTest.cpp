// The music preview with the real player: Qt Multimedia on GStreamer, driven
// through the settings page's buttons. Messages are scripted; the sound goes
// to whatever output the machine has (none on a build server: GStreamer then
// plays into a silent sink, and the position still moves).

#include <sys/stat.h>
#include <unistd.h>

#include <QAudioDevice>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMediaDevices>
#include <QMediaFormat>
#include <QTest>
#include <fstream>

#include "UiFixture.h"
#include "generator/Id3v2Tag.h"
#include "generator/MusicPreview.h"
#include "generator/XorScramble.h"
#include "support/JunkTaggedMp3.h"
#include "support/QtTestMain.h"
#include "ui/AudioPlayer.h"
#include "ui/PictureWidgets.h"
#include "ui/QtServices.h"

namespace lumetra::test {

namespace fs = std::filesystem;

namespace {

// Scripted messages and dialogs, the desktop's real player.
class RealAudioServices : public ScriptedServices {
  public:
    ui::QtServices qt;
    std::vector<bool> results;

    bool playAudio(const std::string& path) override {
        played.push_back(path);
        results.push_back(qt.playAudio(path));
        return results.back();
    }
    void stopAudio() override {
        ++stops;
        qt.stopAudio();
    }
    void setAudioEndedHandler(std::function<void()> handler) override {
        qt.setAudioEndedHandler(std::move(handler));
    }
    ui::AudioPlayer* player() { return qt.audioPlayer(); }
};

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace

class AudioPreviewTest : public QObject {
    Q_OBJECT
    TestFolder dir;
    RealAudioServices services;
    std::unique_ptr<Application> app;
    std::unique_ptr<ui::TfrmMain> window;
    std::string plainMp3;  // a library title, unscrambled, without its tag

    QAbstractButton* button(const char* name) { return window->findChild<QAbstractButton*>(name); }
    QString art(const char* name) { return window->findChild<ui::PictureButton*>(name)->art(); }
    std::size_t copies() {
        std::size_t n = 0;
        for (const auto& entry : fs::directory_iterator(dir / "run"))
            n += entry.path().filename().string().rfind("LMT", 0) == 0;
        return n;
    }
    // Plays an own file through its button; the time it took.
    qint64 playOwn(const fs::path& path) {
        window->findChild<QLineEdit*>("txtAudio")->setText(QString::fromStdString(path.string()));
        QElapsedTimer clock;
        clock.start();
        button("btnAudioPlaySel")->click();
        return clock.elapsed();
    }
    // Nothing plays, and no player is left in a playing state.
    bool stopped() {
        const QMediaPlayer* player = services.player()->mediaPlayer();
        return !services.player()->playing() &&
               (!player || player->playbackState() == QMediaPlayer::StoppedState);
    }
    qint64 position() {
        const QMediaPlayer* player = services.player()->mediaPlayer();
        return player ? player->position() : -1;
    }

  private slots:
    void initTestCase() {
        const fs::path run = dir / "run";
        fs::create_directories(run);
        chmod(run.c_str(), 0700);
        setenv("XDG_RUNTIME_DIR", run.c_str(), 1);
        dir.write("config/Settings.ini", "[Main]\nLanguage=English\nFlashWarning=1\n");
        services.strict = true;
        services.report = FailQtTest;
        app = std::make_unique<Application>(services, LUMETRA_BINARY_DIR "/bin", dir / "docs");
        app->settings.setSettingsFile(dir / "config" / "Settings.ini");
        app->musicTitles = FillMusicList(app->dataFolder() / "audio");
        ui::SetArtworkFolder(app->dataFolder() / "gui");
        window = std::make_unique<ui::TfrmMain>(*app, ui::TfrmMain::Options{false, [] {}});
        NewProject(*app);
        ui::TranslateForm(*app, window.get(), "frmMain");

        // The player is made with the first sound; make it now, so the
        // backend is GStreamer when the decoders are asked for.
        QVERIFY(!services.qt.playAudio((dir / "none.mp3").string()));
        const auto decoders = QMediaFormat().supportedAudioCodecs(QMediaFormat::Decode);
        if (!decoders.contains(QMediaFormat::AudioCodec::MP3))
            QFAIL(
                "GStreamer cannot decode MP3 on this machine: its MP3 plug-in "
                "(gstreamer1.0-plugins-good) is missing; run tools/install-deps.sh");
        qInfo("audio outputs: %d%s", int(QMediaDevices::audioOutputs().size()),
              QMediaDevices::audioOutputs().isEmpty() ? " (none: playback is silent)" : "");

        const fs::path plain =
            dir.write("plain.mp3", readFile(app->dataFolder() / "audio" / "Garden Waltz.ravoz"));
        QVERIFY(XorScrambleFile(plain));
        QVERIFY(StripId3v2Tag(plain));
        plainMp3 = readFile(plain);
    }
    void cleanupTestCase() {
        window.reset();
        app.reset();
    }
    void init() {
        services.played.clear();
        services.results.clear();
        services.messages.clear();
    }
    void cleanup() { button("btnAudioSelect")->setFocus(); }

    void aLibraryTitlePlaysAndStops() {
        window->findChild<QComboBox*>("cboMusic")->setCurrentIndex(0);
        button("btnAudioPlay1")->click();
        QCOMPARE(services.results, std::vector<bool>{true});
        QVERIFY(services.player()->playing());
        QCOMPARE(art("btnAudioPlay1"), QString("btnAudioStop"));
        QCOMPARE(copies(), std::size_t(0));  // deleted once the player had it open
        // The music moves on (also into a silent output), and the window with it.
        QTRY_VERIFY_WITH_TIMEOUT(position() > 300, 5000);
        button("btnAudioPlay1")->click();
        QVERIFY(stopped());
        QVERIFY(!services.player()->playing());
        QCOMPARE(art("btnAudioPlay1"), QString("btnAudioPlay"));
        QVERIFY(services.messages.empty());
    }

    // GStreamer refuses the file for its tag; the copy without it plays.
    void aJunkTagIsRemovedForTheSecondAttempt() {
        const fs::path junk = dir.write("junk.mp3", JunkTaggedMp3(plainMp3));
        playOwn(junk);
        QCOMPARE(services.results, (std::vector<bool>{false, true}));
        QCOMPARE(services.played[0], junk.string());
        QVERIFY(services.messages.empty());
        QVERIFY(services.player()->playing());
        QCOMPARE(art("btnAudioPlaySel"), QString("btnAudioStop"));
        QCOMPARE(copies(), std::size_t(0));
        QTRY_VERIFY_WITH_TIMEOUT(position() > 300, 5000);
        QCOMPARE(readFile(junk), JunkTaggedMp3(plainMp3));  // the own file is left alone
        window->imgTab1Click();                             // leaving the page stops the music
        QVERIFY(stopped());
        QCOMPARE(art("btnAudioPlaySel"), QString("btnAudioPlay"));
    }

    // A player that does not decide within its time counts as failed and goes.
    void openingIsBoundedInTime() {
        const fs::path plain = dir.write("bounded.mp3", plainMp3);
        ui::AudioPlayer player;
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!player.play(QString::fromStdString(plain.string()), std::chrono::milliseconds(1)));
        QVERIFY(clock.elapsed() < 1000);
        QVERIFY(!player.playing());
        QVERIFY(!player.mediaPlayer());
        QVERIFY(player.play(QString::fromStdString(plain.string())));
        QVERIFY(player.playing());
    }

    // A short file ends by itself: its button shows the play symbol again.
    void theEndOfTheMusicGivesTheButtonBack() {
        // About a second of frames from the middle of the title.
        const fs::path shortMp3 = dir.write(
            "short.mp3", plainMp3.substr(0, std::min<std::size_t>(20000, plainMp3.size())));
        playOwn(shortMp3);
        QCOMPARE(services.results, std::vector<bool>{true});
        QTRY_COMPARE_WITH_TIMEOUT(art("btnAudioPlaySel"), QString("btnAudioPlay"), 8000);
        QVERIFY(!services.player()->playing());
    }

    void badOwnFiles_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("mayPlay");
        QTest::newRow("text") << "text" << false;
        QTest::newRow("empty") << "empty" << false;
        QTest::newRow("noise") << "noise" << false;
        QTest::newRow("huge") << "huge" << false;
        QTest::newRow("pipe") << "pipe" << false;
        QTest::newRow("truncated in a frame") << "truncated" << true;
        QTest::newRow("damaged in the middle") << "damaged" << true;
        if (geteuid() != 0) QTest::newRow("unreadable") << "unreadable" << false;
    }
    void badOwnFiles() {
        QFETCH(QString, kind);
        QFETCH(bool, mayPlay);
        const fs::path path = dir / ("bad-" + kind.toStdString() + ".mp3");
        fs::remove(path);
        if (kind == "text") dir.write(path.filename(), "This is no music.\n");
        if (kind == "empty") dir.write(path.filename(), "");
        if (kind == "noise") {
            std::string noise(300000, '\0');
            std::uint32_t x = 12345;
            for (char& c : noise) c = char((x = x * 1103515245 + 12345) >> 24);
            dir.write(path.filename(), noise);
        }
        if (kind == "huge") {
            { std::ofstream(path) << "not an mp3"; }
            fs::resize_file(path, std::uintmax_t(4) << 30);  // sparse
        }
        if (kind == "pipe") QCOMPARE(mkfifo(path.c_str(), 0600), 0);
        if (kind == "truncated") dir.write(path.filename(), plainMp3.substr(0, 50001));
        if (kind == "damaged") {
            std::string damaged = plainMp3;
            for (std::size_t i = 30000; i < 60000 && i < damaged.size(); ++i) damaged[i] = char(i);
            dir.write(path.filename(), damaged);
        }
        if (kind == "unreadable") {
            dir.write(path.filename(), plainMp3);
            chmod(path.c_str(), 0);
        }
        const qint64 ms = playOwn(path);
        qInfo("%s: %lld ms", qPrintable(kind), ms);
        QVERIFY2(ms < 4000, "the window waited too long");
        const bool played = services.messages.empty();
        if (played) {
            QVERIFY2(mayPlay, "a file that cannot be music was reported as playing");
            QVERIFY(services.player()->playing());
            button("btnAudioPlaySel")->click();
        } else {
            QCOMPARE(int(services.messages.size()), 1);
            QCOMPARE(services.messages[0].text, std::string(kAudioNotPlayable));
            QCOMPARE(services.messages[0].flags, mb::kError);
        }
        QVERIFY(stopped());  // nothing is left in a playing state after an error
        QCOMPARE(art("btnAudioPlaySel"), QString("btnAudioPlay"));
        QCOMPARE(copies(), std::size_t(0));
        fs::remove(path);
    }
};

LUMETRA_QT_TEST(AudioPreviewTest);

}  // namespace lumetra::test

#include "AudioPreviewTest.moc"
