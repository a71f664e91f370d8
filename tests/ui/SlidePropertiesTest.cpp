// Editing the selected slides' properties, and the effect demonstration.

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTest>

#include "UiFixture.h"
#include "app/EffectDemoTimer.h"
#include "lang/Messages.h"
#include "player/PlayerView.h"
#include "support/QtTestMain.h"
#include "ui/PictureWidgets.h"

namespace lumetra::test {

class SlidePropertiesTest : public QObject {
    Q_OBJECT
    std::unique_ptr<UiFixture> f;
    const std::vector<recImgItems>& slides() { return f->app->project.ImgItems; }

  private slots:
    void init() {
        f = std::make_unique<UiFixture>();
        f->addPictures(5);
    }
    void cleanup() { f.reset(); }

    void aTitleGoesIntoEverySelectedSlide() {
        f->select({0, 2, 4});
        f->app->project.SetModified(false);
        QTest::keyClicks(f->w<QLineEdit>("txtImgTitle"), "Sea");
        for (int i : {0, 2, 4}) QCOMPARE(slides()[std::size_t(i)].Title, std::string("Sea"));
        QCOMPARE(slides()[1].Title, std::string());
        QVERIFY(f->app->project.Modified());
        f->w<QPlainTextEdit>("txtImgDesc")->setPlainText("line 1\nline 2");
        QCOMPARE(slides()[2].Description, std::string("line 1\r\nline 2"));
        f->w<QLineEdit>("txtImgLink")->setText("https://example.org/");
        QCOMPARE(slides()[4].Link, std::string("https://example.org/"));
        QCOMPARE(slides()[4].Duration, 5000);  // the other fields stay as they were
    }

    void durations() {
        f->select({1, 3});
        auto* duration = f->w<QSpinBox>("txtDuration");
        QCOMPARE(duration->minimum(), 1);
        QCOMPARE(duration->maximum(), 9999);
        f->app->project.SetModified(false);
        duration->findChild<QLineEdit*>()->clear();  // an empty text changes nothing
        QCOMPARE(slides()[1].Duration, 5000);
        QVERIFY(!f->app->project.Modified());
        QTest::keyClicks(duration, "12");
        QCOMPARE(slides()[1].Duration, 12000);
        QCOMPARE(slides()[3].Duration, 12000);
        QCOMPARE(f->list()->topLevelItem(3)->text(2).toStdString(),
                 "12 " + f->text(lang::frmMain::kSecondsShort));
        QCOMPARE(slides()[0].Duration, 5000);
    }

    void effectChoiceRewritesRowsAndPlaysTheDemo() {
        f->select({0, 1});
        auto* effects = f->w<QComboBox>("cboEffectsIn");
        QCOMPARE(effects->count(), 45);
        f->app->project.SetModified(false);
        effects->setCurrentIndex(9);
        QVERIFY(f->app->project.Modified());  // cboEffectsInChange
        QCOMPARE(slides()[0].EffectIn, 0);    // only a choice edits slides
        f->window->cboEffectsInClick(9);
        QCOMPARE(slides()[0].EffectIn, 9);
        QCOMPARE(slides()[1].EffectIn, 9);
        QCOMPARE(f->list()->topLevelItem(1)->text(1), effects->itemText(9));
        QVERIFY(!f->w("btnPlayDemo")->isEnabled());
        QCOMPARE(f->window->timer1().interval(), kDemoUserInterval);
        QVERIFY(f->window->timer1().isActive());
    }

    void textColourThroughTheDialog() {
        f->select({2, 3});
        f->services.colorAnswers.push_back(0x0000FF);  // red as 0x00BBGGRR
        f->window->panTextColorClick();
        QCOMPARE(slides()[2].TextColor, 0x0000FF);
        QCOMPARE(slides()[3].TextColor, 0x0000FF);
        f->services.colorAnswers.push_back(std::nullopt);
        f->window->panTextColorClick();
        QCOMPARE(slides()[2].TextColor, 0x0000FF);
        QCOMPARE(f->services.dialogs.back().kind, DialogKind::ChooseColor);
    }

    void effectInfoNamesTheCount() {
        f->select({0, 1, 3});
        QVERIFY(f->w("imgEffectInfo")->isVisibleTo(f->window.get()));
        f->click("imgEffectInfo");
        QCOMPARE(f->services.messages.back().flags, mb::kInformation);
        QCOMPARE(f->lastMessage(),
                 MessageText(f->app->language, lang::messages::kImgEffectInfo, {"3"}));
        QVERIFY(f->lastMessage().find("%br%") == std::string::npos);
    }

    void demonstrationPhases() {
        auto& w = *f->window;
        f->select({0});
        w.PlayEffectDemo(true);  // the start-up run
        QCOMPARE(w.timer1().interval(), kDemoStartupInterval);
        QCOMPARE(w.timer1().timerType(), Qt::PreciseTimer);
        QVERIFY(!w.demoStartsWithDesert());  // toggled: the next run starts with the beach
        QVERIFY(w.demoPlayer()->movie().find("x=-1") != std::string::npos);
        // The phase has come, but the player has painted nothing: it stays hidden.
        w.Timer1Timer();
        QVERIFY(!w.demoPlayerShown());
        w.demoPlayerSlideShown(0);
        QVERIFY(w.demoPlayerShown());
        QVERIFY(w.timer1().isActive());
        QCOMPARE(w.timer1().interval(), kDemoStartupInterval);

        w.btnPlayDemoClick();  // a user run: from the beach
        QVERIFY(w.demoPlayer()->movie().find("x=0") != std::string::npos);
        QVERIFY(!w.demoPlayerShown());
        QVERIFY(w.demoCanvasShown());
        QVERIFY(!f->w("btnPlayDemo")->isEnabled());
        auto* canvas = f->w<ui::PictureWidget>("imgEffectDemoCanvas");
        const QImage beach(
            QString::fromStdString((f->app->dataFolder() / "gui" / "beach.jpg").string()));
        QCOMPARE(canvas->image(), beach);
        w.demoPlayerSlideShown(0);  // painted before its phase: still hidden
        QVERIFY(!w.demoPlayerShown());
        w.Timer1Timer();  // 350: the player in front, still picture gone
        QCOMPARE(w.timer1().interval(), kDemoPlayInterval);
        QVERIFY(w.timer1().isActive());
        QVERIFY(w.demoPlayerShown());
        QVERIFY(!w.demoCanvasShown());
        w.Timer1Timer();  // 2100: the still picture of the new start picture
        QVERIFY(!w.timer1().isActive());
        QVERIFY(!w.demoPlayerShown());
        QVERIFY(w.demoCanvasShown());
        QVERIFY(f->w("btnPlayDemo")->isEnabled());
        const QImage desert(
            QString::fromStdString((f->app->dataFolder() / "gui" / "desert.jpg").string()));
        QCOMPARE(canvas->image(), desert);
        w.timer1().setInterval(100);
        w.Timer1Timer();  // any other interval: nothing
        QVERIFY(w.demoCanvasShown());
    }

    void demonstrationWritesItsShow() {
        f->window->PlayEffectDemo(false);
        const std::string movie = f->window->demoPlayer()->movie();
        const std::filesystem::path folder =
            std::filesystem::path(movie.substr(0, movie.find('?'))).parent_path();
        for (const char* file : {"preview.js", "preview.xml", "desert.jpg", "beach.jpg"})
            QVERIFY(std::filesystem::exists(folder / file));
        QVERIFY(movie.find("preview.js?xml_source=preview.xml&x=") != std::string::npos);
    }

    void greyStillPicturesWithoutSelection() {
        f->list()->clearSelection();
        f->window->SetControlStates();
        auto* canvas = f->w<ui::PictureWidget>("imgEffectDemoCanvas");
        const char* expected =
            f->window->demoStartsWithDesert() ? "desert_gray.jpg" : "beach_gray.jpg";
        QCOMPARE(
            canvas->image(),
            QImage(QString::fromStdString((f->app->dataFolder() / "gui" / expected).string())));
    }
};

LUMETRA_QT_TEST(SlidePropertiesTest);

}  // namespace lumetra::test

#include "SlidePropertiesTest.moc"
