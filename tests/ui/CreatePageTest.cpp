// The create page in the window: the large-picture question, the preview
// build behind the please-wait window, the player's place, the page field and
// its dialog, Create with its bad inputs, the completion dialog, and closing
// while the preview builds.

#include <signal.h>
#include <sys/resource.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "UiFixture.h"
#include "app/Platform.h"
#include "generator/ShowLock.h"
#include "player/PlayerView.h"
#include "support/QtTestMain.h"
#include "ui/PreviewDecoder.h"
#include "ui/TfrmDialog.h"

namespace lumetra::test {

namespace fs = std::filesystem;

namespace {

// The picture addresses of a description, in the order the show plays them.
std::vector<std::string> playedPictures(const std::string& xml) {
    std::vector<std::string> urls;
    for (std::size_t at = xml.find("<image url=\""); at != std::string::npos;
         at = xml.find("<image url=\"", at + 1)) {
        const std::size_t start = at + 12;
        std::string url = xml.substr(start, xml.find('"', start) - start);
        urls.push_back(url.substr(url.rfind('/') + 1));
    }
    return urls;
}

}  // namespace

class CreatePageTest : public QObject {
    Q_OBJECT

    std::unique_ptr<UiFixture> f;
    // What the completion dialog did, one entry per opened dialog: its answer.
    std::function<void(ui::TfrmDialog&)> answerDialog;
    int dialogs = 0;

    Project& project() { return f->app->project; }
    QLineEdit* output() { return f->w<QLineEdit>("txtOutput"); }
    void setOutput(const fs::path& page) { output()->setText(QString::fromStdString(page)); }
    // Adds pictures of the given sizes through the add command.
    void addSized(const std::vector<QSize>& sizes) {
        std::vector<std::string> paths;
        for (std::size_t i = 0; i < sizes.size(); ++i)
            paths.push_back(f->picture("in/s" + std::to_string(i) + ".png", sizes[i].width(),
                                       sizes[i].height()));
        f->services.fileAnswers.push_back(paths);
        f->click("btnAdd");
    }
    std::string read(const fs::path& file) const { return f->dir.read(file); }

  private slots:
    void init() {
        f = std::make_unique<UiFixture>();
        dialogs = 0;
        answerDialog = [](ui::TfrmDialog& d) { d.reject(); };
        f->window->runModalDialog = [this](QDialog& d) {
            ++dialogs;
            auto& dialog = static_cast<ui::TfrmDialog&>(d);
            dialog.show();
            answerDialog(dialog);
            dialog.hide();
            return dialog.result();
        };
    }
    void cleanup() { f.reset(); }

    void largeImageQuestion_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("answer");  // 0: no question expected
        QTest::addColumn<int>("page");
        QTest::newRow("1025 x 100, Yes") << QSize(1025, 100) << mb::IDYES << 3;
        QTest::newRow("1025 x 100, No") << QSize(1025, 100) << mb::IDNO << 3;
        QTest::newRow("1025 x 100, Cancel") << QSize(1025, 100) << mb::IDCANCEL << 1;
        QTest::newRow("1024 x 768") << QSize(1024, 768) << 0 << 3;
    }
    void largeImageQuestion() {
        QFETCH(QSize, size);
        QFETCH(int, answer);
        QFETCH(int, page);
        addSized({QSize(300, 200), size});
        setOutput(f->dir / "out/show.html");
        f->services.messages.clear();
        if (answer) f->services.answers.push_back(answer);
        f->window->imgTab3Click();
        QCOMPARE(int(f->services.messages.size()), answer ? 1 : 0);
        if (answer) {
            QCOMPARE(f->services.messages[0].flags, mb::kQuestion);
            QCOMPARE(f->lastMessage(),
                     MessageText(f->app->language, lang::messages::kResizeLargeImg));
        }
        QCOMPARE(f->window->CurrentPage(), page);
        QCOMPARE(project().TempFiles.size(), page == 3 ? 2u : 0u);
        const ShowSettings& s = project().Settings;
        if (answer == mb::IDYES) {
            QVERIFY(s.FitImages);
            QCOMPARE(s.FitMode, 2);
            QCOMPARE(s.FitWidth + "x" + s.FitHeight, std::string("1024x768"));
            // The settings page shows it, and the preview has that size.
            QVERIFY(f->w<QCheckBox>("chkEditImg")->isChecked());
            QCOMPARE(f->w<QComboBox>("cboEditImg1")->currentIndex(), 2);
            QCOMPARE(f->w<QLineEdit>("txtEditImgFixX")->text(), QString("1024"));
            QCOMPARE(f->w<QLineEdit>("txtEditImgFixY")->text(), QString("768"));
            QCOMPARE(f->window->previewPlayer()->geometry(), QRect(61, 1, 459, 344));
            QVERIFY(project().Modified());
        } else {
            QVERIFY(!s.FitImages);
        }
        // Once declined, the question waits for a new project.
        if (answer == mb::IDNO) {
            f->window->imgTab3Click();
            QCOMPARE(int(f->services.messages.size()), 1);
            QVERIFY(project().LargeImageHintDeclined);
            f->services.answers.push_back(mb::IDNO);  // do not save the changes
            f->window->imgMenuNewClick();
            QVERIFY(!project().LargeImageHintDeclined);
        }
    }

    void setFlashPlayerPlacesThePreview_data() {
        QTest::addColumn<QSize>("show");
        QTest::addColumn<QRect>("placed");
        QTest::newRow("800 x 600") << QSize(800, 600) << QRect(61, 1, 459, 344);
        QTest::newRow("1200 x 300") << QSize(1200, 300) << QRect(1, 100, 579, 145);
        QTest::newRow("400 x 400") << QSize(400, 400) << QRect(118, 1, 345, 344);
    }
    void setFlashPlayerPlacesThePreview() {
        QFETCH(QSize, show);
        QFETCH(QRect, placed);
        f->window->SetFlashPlayer(show.width(), show.height());
        QCOMPARE(f->window->previewPlayer()->geometry(), placed);
    }

    // The build runs behind the please-wait window with the main window
    // disabled; the player starts as soon as its first picture is there.
    void previewBuildsBehindThePleaseWaitWindow() {
        f->addPictures(6);
        project().Settings.RandomOrder = true;
        setOutput(f->dir / "out/show.html");
        struct Sample {
            bool building, enabled, waiting;
            int bar;
            bool playing;
        };
        std::vector<Sample> samples;
        QTimer probe;
        probe.setInterval(0);
        connect(&probe, &QTimer::timeout, [&] {
            if (!f->window->previewBuilding()) return;
            samples.push_back({true, f->window->isEnabled(),
                               f->window->progressWindow()->isVisible(),
                               f->window->progressWindow()->findChild<QProgressBar*>()->value(),
                               !f->window->previewPlayer()->movie().empty()});
        });
        probe.start();
        f->window->imgTab3Click();
        probe.stop();
        QVERIFY(!samples.empty());
        int bar = 0;
        for (const Sample& s : samples) {
            QVERIFY(!s.enabled);
            QVERIFY(s.waiting);
            QVERIFY(s.bar >= bar);  // the bar only moves on
            bar = s.bar;
        }
        QVERIFY(
            std::any_of(samples.begin(), samples.end(), [](const Sample& s) { return s.playing; }));
        QVERIFY(f->window->isEnabled());
        QVERIFY(!f->window->progressWindow()->isVisible());
        QCOMPARE(f->window->progressWindow()->findChild<QProgressBar*>()->value(), 6);
        player::PlayerView* view = f->window->previewPlayer();
        QVERIFY(view->isVisibleTo(f->window.get()));
        const fs::path temp = platform::instanceTempFolder();
        QCOMPARE(view->movie(), (temp / "show.js").string() + "?xml_source=show.xml");
        QCOMPARE(view->pendingPictures(), std::size_t(0));
        QVERIFY(!fs::exists(temp / "show.html"));
        // Leaving the page stops the preview.
        f->window->imgTab1Click();
        QVERIFY(view->movie().empty());
    }

    void panelAndPlayerTakeTheBackground_data() {
        QTest::addColumn<bool>("transparent");
        QTest::addColumn<QColor>("panel");
        QTest::addColumn<QString>("player");
        QTest::newRow("colour") << false << QColor(0x33, 0x66, 0x99) << "336699";
        QTest::newRow("none") << true << QColor(Qt::white) << "";
    }
    void panelAndPlayerTakeTheBackground() {
        QFETCH(bool, transparent);
        QFETCH(QColor, panel);
        QFETCH(QString, player);
        f->addPictures(1);
        project().Settings.BackgroundTransparent = transparent;
        project().Settings.BackgroundColor = 0x996633;
        f->window->imgTab3Click();
        QCOMPARE(f->w("panPreview")->palette().color(QPalette::Window), panel);
        QCOMPARE(QString::fromStdString(f->window->previewPlayer()->backgroundColor()), player);
    }

    void pageFieldAndItsDialog() {
        f->addPictures(1);
        setOutput(f->dir / "shows/old.html");
        project().SetModified(false);
        f->services.saveAnswers.push_back((f->dir / "shows/Trip").string());
        f->click("btnOutput");
        const RecordedDialog& asked = f->services.dialogs.back();
        QCOMPARE(asked.request.filter, f->text(lang::gui::kHTMLFilter));
        QCOMPARE(asked.request.defaultExtension, std::string("lmx"));
        QCOMPARE(asked.request.initialPath, (f->dir / "shows").string());
        // Without an extension the page still becomes a web page.
        QCOMPARE(output()->text().toStdString(), (f->dir / "shows/Trip.html").string());
        QCOMPARE(project().Settings.OutputFile, (f->dir / "shows/Trip.html").string());
        QVERIFY(project().Modified());
        f->services.saveAnswers.push_back(std::nullopt);
        f->click("btnOutput");
        QCOMPARE(project().Settings.OutputFile, (f->dir / "shows/Trip.html").string());
        // Filled by the program: no edit.
        f->services.answers.push_back(mb::IDNO);
        f->window->imgMenuNewClick();
        QVERIFY(!project().Modified());
        QCOMPARE(output()->text().toStdString(), project().Settings.OutputFile);
    }

    void createUsesTheSafeNameAndTheRandomOrderOfThePreview() {
        f->addPictures(6);
        project().Settings.RandomOrder = true;
        setOutput(f->dir / "shows/Mein Urlaub.html");
        f->window->imgTab3Click();
        const std::string preview = read(platform::instanceTempFolder() / "Mein Urlaub.xml");
        project().SetModified(false);
        f->click("btnCreate");
        const fs::path page = f->dir / "shows/Mein-Urlaub.html";
        QCOMPARE(output()->text().toStdString(), page.string());
        QCOMPARE(project().Settings.OutputFile, page.string());
        QVERIFY(project().Modified());
        QVERIFY(fs::exists(page));
        const std::string created = read(f->dir / "shows/Mein-Urlaub_files/Mein-Urlaub.xml");
        QVERIFY(playedPictures(preview).size() >= 6);
        QCOMPARE(playedPictures(created), playedPictures(preview));
        // Pictures, player, description and page.
        QCOMPARE(project().FTPItems.size(), 9u);
        QCOMPARE(dialogs, 1);
    }

    // All three boxes: browser, then folder, then wizard; the next dialog
    // shows the boxes as left; Cancel stores nothing.
    void completionDialog() {
        f->addPictures(1);
        setOutput(f->dir / "shows/Mein Urlaub.html");
        f->window->imgTab3Click();
        std::vector<std::string> steps;
        f->window->openPublishWizard = [&] {
            steps.insert(steps.end(), f->services.openedUrls.begin(), f->services.openedUrls.end());
            steps.push_back("wizard");
        };
        answerDialog = [&](ui::TfrmDialog& d) {
            QCOMPARE(d.size(), QSize(333, 259));
            QVERIFY(d.findChild<QPushButton*>("cmdOK")->isDefault());
            QCOMPARE(d.findChild<QCheckBox*>("chkBrowser")->isChecked(), true);
            QCOMPARE(d.findChild<QCheckBox*>("chkFTP")->isChecked(), false);
            QVERIFY(d.findChild<QCheckBox*>("chkFTP")->isVisibleTo(&d));
            const QString names = d.findChild<QLabel*>("lblDialog3")->text();
            QVERIFY2(names.contains("Mein-Urlaub.html") && names.contains("Mein-Urlaub_files"),
                     qPrintable(names));
            QCOMPARE(d.windowTitle(),
                     QString::fromStdString(f->app->language.GetLangString("frmDialog", "Title")));
            for (const char* box : {"chkBrowser", "chkFTP", "chkOpenDir"})
                d.findChild<QCheckBox*>(box)->setChecked(true);
            d.findChild<QPushButton*>("cmdOK")->click();
        };
        f->click("btnCreate");
        const fs::path page = f->dir / "shows/Mein-Urlaub.html";
        QCOMPARE(steps,
                 (std::vector<std::string>{page.string(), (f->dir / "shows").string(), "wizard"}));
        for (const auto* key :
             {&settings::kDialogBrowser, &settings::kDialogFtp, &settings::kDialogOpenDir})
            QVERIFY(f->app->settings.read(*key));

        // Cancel after unchecking everything: nothing stored, nothing opened.
        answerDialog = [&](ui::TfrmDialog& d) {
            for (const char* box : {"chkBrowser", "chkFTP", "chkOpenDir"}) {
                QVERIFY(d.findChild<QCheckBox*>(box)->isChecked());
                d.findChild<QCheckBox*>(box)->setChecked(false);
            }
            d.findChild<QPushButton*>("cmdCancel")->click();
        };
        f->click("btnCreate");
        QCOMPARE(int(f->services.openedUrls.size()), 2);
        QVERIFY(f->app->settings.read(settings::kDialogBrowser));
        QVERIFY(f->app->settings.read(settings::kDialogOpenDir));

        // Without a wizard the FTP box is hidden and its stored choice kept.
        f->window->openPublishWizard = nullptr;
        answerDialog = [&](ui::TfrmDialog& d) {
            QVERIFY(!d.findChild<QCheckBox*>("chkFTP")->isVisibleTo(&d));
            d.findChild<QCheckBox*>("chkBrowser")->setChecked(false);
            d.findChild<QCheckBox*>("chkOpenDir")->setChecked(false);
            d.findChild<QPushButton*>("cmdOK")->click();
        };
        f->click("btnCreate");
        QCOMPARE(int(f->services.openedUrls.size()), 2);
        QVERIFY(!f->app->settings.read(settings::kDialogBrowser));
        QVERIFY(f->app->settings.read(settings::kDialogFtp));
        QCOMPARE(dialogs, 3);
    }

    void createRefusesBadOutput_data() {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<int>("icon");
        QTest::newRow("folder cannot be made") << "under a file" << mb::kWarning;
        QTest::newRow("page is a folder") << "page is a folder" << mb::kError;
        QTest::newRow("disk full") << "disk full" << mb::kWarning;
        QTest::newRow("prepared picture gone") << "prepared picture gone" << mb::kWarning;
        QTest::newRow("another build") << "another build" << mb::kWarning;
    }
    void createRefusesBadOutput() {
        QFETCH(QString, situation);
        QFETCH(int, icon);
        f->addPictures(2);
        const fs::path shows = f->dir / "shows";
        setOutput(shows / "show.html");
        f->window->imgTab3Click();
        f->click("btnCreate");  // an earlier show of the same name
        QCOMPARE(dialogs, 1);
        const std::string oldPage = read(shows / "show.html");
        f->services.messages.clear();
        ShowLock held;
        rlimit before{};
        if (situation == "under a file") {
            f->dir.write("file", "x");
            setOutput(f->dir / "file/sub/show.html");
        } else if (situation == "page is a folder") {
            fs::create_directories(f->dir / "folder/show.html/inside");
            setOutput(f->dir / "folder/show.html");
        } else if (situation == "disk full") {
            // Writes beyond a few kilobytes fail, as on a full disk.
            project().ImgItems[0].Title = "A new title";
            signal(SIGXFSZ, SIG_IGN);
            getrlimit(RLIMIT_FSIZE, &before);
            rlimit small = before;
            small.rlim_cur = 4096;
            setrlimit(RLIMIT_FSIZE, &small);
        } else if (situation == "prepared picture gone") {
            fs::remove(project().TempFiles[1].FileName);
        } else if (situation == "another build") {
            QVERIFY(ShowLock::TryAcquire(shows / "show_files", held));
        }
        f->click("btnCreate");
        if (situation == "disk full") setrlimit(RLIMIT_FSIZE, &before);
        QCOMPARE(dialogs, 1);  // no completion dialog
        QCOMPARE(int(f->services.messages.size()), 1);
        QCOMPARE(f->services.messages[0].flags, icon);
        // The earlier page is whole.
        QCOMPARE(read(shows / "show.html"), oldPage);
        if (situation == "page is a folder") QVERIFY(fs::is_directory(f->dir / "folder/show.html"));
    }

    // Gone after the preview: the show holds the prepared copy. Unreadable
    // from the start: named at once and again after Create.
    void picturesThatCannotBeReadMakeTheShowIncomplete() {
        f->addPictures(2);
        f->dir.write("in/broken.png", "not a picture");
        f->services.fileAnswers.push_back({(f->dir / "in/broken.png").string()});
        f->click("btnAdd");
        project().ImgItems[2].ImgWidth = project().ImgItems[2].ImgHeight = 40;
        setOutput(f->dir / "shows/show.html");
        // The image page's preview of the broken picture has its own message.
        QTRY_VERIFY(!f->window->previewDecoder().busy());
        QTest::qWait(50);
        f->services.messages.clear();
        f->window->imgTab3Click();
        QCOMPARE(int(f->services.messages.size()), 1);
        QCOMPARE(f->services.messages[0].flags, mb::kError);
        fs::remove(project().ImgItems[0].FileName);
        f->click("btnCreate");
        QCOMPARE(int(f->services.messages.size()), 2);
        QCOMPARE(f->services.messages[1].flags, mb::kWarning);
        QCOMPARE(f->lastMessage(), MessageText(f->app->language, lang::messages::kShowIncomplete,
                                               {(f->dir / "in/broken.png").string()}));
        QVERIFY(fs::file_size(f->dir / "shows/show_files/p0.jpg") > 0);
        QCOMPARE(dialogs, 1);
    }

    // Closing while the preview builds: the save question, then the build
    // stops at its next slide, the temporary folder goes, the program ends.
    void closingWhileThePreviewBuilds() {
        std::vector<QSize> sizes(24, QSize(900, 700));
        addSized(sizes);
        setOutput(f->dir / "shows/show.html");
        f->services.answers.push_back(mb::IDNO);
        f->services.messages.clear();
        QTimer::singleShot(0, f->window.get(), [&] { f->window->close(); });
        f->window->imgTab3Click();
        QVERIFY(f->terminated);
        QCOMPARE(int(f->services.messages.size()), 1);  // the save question only
        QVERIFY(!fs::exists(platform::userTempFolder() / "LMT3TMP"));
        QVERIFY(project().TempFiles.empty());
        QVERIFY(!f->window->previewBuilding());
        QVERIFY(f->window->progressWindow()->findChild<QProgressBar*>()->value() < 24);
    }

    void remainingTimeAfterAFewSteps() {
        ui::TfrmMiscProgress* progress = f->window->progressWindow();
        progress->setMaximum(10);
        progress->setPosition(0);
        for (int i = 0; i < 4; ++i) progress->stepIt();
        QVERIFY(progress->remainingText().isEmpty());  // too early to tell
        QTest::qWait(1100);
        progress->stepIt();
        progress->stepIt();
        const QString text = progress->remainingText();
        QVERIFY2(text.startsWith("about 0:0") && text.endsWith(" left"), qPrintable(text));
        progress->setPosition(0);
        QVERIFY(progress->remainingText().isEmpty());
        // Only the work hides it.
        progress->showWaiting();
        QTest::keyClick(progress, Qt::Key_Escape);
        QVERIFY(progress->isVisible());
        progress->hide();
    }
};

LUMETRA_QT_TEST(CreatePageTest);

}  // namespace lumetra::test

#include "CreatePageTest.moc"
