// The settings page: its controls edit the show settings, its rules tie
// them together, and the music preview plays through the (scripted) services.

#include <sys/stat.h>

#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <fstream>

#include "UiFixture.h"
#include "app/MusicList.h"
#include "app/ProjectFile.h"
#include "generator/MusicPreview.h"
#include "generator/XorScramble.h"
#include "lang/Messages.h"
#include "support/QtTestMain.h"
#include "ui/ClickableLabel.h"
#include "ui/PictureWidgets.h"

namespace lumetra::test {

namespace fs = std::filesystem;

namespace {

// An MP3 file as far as the scripted player cares: an ID3v2 tag, then frames.
const std::string kTaggedMp3 = std::string("ID3\x03\x00\x00\x00\x00\x00\x0A", 10) +
                               std::string(10, '\0') + "\xFF\xFB" + std::string(100, 'a');

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace

class SettingsPageTest : public QObject {
    Q_OBJECT
    std::unique_ptr<UiFixture> f;

    ShowSettings& settings() { return f->app->project.Settings; }
    bool modified() { return f->app->project.Modified(); }
    QAbstractButton* box(const char* name) { return f->w<QAbstractButton>(name); }
    bool checked(const char* name) { return box(name)->isChecked(); }
    QLineEdit* field(const char* name) { return f->w<QLineEdit>(name); }
    // What the list does when the person picks an entry.
    void choose(const char* name, int index) {
        auto* list = f->w<QComboBox>(name);
        list->setCurrentIndex(index);
        emit list->activated(index);
    }
    void focus(QWidget* widget, QEvent::Type type) {
        QFocusEvent event(type, Qt::MouseFocusReason);
        QApplication::sendEvent(widget, &event);
    }
    QString art(const char* name) { return f->w<ui::PictureButton>(name)->art(); }
    // The preview's temporary copies in the user's temporary folder.
    std::vector<fs::path> copies() {
        std::vector<fs::path> out;
        for (const auto& entry : fs::directory_iterator(f->dir / "run"))
            if (entry.path().filename().string().rfind("LMT", 0) == 0) out.push_back(entry.path());
        return out;
    }
    std::string ownFile(const std::string& name, const std::string& bytes = kTaggedMp3) {
        return f->dir.write(name, bytes).string();
    }

  private slots:
    void init() {
        f = std::make_unique<UiFixture>();
        // A test that should not touch the music finds stops in every switch.
        f->app->project.SetModified(false);
    }
    void cleanup() { f.reset(); }

    // ---------------------------------------------------------------- options

    void autostartKeepsTheNavigationBar_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<bool>("navBar");
        QTest::addColumn<bool>("navBarEnabled");
        QTest::newRow("autostart off") << QStringList{"chkAutostart"} << true << false;
        QTest::newRow("bar off, then autostart off")
            << QStringList{"chkNavBar", "chkAutostart"} << true << false;
        QTest::newRow("autostart off and on")
            << QStringList{"chkAutostart", "chkAutostart"} << true << true;
        QTest::newRow("bar off, autostart off and on")
            << QStringList{"chkNavBar", "chkAutostart", "chkAutostart"} << true << true;
        QTest::newRow("random order leaves the bar")
            << QStringList{"chkRandomOrder"} << true << true;
        QTest::newRow("bar off stays off") << QStringList{"chkNavBar"} << false << true;
    }
    void autostartKeepsTheNavigationBar() {
        QFETCH(QStringList, steps);
        QFETCH(bool, navBar);
        QFETCH(bool, navBarEnabled);
        for (const QString& name : steps) box(name.toUtf8().constData())->click();
        QCOMPARE(checked("chkNavBar"), navBar);
        QCOMPARE(box("chkNavBar")->isEnabled(), navBarEnabled);
        QCOMPARE(settings().NavBar, navBar);
        QCOMPARE(settings().Autostart, checked("chkAutostart"));
        QCOMPARE(settings().RandomOrder, checked("chkRandomOrder"));
        QVERIFY(modified());
    }

    // Every control writes its own setting, and every edit marks the project.
    void everyControlEditsItsSetting_data() {
        QTest::addColumn<QString>("control");
        for (const char* name :
             {"optAudio1", "optAudioSel", "chkAudioLoop", "chkEditImg", "chkTrim", "chkLoop",
              "chkNavBar", "chkRandomOrder", "chkLinkTargetBlank", "chkAutostart", "optBGNone"})
            QTest::newRow(name) << name;
    }
    void everyControlEditsItsSetting() {
        QFETCH(QString, control);
        const ShowSettings before = settings();
        box(control.toUtf8().constData())->click();
        QVERIFY(modified());
        ShowSettings expected = before;
        expected.audioMode = checked("optAudioNone") ? AudioMode::None
                             : checked("optAudio1")  ? AudioMode::Library
                                                     : AudioMode::OwnFile;
        expected.AudioLoop = checked("chkAudioLoop");
        expected.FitImages = checked("chkEditImg");
        expected.Trim = checked("chkTrim");
        expected.Loop = checked("chkLoop");
        expected.NavBar = checked("chkNavBar");
        expected.RandomOrder = checked("chkRandomOrder");
        expected.LinkTargetBlank = checked("chkLinkTargetBlank");
        expected.Autostart = checked("chkAutostart");
        expected.BackgroundTransparent = checked("optBGNone");
        QVERIFY(expected != before);
        QVERIFY(settings() == expected);
    }

    void backgroundColourDialog() {
        auto* swatch = f->w<ui::ColorSwatch>("panBGColor");
        box("optBGNone")->click();
        f->app->project.SetModified(false);
        f->services.colorAnswers.push_back(std::nullopt);  // cancelled
        QTest::mouseClick(swatch, Qt::LeftButton);
        QCOMPARE(f->services.dialogs.back().kind, DialogKind::ChooseColor);
        QCOMPARE(f->services.dialogs.back().request.title, std::to_string(0xFFFFFF));
        QVERIFY(!modified());
        QVERIFY(checked("optBGNone"));
        f->services.colorAnswers.push_back(0x3366CC);
        QTest::mouseClick(swatch, Qt::LeftButton);
        QCOMPARE(swatch->color(), 0x3366CCu);
        QCOMPARE(settings().BackgroundColor, 0x3366CC);
        QVERIFY(checked("optBGColor"));
        QVERIFY(!settings().BackgroundTransparent);
        QVERIFY(modified());
        // The next dialog starts from the swatch's colour.
        f->services.colorAnswers.push_back(std::nullopt);
        QTest::mouseClick(swatch, Qt::LeftButton);
        QCOMPARE(f->services.dialogs.back().request.title, std::to_string(0x3366CC));
    }

    // ---------------------------------------------------------------- fitting

    void fittingListAndHint_data() {
        QTest::addColumn<bool>("fitBefore");
        QTest::addColumn<int>("entry");
        QTest::addColumn<bool>("fieldsShown");
        QTest::addColumn<QString>("hint");
        QTest::newRow("entry 0 while off") << false << 0 << false << "lblImgEditInfo1a";
        QTest::newRow("entry 1 while off") << false << 1 << false << "lblImgEditInfo1b";
        QTest::newRow("entry 2 while off") << false << 2 << true << "lblImgEditInfo1c";
        QTest::newRow("entry 2 while on") << true << 2 << true << "lblImgEditInfo1c";
        QTest::newRow("entry 1 while on") << true << 1 << false << "lblImgEditInfo1b";
    }
    void fittingListAndHint() {
        QFETCH(bool, fitBefore);
        QFETCH(int, entry);
        QFETCH(bool, fieldsShown);
        QFETCH(QString, hint);
        if (fitBefore) box("chkEditImg")->click();
        f->app->project.SetModified(false);
        choose("cboEditImg1", entry);
        QVERIFY(checked("chkEditImg"));
        QVERIFY(settings().FitImages);
        QCOMPARE(settings().FitMode, entry);
        QVERIFY(modified());
        for (const char* name :
             {"txtEditImgFixX", "txtEditImgFixY", "lblEditImgFixX", "lblEditImgFixY"})
            QCOMPARE(!f->w(name)->isHidden(), fieldsShown);
        QCOMPARE(f->w<QLabel>("lblImgEditInfo")->text().toStdString(),
                 f->app->language.GetLangString("frmMain", hint.toStdString()));
        // Switching fitting off hides the fields and says so.
        box("chkEditImg")->click();
        QVERIFY(f->w("txtEditImgFixX")->isHidden());
        QVERIFY(f->w("lblEditImgFixY")->isHidden());
        QCOMPARE(f->w<QLabel>("lblImgEditInfo")->text().toStdString(),
                 f->text(lang::frmMain::kLblImgEditInfo0));
        QCOMPARE(settings().FitMode, entry);
    }

    void fixedSizeFieldsTakeDigitsOnly_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("caret");  // where the insertion goes; -1 replaces everything
        QTest::addColumn<QString>("inserted");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("caretAfter");
        QTest::addColumn<int>("beeps");
        QTest::newRow("pasted 12a4") << "600" << -1 << "12a4"
                                     << "124" << 3 << 1;
        QTest::newRow("letter typed inside") << "600" << 1 << "x"
                                             << "600" << 1 << 1;
        QTest::newRow("digits typed") << "600" << 3 << "0"
                                      << "6000" << 4 << 0;
        QTest::newRow("umlaut pasted") << "60" << 1 << QString::fromUtf8("ü5") << "650" << 2 << 1;
        QTest::newRow("emptied") << "600" << -1 << ""
                                 << "1" << 1 << 0;
        QTest::newRow("only letters pasted") << "600" << -1 << "abc"
                                             << "1" << 1 << 1;
    }
    void fixedSizeFieldsTakeDigitsOnly() {
        QFETCH(QString, before);
        QFETCH(int, caret);
        QFETCH(QString, inserted);
        QFETCH(QString, after);
        QFETCH(int, caretAfter);
        QFETCH(int, beeps);
        for (const char* name : {"txtEditImgFixX", "txtEditImgFixY"}) {
            QLineEdit* edit = field(name);
            edit->setText(before);
            f->app->project.SetModified(false);
            const int beepsBefore = f->services.beeps;
            if (caret < 0)
                edit->selectAll();
            else
                edit->setCursorPosition(caret);
            edit->insert(inserted);
            QCOMPARE(edit->text(), after);
            QCOMPARE(edit->cursorPosition(), caretAfter);
            QCOMPARE(f->services.beeps - beepsBefore, beeps);
            QVERIFY(modified());
            const std::string& value = name[13] == 'X' ? settings().FitWidth : settings().FitHeight;
            QCOMPARE(QString::fromStdString(value), after);
        }
    }

    // ---------------------------------------------------------------- own music field

    void ownAudioFieldAndItsHint() {
        QLineEdit* audio = field("txtAudio");
        const QString hint = QString::fromStdString(f->text(lang::frmMain::kTxtAudio));
        QCOMPARE(audio->text(), hint);
        // Entering and leaving the field swaps the hint for nothing: no edit.
        focus(audio, QEvent::FocusIn);
        QCOMPARE(audio->text(), QString());
        QVERIFY(checked("optAudioNone"));
        focus(audio, QEvent::FocusOut);
        QCOMPARE(audio->text(), hint);
        QVERIFY(!modified());
        QCOMPARE(settings().AudioFile, std::string());
        // A path that is not there: own music is chosen, nothing to play.
        focus(audio, QEvent::FocusIn);
        QTest::keyClicks(audio, QString::fromStdString((f->dir / "gone.mp3").string()));
        QVERIFY(checked("optAudioSel"));
        QCOMPARE(settings().audioMode, AudioMode::OwnFile);
        QVERIFY(f->w("btnAudioPlaySel")->isHidden());
        QVERIFY(modified());
        // A path that is there shows the play button; a folder does not count.
        audio->setText(QString::fromStdString(ownFile("song.mp3")));
        QVERIFY(!f->w("btnAudioPlaySel")->isHidden());
        QCOMPARE(settings().AudioFile, (f->dir / "song.mp3").string());
        audio->setText(QString::fromStdString(f->dir.path().string()));
        QVERIFY(f->w("btnAudioPlaySel")->isHidden());
        // Leaving a filled field keeps its text.
        focus(audio, QEvent::FocusOut);
        QCOMPARE(audio->text().toStdString(), f->dir.path().string());
    }

    void audioFileDialog() {
        f->services.fileAnswers.push_back({});
        f->click("btnAudioSelect");
        const RecordedDialog& dialog = f->services.dialogs.back();
        QCOMPARE(dialog.kind, DialogKind::OpenFiles);
        QVERIFY(!dialog.multiple);
        QCOMPARE(dialog.request.filter, f->text(lang::gui::kAudio));
        QCOMPARE(dialog.request.initialPath, std::string());
        QVERIFY(!modified());
        const std::string song = ownFile("song.mp3");
        f->services.fileAnswers.push_back({song});
        f->click("btnAudioSelect");
        QCOMPARE(field("txtAudio")->text().toStdString(), song);
        QVERIFY(checked("optAudioSel"));
        QVERIFY(!f->w("btnAudioPlaySel")->isHidden());
        QVERIFY(modified());
    }

    // The settings page with an emptied own-music field: the next visit shows the hint.
    void aSwitchToTheSettingsPageRestoresTheHint() {
        f->addPictures(1);
        field("txtAudio")->clear();
        f->window->imgTab2Click();
        QCOMPARE(field("txtAudio")->text().toStdString(), f->text(lang::frmMain::kTxtAudio));
    }

    // Own music chosen without a file becomes no music on leaving the page.
    void ownMusicWithoutAFileBecomesNone() {
        f->addPictures(1);
        f->window->imgTab2Click();
        box("optAudioSel")->click();
        f->app->project.SetModified(false);
        f->window->imgTab1Click();
        QCOMPARE(f->window->CurrentPage(), 1);
        QVERIFY(checked("optAudioNone"));
        QCOMPARE(settings().audioMode, AudioMode::None);
        QVERIFY(modified());
    }

    // ---------------------------------------------------------------- filling

    void newAndLoadFillTheControlsWithoutAnEdit() {
        f->addPictures(1);
        box("optAudioSel")->click();
        field("txtAudio")->setText(QString::fromStdString(ownFile("song.mp3")));
        box("chkAudioLoop")->click();
        choose("cboMusic", 2);
        box("optAudioSel")->click();
        choose("cboEditImg1", 2);
        field("txtEditImgFixX")->setText("1024");
        field("txtEditImgFixY")->setText("768");
        box("chkTrim")->click();
        box("chkAutostart")->click();
        box("chkLoop")->click();
        box("chkLinkTargetBlank")->click();
        box("chkRandomOrder")->click();
        box("optBGNone")->click();
        const ShowSettings edited = settings();
        QVERIFY(edited != ShowSettings{});
        const std::string project = (f->dir / "p.lmx").string();
        SaveProject(*f->app, project);

        NewProject(*f->app);
        QVERIFY(!modified());
        QVERIFY(checked("optAudioNone"));
        QVERIFY(checked("chkAutostart") && checked("chkNavBar") && box("chkNavBar")->isEnabled());
        QVERIFY(!checked("chkEditImg"));
        QVERIFY(f->w("txtEditImgFixX")->isHidden());
        QCOMPARE(field("txtEditImgFixX")->text(), QString("600"));
        QCOMPARE(field("txtAudio")->text().toStdString(), f->text(lang::frmMain::kTxtAudio));
        QVERIFY(f->w("btnAudioPlaySel")->isHidden());
        QVERIFY(checked("optBGColor"));
        QCOMPARE(f->w<QComboBox>("cboMusic")->currentText().toStdString(),
                 std::string(kEnglishDefaultMusic));

        QCOMPARE(LoadProject(*f->app, project), LoadResult::Loaded);
        QVERIFY(!modified());
        QVERIFY(settings() == edited);
        QVERIFY(checked("optAudioSel"));
        QCOMPARE(field("txtAudio")->text().toStdString(), edited.AudioFile);
        QVERIFY(!f->w("btnAudioPlaySel")->isHidden());
        QCOMPARE(f->w<QComboBox>("cboMusic")->currentIndex(), 2);
        QVERIFY(!checked("chkAudioLoop"));
        QVERIFY(checked("chkEditImg"));
        QCOMPARE(f->w<QComboBox>("cboEditImg1")->currentIndex(), 2);
        QVERIFY(!f->w("txtEditImgFixY")->isHidden());
        QCOMPARE(field("txtEditImgFixY")->text(), QString("768"));
        QCOMPARE(f->w<QLabel>("lblImgEditInfo")->text().toStdString(),
                 f->text(lang::frmMain::kLblImgEditInfo1c));
        QVERIFY(!checked("chkAutostart"));
        QVERIFY(checked("chkNavBar") && !box("chkNavBar")->isEnabled());
        QVERIFY(checked("optBGNone"));
        QVERIFY(f->services.messages.empty());
    }

    // A library file whose extension is in capitals is no title.
    void musicListLeavesOutCapitals() {
        for (const char* name : {"b.ravoz", "A.ravoz", "Loud.RAVOZ"})
            f->dir.write(std::string("audio/") + name, "x");
        f->app->musicTitles = FillMusicList(f->dir / "audio");
        NewProject(*f->app);
        auto* music = f->w<QComboBox>("cboMusic");
        QCOMPARE(music->count(), 2);
        QCOMPARE(music->itemText(0), QString("A"));
        QCOMPARE(music->itemText(1), QString("b"));
        QCOMPARE(music->currentIndex(), 0);  // the default title is missing
        QCOMPARE(settings().MusicTitle, std::string("A"));
    }

    // ---------------------------------------------------------------- music preview

    void libraryTitlePlaysFromADescrambledCopy() {
        choose("cboMusic", 1);
        QVERIFY(checked("optAudio1"));
        const fs::path library =
            f->app->dataFolder() / "audio" / (settings().MusicTitle + ".ravoz");
        std::string plain = readFile(library);
        XorScrambleBytes(kMusicKey, plain.data(), plain.size());
        f->services.onPlay = [&](const std::string& path) {
            QCOMPARE(fs::path(path).parent_path(), f->dir / "run");
            QVERIFY(fs::path(path).filename().string().rfind("LMT", 0) == 0);
            QCOMPARE(fs::path(path).extension().string(), std::string(".mp3"));
            QVERIFY(readFile(path) == plain);
            QCOMPARE(copies().size(), std::size_t(2));  // the name and its .mp3
        };
        f->click("btnAudioPlay1");
        QCOMPARE(f->services.played.size(), std::size_t(1));
        QVERIFY(copies().empty());  // gone once the player has them open
        QCOMPARE(art("btnAudioPlay1"), QString("btnAudioStop"));
        QCOMPARE(art("btnAudioPlaySel"), QString("btnAudioPlay"));
        // A second click stops.
        const int stops = f->services.stops;
        f->click("btnAudioPlay1");
        QCOMPARE(f->services.stops, stops + 1);
        QCOMPARE(f->services.played.size(), std::size_t(1));
        QCOMPARE(art("btnAudioPlay1"), QString("btnAudioPlay"));
        // Music that ends by itself gives the button back.
        f->click("btnAudioPlay1");
        QCOMPARE(art("btnAudioPlay1"), QString("btnAudioStop"));
        f->services.audioEnded();
        QCOMPARE(art("btnAudioPlay1"), QString("btnAudioPlay"));
    }

    void playbackStopsOnAnotherTitleAndOnASwitch() {
        f->addPictures(1);
        f->window->imgTab2Click();
        f->click("btnAudioPlay1");
        int stops = f->services.stops;
        choose("cboMusic", 1);
        QCOMPARE(f->services.stops, stops + 1);
        QCOMPARE(art("btnAudioPlay1"), QString("btnAudioPlay"));
        f->click("btnAudioPlay1");
        stops = f->services.stops;
        f->window->imgTab2Click();
        QCOMPARE(f->services.stops, stops + 1);
        QCOMPARE(art("btnAudioPlay1"), QString("btnAudioPlay"));
    }

    void aTitleThatCannotBePlayed() {
        f->services.playResult = false;
        f->click("btnAudioPlay1");
        QCOMPARE(f->services.played.size(), std::size_t(1));
        QCOMPARE(int(f->services.messages.size()), 1);
        QCOMPARE(f->lastMessage(), std::string(kAudioNotPlayable));
        QCOMPARE(f->services.messages.back().caption, f->text(lang::gui::kTitle));
        QCOMPARE(f->services.messages.back().flags, mb::kError);
        QCOMPARE(art("btnAudioPlay1"), QString("btnAudioPlay"));
        QVERIFY(copies().empty());
    }

    void ownFilePreview_data() {
        QTest::addColumn<QString>("file");  // "song", "gone", "fifo", "folder"
        QTest::addColumn<QList<bool>>("results");
        QTest::addColumn<int>("attempts");
        QTest::addColumn<QString>("message");  // "", "gone", "fixed"
        QTest::newRow("plays") << "song" << QList<bool>{true} << 1 << "";
        QTest::newRow("plays without its tag") << "song" << QList<bool>{false, true} << 2 << "";
        QTest::newRow("plays in neither form")
            << "song" << QList<bool>{false, false} << 2 << "fixed";
        QTest::newRow("vanished") << "gone" << QList<bool>{} << 0 << "gone";
        QTest::newRow("a pipe") << "fifo" << QList<bool>{} << 0 << "fixed";
    }
    void ownFilePreview() {
        QFETCH(QString, file);
        QFETCH(QList<bool>, results);
        QFETCH(int, attempts);
        QFETCH(QString, message);
        std::string path = ownFile("song.mp3");
        if (file == "fifo") {
            path = (f->dir / "pipe.mp3").string();
            QCOMPARE(mkfifo(path.c_str(), 0600), 0);
        }
        field("txtAudio")->setText(QString::fromStdString(path));
        QVERIFY(!f->w("btnAudioPlaySel")->isHidden());
        if (file == "gone") fs::remove(path);
        for (bool result : results) f->services.playResults.push_back(result);
        std::vector<std::string> contents;
        f->services.onPlay = [&](const std::string& played) {
            contents.push_back(readFile(played));
        };
        f->click("btnAudioPlaySel");
        QCOMPARE(int(f->services.played.size()), attempts);
        if (attempts >= 1) QCOMPARE(f->services.played[0], path);
        if (attempts == 2) {
            // The second attempt plays a copy without the tag.
            QVERIFY(f->services.played[1] != path);
            QCOMPARE(contents[1], kTaggedMp3.substr(20));
        }
        QVERIFY(copies().empty());
        if (message.isEmpty()) {
            QVERIFY(f->services.messages.empty());
            QCOMPARE(art("btnAudioPlaySel"), QString("btnAudioStop"));
        } else {
            QCOMPARE(int(f->services.messages.size()), 1);
            QCOMPARE(f->services.messages.back().flags, mb::kError);
            QCOMPARE(f->lastMessage(),
                     message == "gone"
                         ? MessageText(f->app->language, lang::messages::kAudioDoesntExist, {path})
                         : std::string(kAudioNotPlayable));
            QCOMPARE(art("btnAudioPlaySel"), QString("btnAudioPlay"));
        }
    }

    // A copy that could not be deleted after playing goes when the window closes.
    void aLeftoverCopyGoesOnClosing() {
        f->services.onPlay = [&](const std::string& path) {
            // Something keeps the name: a folder with a file in it.
            fs::remove(path);
            f->dir.write(fs::path(path) / "held", "x");
        };
        f->click("btnAudioPlay1");
        QCOMPARE(copies().size(), std::size_t(1));
        fs::remove(fs::path(f->services.played[0]) / "held");
        QVERIFY(f->window->FormCloseQuery());
        QVERIFY(copies().empty());
    }
};

LUMETRA_QT_TEST(SettingsPageTest);

}  // namespace lumetra::test

#include "SettingsPageTest.moc"
