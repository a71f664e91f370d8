// The frame of the main window: geometry, pages, tabs and hover pictures,
// the page-change check, the project commands and closing.

#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "UiFixture.h"
#include "app/Platform.h"
#include "app/ProjectFile.h"
#include "support/QtTestMain.h"
#include "ui/PictureWidgets.h"

namespace lumetra::test {

class MainFrameTest : public QObject {
    Q_OBJECT
    std::unique_ptr<UiFixture> f;

  private slots:
    void init() { f = std::make_unique<UiFixture>(); }
    void cleanup() { f.reset(); }

    void geometry_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("rect");
        const std::pair<const char*, QRect> rows[] = {
            {"imgPanImage", {0, 0, 780, 550}},
            {"imgMenuNew", {35, 95, 22, 22}},
            {"imgMenuLoad", {65, 95, 22, 22}},
            {"imgMenuSave", {95, 95, 22, 22}},
            {"imgMenuUpdate", {695, 25, 35, 31}},
            {"imgTab1", {1, 136, 160, 64}},
            {"imgTab2", {1, 203, 160, 64}},
            {"imgTab3", {1, 270, 160, 64}},
            {"panImage", {177, 100, 598, 441}},
            {"panSettings", {177, 100, 589, 434}},
            {"panCreate", {177, 100, 594, 441}},
            {"lsvGFX", {0, 30, 357, 196}},
            {"btnAdd", {359, 30, 24, 24}},
            {"btnAddDir", {359, 64, 24, 24}},
            {"btnRemove", {359, 98, 24, 24}},
            {"btnUp", {359, 133, 24, 24}},
            {"btnDown", {359, 167, 24, 24}},
            {"btnSelAll", {359, 202, 24, 24}},
            {"panAddHint", {109, 59, 139, 138}},
            {"txtDuration", {100, 260, 56, 20}},
            {"txtImgTitle", {100, 288, 257, 19}},
            {"txtImgDesc", {100, 315, 257, 53}},
            {"panTextColor", {101, 377, 255, 16}},
            {"txtImgLink", {100, 402, 257, 19}},
            {"cboEffectsIn", {390, 260, 198, 21}},
            {"imgEffectInfo", {570, 237, 16, 16}},
            {"panEffectDemoCanvas", {391, 316, 148, 104}},
            {"FlashPlayerControl2", {391, 316, 148, 104}},
            {"btnPlayDemo", {545, 316, 41, 35}},
            {"panPreview", {0, 20, 581, 346}},
            {"txtOutput", {0, 393, 386, 19}},
            {"btnOutput", {390, 391, 21, 21}},
            {"btnCreate", {447, 373, 134, 63}},
            {"imgPreview", {0, 0, 201, 196}},
        };
        for (const auto& [name, rect] : rows) QTest::newRow(name) << QString(name) << rect;
    }
    void geometry() {
        QFETCH(QString, name);
        QFETCH(QRect, rect);
        QWidget* widget = f->window->findChild<QWidget*>(name);
        QVERIFY(widget);
        QCOMPARE(widget->geometry(), rect);
    }

    void windowIsFixedAndOnePageShows() {
        QCOMPARE(f->window->size(), QSize(780, 550));
        QCOMPARE(f->window->minimumSize(), f->window->maximumSize());
        QVERIFY(!(f->window->windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(f->window->palette().color(QPalette::Window), QColor(0xF5, 0xF5, 0xF5));
        QVERIFY(f->w("panImage")->isVisibleTo(f->window.get()));
        QVERIFY(!f->w("panSettings")->isVisibleTo(f->window.get()));
        QVERIFY(!f->w("panCreate")->isVisibleTo(f->window.get()));
        QVERIFY(f->w("imgMenuUpdate")->isVisibleTo(f->window.get()));
        for (const char* name :
             {"imgMenuNew", "imgTab1", "lblMenuErstellen", "btnAdd", "btnPlayDemo", "panTextColor",
              "imgEffectInfo", "lblFlashNotFound", "btnCreate", "panBGColor"})
            QCOMPARE(f->w(name)->cursor().shape(), Qt::PointingHandCursor);
        // English artwork moves the captions to 68.
        QCOMPARE(f->w("lblMenuBildauswahl")->x(), 68);
        QCOMPARE(f->w<ui::PictureWidget>("imgPanImage")->art(), QString("imgBGen"));
    }

    void hoverPictures() {
        auto& w = *f->window;
        auto art = [&](const char* name) { return f->w<ui::PictureButton>(name)->art(); };
        auto tab = [&](const char* name) { return f->w<ui::PictureWidget>(name)->art(); };
        w.imgMenuMouseMove(HoverTarget::Load);
        QCOMPARE(art("imgMenuLoad"), QString("imgMenuLoad1"));
        QCOMPARE(art("imgMenuNew"), QString("imgMenuNew0"));
        w.imgTabMouseMove(2);
        QCOMPARE(tab("imgTab2"), QString("imgMenuEinstellungen1"));
        QCOMPARE(tab("imgTab1"), QString("imgMenuBildauswahl0"));
        QCOMPARE(art("imgMenuLoad"), QString("imgMenuLoad1"));  // no leave event for buttons
        w.imgTabMouseMove(1);  // the current page's tab shows no hover
        QCOMPARE(tab("imgTab1"), QString("imgMenuBildauswahl0"));
        QCOMPARE(tab("imgTab2"), QString("imgMenuEinstellungen2"));
        w.imgTabMouseMove(3);
        QEvent leave(QEvent::Leave);  // leaving the window acts as the background
        QApplication::sendEvent(&w, &leave);
        QCOMPARE(tab("imgTab3"), QString("imgMenuErstellen2"));
        QCOMPARE(art("imgMenuLoad"), QString("imgMenuLoad0"));
    }

    void hoverRules_data() {
        QTest::addColumn<int>("target");
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("tabs");
        QTest::addColumn<QString>("buttons");
        QTest::newRow("new") << int(HoverTarget::New) << 1 << "022"
                             << "1000";
        QTest::newRow("save") << int(HoverTarget::Save) << 2 << "202"
                              << "0010";
        QTest::newRow("update keeps others") << int(HoverTarget::Update) << 1 << "022"
                                             << "1001";
        QTest::newRow("tab 3 on page 2") << int(HoverTarget::Tab3) << 2 << "201"
                                         << "1000";
        QTest::newRow("tab 2 on page 2") << int(HoverTarget::Tab2) << 2 << "202"
                                         << "1000";
        QTest::newRow("background") << int(HoverTarget::Background) << 3 << "220"
                                    << "0000";
    }
    void hoverRules() {
        QFETCH(int, target);
        QFETCH(int, page);
        QFETCH(QString, tabs);
        QFETCH(QString, buttons);
        HoverState state;
        MoveOver(state, HoverTarget::New, 1);  // start with New hovered
        MoveOver(state, static_cast<HoverTarget>(target), page);
        if (target == int(HoverTarget::Update) || target == int(HoverTarget::New) ||
            target == int(HoverTarget::Save))
            SetTabImages(state, page - 1);
        QString gotTabs, gotButtons;
        for (auto t : state.tabs) gotTabs += QString::number(int(t));
        for (bool b : {state.newHover, state.loadHover, state.saveHover, state.updateHover})
            gotButtons += b ? "1" : "0";
        QCOMPARE(gotTabs, tabs);
        QCOMPARE(gotButtons, buttons);
    }

    void pageChangeRefusals_data() {
        QTest::addColumn<int>("target");
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("flags");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("audioMode");
        QTest::newRow("no slides, settings") << 2 << ""
                                             << "NoImagesAdded" << 64 << 1 << 0;
        QTest::newRow("no slides, create") << 3 << ""
                                           << "NoImagesAdded" << 64 << 1 << 0;
        QTest::newRow("missing picture") << 2 << "gone"
                                         << "FileDoesntExist" << 16 << 1 << 0;
        QTest::newRow("missing own audio") << 3 << "audio"
                                           << "AudioDoesntExist" << 16 << 2 << 2;
        QTest::newRow("own audio without file") << 3 << "noaudio"
                                                << "" << 0 << 3 << 0;
        QTest::newRow("both missing: no endless redirect") << 3 << "gone+audio"
                                                           << "FileDoesntExist" << 16 << 1 << 2;
        QTest::newRow("both missing, to page 2") << 2 << "gone+audio"
                                                 << "FileDoesntExist" << 16 << 1 << 2;
        QTest::newRow("own audio missing, same page 1") << 1 << "audio"
                                                        << "AudioDoesntExist" << 16 << 2 << 2;
        QTest::newRow("all there") << 3 << "ok"
                                   << "" << 0 << 3 << 0;
    }
    void pageChangeRefusals() {
        QFETCH(int, target);
        QFETCH(QString, setup);
        QFETCH(QString, message);
        QFETCH(int, flags);
        QFETCH(int, page);
        QFETCH(int, audioMode);
        Project& p = f->app->project;
        if (!setup.isEmpty()) f->addPictures(2);
        if (setup.contains("gone")) p.ImgItems[1].FileName = (f->dir / "gone.png").string();
        if (setup.contains("audio")) {
            p.Settings.audioMode = AudioMode::OwnFile;
            p.Settings.AudioFile = (f->dir / "gone.mp3").string();
        }
        if (setup == "noaudio") {
            p.Settings.audioMode = AudioMode::OwnFile;
            p.Settings.AudioFile = p.AudioFileHint;
        }
        f->services.messages.clear();
        const int stops = f->services.stops;
        switch (target) {
            case 1:
                f->window->imgTab1Click();
                break;
            case 2:
                f->window->imgTab2Click();
                break;
            case 3:
                f->window->imgTab3Click();
                break;
        }
        QVERIFY(f->services.stops > stops);  // music stops at every switch
        QCOMPARE(f->window->CurrentPage(), page);
        QVERIFY(f->w(page == 1   ? "panImage"
                     : page == 2 ? "panSettings"
                                 : "panCreate")
                    ->isVisibleTo(f->window.get()));
        if (message.isEmpty()) {
            QVERIFY(f->services.messages.empty());
        } else {
            QCOMPARE(int(f->services.messages.size()), 1);
            const auto key = message.toStdString();
            std::string expected = f->app->language.GetLangString("Messages", key);
            QCOMPARE(f->services.messages[0].flags, flags);
            QVERIFY(f->services.messages[0].text.find(expected.substr(0, 12)) == 0);
        }
        QCOMPARE(int(p.Settings.audioMode), audioMode);
    }

    void saveChangesQuestion_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("withFile");
        QTest::addColumn<bool>("saveDialogCancelled");
        QTest::addColumn<bool>("newRan");
        QTest::addColumn<bool>("saved");
        QTest::newRow("yes with file") << mb::IDYES << true << false << true << true;
        QTest::newRow("yes without file, saved") << mb::IDYES << false << false << true << true;
        QTest::newRow("yes without file, dialog cancelled")
            << mb::IDYES << false << true << true << false;
        QTest::newRow("no") << mb::IDNO << true << false << true << false;
        QTest::newRow("cancel") << mb::IDCANCEL << true << false << false << false;
    }
    void saveChangesQuestion() {
        QFETCH(int, answer);
        QFETCH(bool, withFile);
        QFETCH(bool, saveDialogCancelled);
        QFETCH(bool, newRan);
        QFETCH(bool, saved);
        const std::string file = (f->dir / "project.lmx").string();
        f->addPictures(1);
        if (withFile) {
            SaveProject(*f->app, file);
            f->app->project.SetModified(true);
        }
        const std::string target = withFile ? file : (f->dir / "chosen.lmx").string();
        f->services.answers.push_back(answer);
        if (answer == mb::IDYES && !withFile)
            f->services.saveAnswers.push_back(saveDialogCancelled ? std::nullopt
                                                                  : std::optional(target));
        // A mark in the file that only a save replaces (times are too coarse).
        if (withFile) f->dir.write("project.lmx", "mark");
        f->window->imgMenuNewClick();
        QCOMPARE(f->services.messages.back().flags, mb::kQuestion);
        QCOMPARE(f->app->project.ImgItems.empty(), newRan);
        const bool written =
            std::filesystem::exists(target) && std::filesystem::file_size(target) != 4;
        QCOMPARE(written, saved);
    }

    void noQuestionWhenUnmodified() {
        f->window->imgMenuNewClick();
        QVERIFY(f->services.messages.empty());
    }

    void loadAndSaveDialogs() {
        f->addPictures(2);
        const std::string file = (f->dir / "a.lmx").string();
        f->services.saveAnswers.push_back(file);
        f->window->imgMenuSaveClick();
        QCOMPARE(f->window->windowTitle().toStdString(), ProjectWindowTitle(*f->app, file));
        const RecordedDialog& save = f->services.dialogs.back();
        QCOMPARE(save.kind, DialogKind::SaveFile);
        QCOMPARE(save.request.defaultExtension, std::string("lmx"));
        QCOMPARE(save.request.filter, f->text(lang::gui::kProjFileFilter));
        f->window->imgMenuNewClick();
        QCOMPARE(f->list()->topLevelItemCount(), 0);
        f->services.fileAnswers.push_back({file});
        f->window->imgMenuLoadClick();
        QCOMPARE(f->list()->topLevelItemCount(), 2);
        QVERIFY(f->list()->topLevelItem(0)->isSelected());
        QVERIFY(!f->app->project.Modified());
        // A damaged file: the core's message, a new project, the window goes on.
        f->dir.write("bad.lmx",
                     "\x05\x00\x00\x00"
                     "9.9.9");
        f->services.fileAnswers.push_back({(f->dir / "bad.lmx").string()});
        f->window->imgMenuLoadClick();
        QCOMPARE(f->services.messages.back().flags, mb::kError);
        QCOMPARE(f->list()->topLevelItemCount(), 0);
    }

    void aThrowingHandlerLeavesTheWindowUsable() {
        f->addPictures(1);
        f->services.saveAnswers.push_back((f->dir / "no" / "such" / "folder" / "x.lmx").string());
        f->click("imgMenuSave");  // SaveProject throws; the boundary shows it
        QCOMPARE(f->services.messages.back().flags, mb::kError);
        QCOMPARE(f->services.messages.back().caption, f->text(lang::gui::kTitle));
        f->click("btnSelAll");
        QCOMPARE(f->list()->selectedItems().size(), 1);
    }

    void closingRemovesTheInstanceFolder() {
        const auto folder = platform::instanceTempFolder();
        f->window->PlayEffectDemo(true);
        QVERIFY(std::filesystem::exists(folder / "preview.xml"));
        QVERIFY(f->window->FormCloseQuery());
        QVERIFY(f->terminated);
        QVERIFY(!std::filesystem::exists(folder));
        QVERIFY(!std::filesystem::exists(folder.parent_path()));  // LMT3TMP when empty
    }

    void closingAsksAndCancelKeepsRunning() {
        f->addPictures(1);
        f->services.answers.push_back(mb::IDCANCEL);
        QVERIFY(!f->window->FormCloseQuery());
        QVERIFY(!f->terminated);
        QVERIFY(f->list()->isEnabled());
        f->services.answers.push_back(mb::IDNO);
        QVERIFY(f->window->FormCloseQuery());
        QVERIFY(f->terminated);
    }

    void settingsControlsMirrorTheShowSettings() {
        ShowSettings& s = f->app->project.Settings;
        s.audioMode = AudioMode::OwnFile;
        s.AudioFile.clear();
        s.Autostart = false;
        s.NavBar = true;
        s.FitImages = true;
        s.FitMode = 2;
        s.FitWidth = "1024";
        s.BackgroundTransparent = true;
        s.OutputFile = "/shows/a.html";
        f->window->showSettingsChanged();
        QVERIFY(f->w<QAbstractButton>("optAudioSel")->isChecked());
        QCOMPARE(f->w<QLineEdit>("txtAudio")->text().toStdString(),
                 f->text(lang::frmMain::kTxtAudio));
        QVERIFY(!f->w("chkNavBar")->isEnabled());
        QVERIFY(f->w<QAbstractButton>("optBGNone")->isChecked());
        QVERIFY(!f->w("txtEditImgFixX")->isHidden());
        QVERIFY(!f->w("lblEditImgFixX")->isHidden());
        QCOMPARE(f->w<QLineEdit>("txtEditImgFixX")->text(), QString("1024"));
        QCOMPARE(f->w<QLineEdit>("txtOutput")->text(), QString("/shows/a.html"));
        QCOMPARE(f->w<QLabel>("lblImgEditInfo")->text().toStdString(),
                 f->text(lang::frmMain::kLblImgEditInfo1c));
        s.FitMode = 0;
        f->window->showSettingsChanged();
        QVERIFY(f->w("lblEditImgFixY")->isHidden());
        s.audioMode = AudioMode::NotSet;  // a project file may leave the group without a choice
        f->window->showSettingsChanged();
        for (const char* name : {"optAudioNone", "optAudio1", "optAudioSel"})
            QVERIFY(!f->w<QAbstractButton>(name)->isChecked());
    }

    void tabOrderFollowsTheLayout() {
        const char* order[] = {"lsvGFX",       "btnAdd",        "btnAddDir",    "btnRemove",
                               "btnUp",        "btnDown",       "btnSelAll",    "txtDuration",
                               "txtImgTitle",  "txtImgDesc",    "panTextColor", "txtImgLink",
                               "cboEffectsIn", "imgEffectInfo", "btnPlayDemo"};
        QWidget* previous = f->w(order[0]);
        for (std::size_t i = 1; i < std::size(order); ++i) {
            QWidget* next = previous->nextInFocusChain();
            while (next && next->focusPolicy() == Qt::NoFocus) next = next->nextInFocusChain();
            // Spin boxes and combo boxes hold a focusable child of their own.
            while (next && next->parentWidget() && next->parentWidget() == previous)
                next = next->nextInFocusChain();
            while (next && next->focusPolicy() == Qt::NoFocus) next = next->nextInFocusChain();
            QCOMPARE(next ? next->objectName() : QString(), QString(order[i]));
            previous = next;
        }
    }

    void startupNoticeOncePerSettingsFile() {
        // A web view that cannot start: its helper process is not there.
        setenv("QTWEBENGINEPROCESS_PATH", "/nonexistent/QtWebEngineProcess", 1);
        f->app->settings.write(settings::kFlashWarning, 0);
        f->services.answers.push_back(mb::IDNO);
        f->window->FormShow();
        QVERIFY(!f->window->playerInstalled());
        QCOMPARE(f->app->settings.read(settings::kFlashWarning), 1);
        QCOMPARE(int(f->services.messages.size()), 1);
        QVERIFY(f->lastMessage().find(f->text(lang::internet::kFlashDownload)) !=
                std::string::npos);
        f->window->FormShow();  // the next start: no notice
        QCOMPARE(int(f->services.messages.size()), 1);
        f->addPictures(1);
        f->window->imgTab3Click();
        QVERIFY(f->w("lblFlashNotFound")->isVisibleTo(f->window.get()));
        unsetenv("QTWEBENGINEPROCESS_PATH");
    }

    void flashNoticeCountsAndOpensTheAddress() {
        // Without the player: the notice on demand, Yes opens the address with the counter.
        f->services.answers.push_back(mb::IDYES);
        f->window->lblFlashNotFoundClick();
        QCOMPARE(f->app->settings.read(settings::kFlashWarning), 2);
        QCOMPARE(f->services.messages.back().flags, mb::kQuestionYesNo);
        QCOMPARE(f->services.openedUrls.back(),
                 f->text(lang::internet::kFlashDownload) + "&flashcheck=2");
        f->services.answers.push_back(mb::IDNO);
        f->window->lblFlashNotFoundClick();
        QCOMPARE(f->app->settings.read(settings::kFlashWarning), 3);
        QCOMPARE(int(f->services.openedUrls.size()), 1);
    }
};

LUMETRA_QT_TEST(MainFrameTest);

}  // namespace lumetra::test

#include "MainFrameTest.moc"
