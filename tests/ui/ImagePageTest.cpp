// The image page: adding, removing, moving and selecting slides, the preview
// picture and the enable rules.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QUrl>

#include "UiFixture.h"
#include "app/ControlStates.h"
#include "support/QtTestMain.h"
#include "ui/PictureWidgets.h"
#include "ui/PreviewDecoder.h"

namespace lumetra::test {

class ImagePageTest : public QObject {
    Q_OBJECT
    std::unique_ptr<UiFixture> f;

    // Row i holds slide i: the first cell is the slide's file name.
    void checkRows() {
        const auto& slides = f->app->project.ImgItems;
        QCOMPARE(f->list()->topLevelItemCount(), int(slides.size()));
        for (int i = 0; i < int(slides.size()); ++i)
            QCOMPARE(f->list()->topLevelItem(i)->text(0).toStdString(),
                     std::filesystem::path(slides[std::size_t(i)].FileName).filename().string());
    }
    std::string order() {
        std::string out;
        for (const auto& s : f->app->project.ImgItems)
            out += std::filesystem::path(s.FileName).stem().string().substr(1);
        return out;
    }
    QList<int> selected() {
        QList<int> rows;
        for (int i = 0; i < f->list()->topLevelItemCount(); ++i)
            if (f->list()->topLevelItem(i)->isSelected()) rows << i;
        return rows;
    }
    void waitForPreview() {
        QTRY_VERIFY_WITH_TIMEOUT(!f->window->previewDecoder().busy(), 5000);
        QTest::qWait(20);  // the result's queued delivery
    }

  private slots:
    void init() { f = std::make_unique<UiFixture>(); }
    void cleanup() { f.reset(); }

    void addFilesSelectsTheLastAndRemembersTheFolder() {
        f->addPictures(3);
        checkRows();
        QCOMPARE(selected(), QList<int>{2});
        QVERIFY(f->app->project.Modified());
        const RecordedDialog& first = f->services.dialogs.back();
        QCOMPARE(first.kind, DialogKind::OpenFiles);
        QVERIFY(first.multiple);
        QCOMPARE(first.request.filter, f->text(lang::gui::kImgFileFilter));
        QCOMPARE(first.request.initialPath, std::string());
        const auto row = f->list()->topLevelItem(0);
        QCOMPARE(row->text(1).toStdString(),
                 f->app->language.GetLangString("TransitionEffectNames", "0"));
        QCOMPARE(row->text(2).toStdString(), "5 " + f->text(lang::frmMain::kSecondsShort));
        // The next dialog opens in the folder of the first file chosen; a cancel forgets it.
        f->services.fileAnswers.push_back({});
        f->click("btnAdd");
        QCOMPARE(f->services.dialogs.back().request.initialPath, f->dir.path().string());
        f->services.fileAnswers.push_back({});
        f->click("btnAdd");
        QCOMPARE(f->services.dialogs.back().request.initialPath, std::string());
        QVERIFY(!f->w("panAddHint")->isVisibleTo(f->window.get()));
    }

    void newSlidesTakeTheDurationField() {
        f->addPictures(2);
        f->select({0, 1});
        f->w<QSpinBox>("txtDuration")->setValue(7);
        f->addPictures(3);
        for (const auto& s : f->app->project.ImgItems) QCOMPARE(s.Duration, 7000);
    }

    void addFolderInItsOrder() {
        for (const char* name : {"c.png", "b.jpeg", "a.JPG", "d.tif"})
            f->picture(std::string("pics/") + name);
        f->services.folderAnswers.push_back((f->dir / "pics").string());
        f->click("btnAddDir");
        QCOMPARE(f->services.dialogs.back().request.title, f->text(lang::gui::kSelectDir));
        checkRows();
        QCOMPARE(f->list()->topLevelItem(0)->text(0), QString("a.JPG"));
        QCOMPARE(f->list()->topLevelItem(2)->text(0), QString("c.png"));
        QCOMPARE(f->list()->topLevelItemCount(), 3);
        QCOMPARE(selected(), QList<int>{2});
        QVERIFY(f->window->isEnabled());
        QVERIFY(!f->window->progressWindow()->isVisible());
        // The please-wait window went through every file, with the adding text.
        auto* bar = f->window->progressWindow()->findChild<QProgressBar*>("ProgressBar2");
        QCOMPARE(bar->maximum(), 3);
        QCOMPARE(bar->value(), 3);
        QCOMPARE(f->window->progressWindow()->findChild<QLabel*>("Label2")->text().toStdString(),
                 f->text(lang::messages::kLoadingImages));
        QCOMPARE(f->window->progressWindow()->windowTitle().toStdString(),
                 f->app->language.GetLangString("frmMiscProgress", "Title"));
        // An empty folder adds nothing, but counts as an edit.
        f->app->project.SetModified(false);
        std::filesystem::create_directories(f->dir / "empty");
        f->services.folderAnswers.push_back((f->dir / "empty").string());
        f->click("btnAddDir");
        QCOMPARE(f->list()->topLevelItemCount(), 3);
        QVERIFY(f->app->project.Modified());
    }

    void unreadableFilesAreAdded() {
        f->dir.write("broken.jpg", "not a picture");
        mkfifo((f->dir / "fifo.png").c_str(), 0600);
        f->services.fileAnswers.push_back(
            {(f->dir / "broken.jpg").string(), (f->dir / "fifo.png").string()});
        f->click("btnAdd");
        checkRows();
        QCOMPARE(f->app->project.ImgItems[0].ImgWidth, 105);
        QCOMPARE(f->app->project.ImgItems[1].ImgHeight, 105);
        // The last one is previewed: the picture message, nothing shown.
        waitForPreview();
        QCOMPARE(f->services.messages.back().flags, mb::kError);
        QVERIFY(!f->w<ui::PictureWidget>("imgPreview")->hasPicture());
    }

    void moves_data() {
        QTest::addColumn<QList<int>>("rows");
        QTest::addColumn<bool>("up");
        QTest::addColumn<QString>("order");
        QTest::addColumn<QList<int>>("after");
        QTest::newRow("2,3 up") << QList<int>{2, 3} << true << "02314" << QList<int>{1, 2};
        QTest::newRow("0,3 up: nothing") << QList<int>{0, 3} << true << "01234" << QList<int>{0, 3};
        QTest::newRow("1,3 down") << QList<int>{1, 3} << false << "02143" << QList<int>{2, 4};
        QTest::newRow("4 down: nothing") << QList<int>{4} << false << "01234" << QList<int>{4};
    }
    void moves() {
        QFETCH(QList<int>, rows);
        QFETCH(bool, up);
        QFETCH(QString, order);
        QFETCH(QList<int>, after);
        f->addPictures(5);
        f->app->project.ImgItems[3].Reserved1 = 33;
        f->list()->clearSelection();
        for (int r : rows) f->list()->topLevelItem(r)->setSelected(true);
        f->app->project.SetModified(false);
        // Buttons are disabled where nothing would move; the handlers check it too.
        up ? f->window->btnUpClick() : f->window->btnDownClick();
        QCOMPARE(QString::fromStdString(this->order()), order);
        QCOMPARE(selected(), after);
        checkRows();
        QCOMPARE(f->app->project.Modified(), order != "01234");
        for (const auto& s : f->app->project.ImgItems)
            if (std::filesystem::path(s.FileName).stem() == "p3") QCOMPARE(s.Reserved1, 33);
    }

    void removal_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<QList<int>>("rows");
        QTest::addColumn<QList<int>>("after");
        QTest::newRow("2 and 5 of 8") << 8 << QList<int>{2, 5} << QList<int>{5};
        QTest::newRow("the last") << 4 << QList<int>{3} << QList<int>{2};
        QTest::newRow("all") << 3 << QList<int>{0, 1, 2} << QList<int>{};
        QTest::newRow("nothing selected") << 3 << QList<int>{} << QList<int>{0};
    }
    void removal() {
        QFETCH(int, count);
        QFETCH(QList<int>, rows);
        QFETCH(QList<int>, after);
        f->addPictures(count);
        f->list()->clearSelection();
        for (int r : rows) f->list()->topLevelItem(r)->setSelected(true);
        f->app->project.SetModified(false);
        // The Delete key of the list.
        QTest::keyClick(f->list(), Qt::Key_Delete);
        checkRows();
        QCOMPARE(selected(), after);
        QVERIFY(f->app->project.Modified());
        if (after.isEmpty()) {
            QVERIFY(f->w("panAddHint")->isVisibleTo(f->window.get()));
            QVERIFY(!f->w<ui::PictureWidget>("imgPreview")->hasPicture());
        }
    }

    void picturesAndFoldersDroppedOnTheWindow() {
        f->picture("drop/b.png");
        f->picture("drop/a.jpg");
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(f->picture("single.png"))),
                      QUrl::fromLocalFile(QString::fromStdString((f->dir / "drop").string()))});
        const QPoint at = f->list()->mapTo(f->window.get(), QPoint(20, 20));
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(f->window.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(f->window.get(), &drop);
        checkRows();
        QCOMPARE(f->list()->topLevelItemCount(), 3);
        QCOMPARE(f->list()->topLevelItem(0)->text(0), QString("single.png"));
        QCOMPARE(f->list()->topLevelItem(1)->text(0), QString("a.jpg"));
        QCOMPARE(selected(), QList<int>{2});
    }

    void shortcuts() {
        f->addPictures(2);
        f->window->show();
        f->window->activateWindow();
        QApplication::setActiveWindow(f->window.get());
        QVERIFY(QTest::qWaitForWindowActive(f->window.get()));
        f->list()->setFocus();
        f->services.saveAnswers.push_back((f->dir / "k.lmx").string());
        QTest::keyClick(f->list(), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(std::filesystem::exists(f->dir / "k.lmx"));
        QTest::keyClick(f->list(), Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(f->list()->topLevelItemCount(), 0);
        QTest::keyClick(f->list(), Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(f->terminated);
    }

    void selectAllWithButtonAndKeys() {
        f->addPictures(3);
        f->click("btnSelAll");
        QCOMPARE(selected(), (QList<int>{0, 1, 2}));
        QVERIFY(!f->w("btnSelAll")->isEnabled());
        f->select({1});
        QTest::keyClick(f->list(), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(selected(), (QList<int>{0, 1, 2}));
        QVERIFY(!f->w("imgEffectInfo")->isVisibleTo(f->window.get()));
    }

    void controlStates_data() {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QList<int>>("sel");
        QTest::addColumn<QString>("expected");  // remove hint up down selAll fields info demo
        QTest::newRow("empty") << 0 << QList<int>{} << "01000000";
        QTest::newRow("one row, selected") << 1 << QList<int>{0} << "10000101";
        QTest::newRow("first of three") << 3 << QList<int>{0} << "10011111";
        QTest::newRow("last of three") << 3 << QList<int>{2} << "10101111";
        QTest::newRow("middle two of four") << 4 << QList<int>{1, 2} << "10111111";
        QTest::newRow("all of three") << 3 << QList<int>{0, 1, 2} << "10000101";
        QTest::newRow("none of three") << 3 << QList<int>{} << "00001000";
    }
    void controlStates() {
        QFETCH(int, rows);
        QFETCH(QList<int>, sel);
        QFETCH(QString, expected);
        if (rows) f->addPictures(rows);
        f->list()->clearSelection();
        for (int r : sel) f->list()->topLevelItem(r)->setSelected(true);
        f->window->SetControlStates();
        QWidget* top = f->window.get();
        QString got;
        for (bool b : {f->w("btnRemove")->isEnabled(), f->w("panAddHint")->isVisibleTo(top),
                       f->w("btnUp")->isEnabled(), f->w("btnDown")->isEnabled(),
                       f->w("btnSelAll")->isEnabled(), f->w("txtImgTitle")->isEnabled(),
                       f->w("imgEffectInfo")->isVisibleTo(top), f->w("btnPlayDemo")->isEnabled()})
            got += b ? "1" : "0";
        QCOMPARE(got, expected);
        QCOMPARE(f->w("cboEffectsIn")->isEnabled(), !sel.isEmpty());
        QCOMPARE(f->w("txtDuration")->isEnabled(), !sel.isEmpty());
        QVERIFY(f->window->demoCanvasShown());
        QVERIFY(!f->window->demoPlayerShown());
        if (sel.isEmpty()) {
            QCOMPARE(f->w<QSpinBox>("txtDuration")->value(), 5);
            QCOMPARE(f->w<QComboBox>("cboEffectsIn")->currentIndex(), 0);
            QVERIFY(f->w<QLineEdit>("txtImgTitle")->text().isEmpty());
        }
    }

    void theCoreTableMatches() {
        // Spot checks of the core rule the window applies.
        QVERIFY(ControlStatesFor(0, 0, false, false, true).stillPicture == "desert_gray.jpg");
        QVERIFY(ControlStatesFor(1, 2, true, false, false).stillPicture == "beach.jpg");
        QVERIFY(!ControlStatesFor(2, 2, true, true, true).effectInfoVisible);
    }

    void selectionFillsFieldsAndDeselectionKeepsThem() {
        f->addPictures(3);
        auto& slides = f->app->project.ImgItems;
        slides[0].Title = "zero";
        slides[1].Title = "one";
        slides[1].Description = "a\r\nb";
        slides[1].EffectIn = 4;
        slides[1].Duration = 9000;
        f->app->project.SetModified(false);
        f->select({1});
        QCOMPARE(f->w<QLineEdit>("txtImgTitle")->text(), QString("one"));
        QCOMPARE(f->w<QPlainTextEdit>("txtImgDesc")->toPlainText(), QString("a\nb"));
        QCOMPARE(f->w<QSpinBox>("txtDuration")->value(), 9);
        QCOMPARE(f->w<QComboBox>("cboEffectsIn")->currentIndex(), 4);
        f->list()->topLevelItem(0)->setSelected(true);
        QCOMPARE(f->w<QLineEdit>("txtImgTitle")->text(), QString("zero"));
        // Ctrl+click deselects row 1: its properties stay in the fields.
        f->list()->topLevelItem(1)->setSelected(false);
        QCOMPARE(f->w<QLineEdit>("txtImgTitle")->text(), QString("one"));
        QCOMPARE(selected(), QList<int>{0});
        QVERIFY(!f->app->project.Modified());  // filling the fields is no edit
        QCOMPARE(slides[0].Title, std::string("zero"));
    }

    void previewShowsTheSelectedPicture() {
        f->services.fileAnswers.push_back(
            {f->picture("wide.png", 800, 200), f->picture("tall.png", 100, 400)});
        f->click("btnAdd");
        waitForPreview();
        auto* preview = f->w<ui::PictureWidget>("imgPreview");
        QVERIFY(preview->hasPicture());
        QCOMPARE(preview->image().size() / preview->image().devicePixelRatio(), QSize(49, 196));
        f->select({0});
        waitForPreview();
        QCOMPARE(preview->image().size() / preview->image().devicePixelRatio(), QSize(201, 50));
        // Two selected: the picture stays.
        f->list()->topLevelItem(1)->setSelected(true);
        waitForPreview();
        QCOMPARE(preview->image().width(), 201);
        // A file that has vanished: the notice instead of the picture.
        std::filesystem::remove(f->dir / "tall.png");
        f->select({1});
        QVERIFY(f->w("txtImgNotFound")->isVisibleTo(f->window.get()));
        QVERIFY(!preview->isVisibleTo(f->window.get()));
        QVERIFY(f->w<QPlainTextEdit>("txtImgNotFound")->toPlainText().contains("tall.png"));
    }

    void aNewerSelectionOvertakesTheDecode() {
        ui::PreviewDecoder decoder;
        QSignalSpy spy(&decoder, &ui::PreviewDecoder::decoded);
        const std::string a = f->picture("a.png", 1200, 900), b = f->picture("b.png", 300, 300);
        for (int i = 0; i < 20; ++i) decoder.request({i % 2 ? b : a, 201, 196, 1});
        const unsigned last = decoder.request({b, 201, 196, 1});
        QTRY_VERIFY_WITH_TIMEOUT(!decoder.busy(), 5000);
        QTest::qWait(20);
        QVERIFY(spy.size() >= 1);
        QCOMPARE(spy.last().at(0).toUInt(), last);  // only the newest counts
        QVERIFY(spy.size() <= 2);                   // no backlog of the others
    }
};

LUMETRA_QT_TEST(ImagePageTest);

}  // namespace lumetra::test

#include "ImagePageTest.moc"
