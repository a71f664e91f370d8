// The whole job in the window with real web views: pictures added, titles,
// effects and settings changed, the create page's preview painting its first
// picture (probed in the view's pixels), then Create. The show folder must be
// the one lumetra-make writes from the saved project with the same seed, byte
// for byte.

#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QTest>
#include <map>

#include "UiFixture.h"
#include "app/FileOps.h"
#include "app/ProjectFile.h"
#include "player/PlayerView.h"
#include "support/QtTestMain.h"
#include "ui/TfrmDialog.h"

namespace lumetra::test {

namespace fs = std::filesystem;

namespace {

constexpr std::uint64_t kSeed = 20240611;

const QColor kColours[] = {QColor(220, 30, 30), QColor(30, 180, 40), QColor(30, 60, 220),
                           QColor(230, 200, 20), QColor(200, 40, 200)};

}  // namespace

class CreatePageWebTest : public QObject {
    Q_OBJECT

  private slots:
    void windowAndLumetraMakeWriteTheSameShow() {
        UiFixture f("English", true);
        f.window->runModalDialog = [](QDialog& d) {
            d.show();
            d.reject();
            return int(QDialog::Rejected);
        };
        f.window->show();
        f.window->FormShow();
        QVERIFY2(f.window->playerInstalled(), "the built-in player is not available here");
        QTRY_VERIFY_WITH_TIMEOUT(f.window->previewPlayer()->hasWebView(), 10000);

        // Pictures of their own colours, a pattern in each.
        fs::create_directories(f.dir / "in");
        for (int i = 0; i < 5; ++i) {
            QImage image(800, 600, QImage::Format_RGB32);
            image.fill(kColours[i]);
            for (int y = 0; y < 600; y += 40)
                for (int x = (y / 40 % 2) * 40; x < 800; x += 80)
                    for (int dy = 0; dy < 8; ++dy)
                        for (int dx = 0; dx < 8; ++dx)
                            image.setPixelColor(x + dx, y + dy, kColours[i].darker(130));
            image.save(QString::fromStdString(
                (f.dir / "in" / ("p" + std::to_string(i) + ".png")).string()));
        }
        f.window->addFolder((f.dir / "in").string());
        QCOMPARE(f.list()->topLevelItemCount(), 5);

        // Titles and effects through the image page: one random effect.
        const struct {
            int row;
            const char* title;
            int effect;
        } edits[] = {{0, "Strand – Überblick", 7}, {2, "Hafen <bei> Nacht & Tag", 0}, {4, "", 13}};
        for (const auto& e : edits) {
            f.select({e.row});
            f.w<QLineEdit>("txtImgTitle")->setText(QString::fromUtf8(e.title));
            f.w<QComboBox>("cboEffectsIn")->setCurrentIndex(e.effect);
        }
        QCOMPARE(f.app->project.ImgItems[2].EffectIn, 0);
        QCOMPARE(f.app->project.ImgItems[0].Title, std::string("Strand – Überblick"));

        // Settings through the settings page, as a person sets them.
        f.window->imgTab2Click();
        QCOMPARE(f.window->CurrentPage(), 2);
        auto choose = [&](const char* name, int index) {
            auto* list = f.w<QComboBox>(name);
            list->setCurrentIndex(index);
            emit list->activated(index);
        };
        f.click("chkRandomOrder");
        f.click("chkAutostart");  // off: the navigation bar is forced on
        f.click("chkLoop");
        f.click("chkLinkTargetBlank");
        f.services.colorAnswers.push_back(0x996633);
        QTest::mouseClick(f.w("panBGColor"), Qt::LeftButton);
        choose("cboEditImg1", 2);
        f.w<QLineEdit>("txtEditImgFixX")->setText("640");
        f.w<QLineEdit>("txtEditImgFixY")->setText("480");
        choose("cboMusic", 0);
        const ShowSettings& s = f.app->project.Settings;
        QVERIFY(s.RandomOrder && !s.Autostart && s.NavBar && !s.Loop && !s.LinkTargetBlank);
        QVERIFY(s.FitImages && s.FitMode == 2 && s.FitWidth == "640" && s.FitHeight == "480");
        QCOMPARE(s.BackgroundColor, 0x996633);
        QVERIFY(!s.BackgroundTransparent);
        QVERIFY(s.audioMode == AudioMode::Library);
        QCOMPARE(s.MusicTitle, f.app->musicTitles.front());
        f.window->imgTab1Click();
        f.w<QLineEdit>("txtOutput")
            ->setText(QString::fromStdString((f.dir / "window/Trip.html").string()));
        QCOMPARE(s.OutputFile, (f.dir / "window/Trip.html").string());
        QVERIFY(f.app->project.Modified());

        const fs::path saved = f.dir / "trip.lmx";
        f.services.saveAnswers.push_back(saved.string());
        f.window->imgMenuSaveClick();
        QVERIFY(fs::exists(saved));

        f.window->seedPreviews(kSeed);
        f.window->imgTab3Click();
        QCOMPARE(f.window->CurrentPage(), 3);
        player::PlayerView* view = f.window->previewPlayer();
        QTRY_VERIFY_WITH_TIMEOUT(view->shownSlide() >= 0, 30000);
        QTest::qWait(1500);  // the first transition has ended
        const QColor first = kColours[f.app->project.SlideOrder.front()];
        const QImage shot = view->grab().toImage();
        int near = 0, samples = 0;
        for (int y = 0; y < shot.height(); y += 4)
            for (int x = 0; x < shot.width(); x += 4, ++samples) {
                const QColor c = shot.pixelColor(x, y);
                if (std::abs(c.red() - first.red()) + std::abs(c.green() - first.green()) +
                        std::abs(c.blue() - first.blue()) <
                    60)
                    ++near;
            }
        QVERIFY2(
            near > samples / 3,
            qPrintable(QString("%1 of %2 pixels of the first picture").arg(near).arg(samples)));

        f.click("btnCreate");
        QVERIFY(fs::exists(f.dir / "window/Trip.html"));

        // The same project through lumetra-make, with the same seed.
        fs::create_directories(f.dir / "xdg/Tesmor/Lumetra");
        f.dir.write("xdg/Tesmor/Lumetra/Settings.ini", "[Main]\nLanguage=English\n");
        QProcess make;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", QString::fromStdString((f.dir / "xdg").string()));
        make.setProcessEnvironment(env);
        make.start(LUMETRA_MAKE_PROGRAM,
                   {"--seed", QString::number(kSeed), "--output",
                    QString::fromStdString((f.dir / "make/Trip.html").string()),
                    QString::fromStdString(saved.string())});
        QVERIFY(make.waitForFinished(60000));
        QVERIFY2(make.exitCode() == 0, make.readAllStandardError().constData());

        const auto window = FolderFiles(f.dir / "window");
        const auto made = FolderFiles(f.dir / "make");
        // Page, player, description, music and the five pictures.
        QCOMPARE(int(window.size()), 9);
        for (const auto& [name, bytes] : window) {
            const auto other = made.find(name);
            QVERIFY2(other != made.end(),
                     qPrintable("lumetra-make wrote no " + QString::fromStdString(name)));
            QVERIFY2(other->second == bytes, qPrintable(QString::fromStdString(name) + " differs"));
        }
        QCOMPARE(made.size(), window.size());
    }

    // The preview plays before all its pictures exist: the player waits on a
    // picture that is still being prepared and shows it once it is released.
    void previewWaitsForAPictureStillBeingPrepared() {
        UiFixture f("English", true);
        f.window->FormShow();
        QVERIFY2(f.window->playerInstalled(), "the built-in player is not available here");
        const fs::path show = f.dir / "show";
        fs::create_directories(show);
        fs::copy_file(f.app->dataFolder() / "slideshow.js", show / "show.js");
        f.dir.write("show/show.xml",
                    "<slideshow><control bar_visible=\"off\"/>"
                    "<slide purge=\"true\"><navigation/><image url=\"a.jpg\" duration=\"1\"/>"
                    "<transition duration=\"0\" type=\"none\"/></slide>"
                    "<slide purge=\"true\"><navigation/><image url=\"b.jpg\" duration=\"1\"/>"
                    "<transition duration=\"0\" type=\"none\"/></slide></slideshow>");
        const auto picture = [&](const char* name, QColor colour) {
            QImage image(200, 150, QImage::Format_RGB32);
            image.fill(colour);
            QVERIFY(image.save(QString::fromStdString((show / name).string()), "JPEG"));
        };
        picture("a.jpg", Qt::red);
        QWidget host;
        host.resize(200, 150);
        player::PlayerView view({}, &host);
        view.setGeometry(0, 0, 200, 150);
        host.show();
        view.createWebView();
        QVERIFY(view.hasWebView());
        view.setPendingPictures({"b.jpg"});
        view.setMovie((show / "show.js").string() + "?xml_source=show.xml");
        QTRY_COMPARE_WITH_TIMEOUT(view.shownSlide(), 0, 30000);
        QTest::qWait(2500);  // a second slide's time and more: it waits for its picture
        QCOMPARE(view.shownSlide(), 0);
        picture("b.jpg", Qt::blue);
        view.pictureReady("b.jpg");
        QCOMPARE(view.pendingPictures(), std::size_t(0));
        QTRY_COMPARE_WITH_TIMEOUT(view.shownSlide(), 1, 10000);
        QTest::qWait(300);
        const QImage shot = view.grab().toImage();
        const QColor middle = shot.pixelColor(shot.width() / 2, shot.height() / 2);
        QVERIFY2(middle.blue() > 200 && middle.red() < 60, qPrintable(middle.name()));
    }
};

LUMETRA_QT_TEST(CreatePageWebTest);

}  // namespace lumetra::test

#include "CreatePageWebTest.moc"
