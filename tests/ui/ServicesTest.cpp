// The window layer's plain helpers: file filters, colours, the player's host
// page, and the message boxes of the Qt services.

#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "app/Application.h"
#include "player/PlayerHostPage.h"
#include "support/QtTestMain.h"
#include "support/ScriptedServices.h"
#include "ui/Artwork.h"
#include "ui/FileFilter.h"
#include "ui/QtColor.h"
#include "ui/QtServices.h"
#include "ui/TfrmMiscProgress.h"

namespace lumetra::test {

class ServicesTest : public QObject {
    Q_OBJECT

  private slots:
    void fileFilters_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("qt");
        QTest::newRow("one") << "Projects (*.lmx)|*.lmx"
                             << "Projects (*.lmx)";
        QTest::newRow("patterns in words") << "All pictures (*.jpg, *.png)|*.jpg;*.png|JPEG|*.jpg"
                                           << "All pictures (*.jpg *.png);;JPEG (*.jpg)";
        QTest::newRow("blanks and an odd tail") << "MP3 files | *.mp3 ; |Broken"
                                                << "MP3 files (*.mp3)";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("words in parentheses stay") << "Shows (web)|*.html"
                                                   << "Shows (web) (*.html)";
    }
    void fileFilters() {
        QFETCH(QString, filter);
        QFETCH(QString, qt);
        QCOMPARE(QString::fromStdString(ui::QtFileFilter(filter.toStdString())), qt);
    }

    void colours() {
        QCOMPARE(ui::ToQColor(0x00FF8000), QColor(0x00, 0x80, 0xFF));
        QCOMPARE(ui::FromQColor(QColor(0x12, 0x34, 0x56)), 0x563412u);
        QCOMPARE(ui::FromQColor(ui::ToQColor(0xABCDEF)), 0xABCDEFu);
    }

    void playerHostPage() {
        const auto address =
            player::ParsePlayerAddress("/tmp/x/preview.js?xml_source=preview.xml&x=-1");
        QCOMPARE(address.script.string(), std::string("/tmp/x/preview.js"));
        QCOMPARE(address.xmlSource, std::string("preview.xml"));
        const std::string page = player::PlayerHostPage(
            address, "\xEF\xBB\xBF<slideshow><x>&lt;/script&gt;</x></slideshow>",
            {148, 104, "", true});
        QVERIFY(page.find("preview.js?xml_source=preview.xml&amp;x=-1") != std::string::npos);
        QVERIFY(page.find("data-xml-source=\"preview.xml\"><slideshow>") != std::string::npos);
        QVERIFY(page.find("width:148px;height:104px") != std::string::npos);
        // The stage stands right before the player script.
        QVERIFY(page.find("</div>\n<script src=") != std::string::npos);
        QVERIFY(player::ParsePlayerAddress("/a/b.js").xmlSource.empty());
    }

    void messageBoxAnswers_data() {
        QTest::addColumn<int>("flags");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("answer");
        QTest::newRow("error, Escape") << mb::kError << int(Qt::Key_Escape) << mb::IDOK;
        QTest::newRow("question, Escape") << mb::kQuestion << int(Qt::Key_Escape) << mb::IDCANCEL;
        QTest::newRow("question, Enter") << mb::kQuestion << int(Qt::Key_Return) << mb::IDYES;
        QTest::newRow("yes/no, Enter") << mb::kQuestionYesNo << int(Qt::Key_Return) << mb::IDYES;
    }
    void messageBoxAnswers() {
        QFETCH(int, flags);
        QFETCH(int, key);
        QFETCH(int, answer);
        ui::QtServices services;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        int buttons = 0;
        // Answer the box from inside its own loop, as a person would.
        QTimer::singleShot(50, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            icon = box->icon();
            buttons = int(box->buttons().size());
            QTest::keyClick(box, Qt::Key(key));
        });
        QCOMPARE(services.messageBox("text", "Caption", flags), answer);
        QCOMPARE(int(icon), int(flags & 0xF0) == mb::kIconError ? int(QMessageBox::Critical)
                                                                : int(QMessageBox::Question));
        QCOMPARE(buttons, (flags & 0x0F) == mb::kYesNoCancel ? 3
                          : (flags & 0x0F) == mb::kYesNo     ? 2
                                                             : 1);
    }

    void artworkAtEveryPixelRatio() {
        ui::SetArtworkFolder(std::filesystem::path(LUMETRA_SOURCE_DIR) / "data" / "gui");
        for (qreal ratio : {1.0, 1.5, 2.0}) {
            const QPixmap tab = ui::Artwork("imgMenuBildauswahl0", QSize(160, 64), ratio);
            QCOMPARE(tab.size(), QSize(qRound(160 * ratio), qRound(64 * ratio)));
            QCOMPARE(tab.devicePixelRatio(), ratio);
            // Drawn, not empty: the tab's white face at its middle.
            QCOMPARE(tab.toImage().pixelColor(tab.width() / 2, tab.height() / 2),
                     QColor(Qt::white));
        }
        QVERIFY(ui::Artwork("noSuchPicture", QSize(10, 10), 1).isNull());
        const QImage grey = ui::DisabledArtwork("btnAdd", QSize(24, 24), 2).toImage();
        for (int y = 0; y < grey.height(); ++y)
            for (int x = 0; x < grey.width(); ++x) {
                const QColor c = grey.pixelColor(x, y);
                QVERIFY(qAbs(c.red() - c.green()) <= 1 && qAbs(c.green() - c.blue()) <= 1);
            }
        // Every picture the window names is there.
        for (const char* name : {"imgBGde",          "imgBGen",
                                 "imgAddHintDe",     "imgAddHintEn",
                                 "btnAdd",           "btnAddDir",
                                 "btnRemove",        "btnUp",
                                 "btnDown",          "btnSelAll",
                                 "btnPlayDemo",      "imgEffectInfo",
                                 "imgImgNotFound",   "imgMenuNew0",
                                 "imgMenuNew1",      "imgMenuLoad0",
                                 "imgMenuLoad1",     "imgMenuSave0",
                                 "imgMenuSave1",     "imgMenuUpdate0",
                                 "imgMenuUpdate1",   "imgMenuEinstellungen2",
                                 "imgMenuErstellen1"})
            QVERIFY2(!ui::Artwork(name, QSize(20, 20), 1).isNull(), name);
    }

    // As during long work: the main window disabled, the please-wait window
    // shown. Neither it nor a message above it may take the disabled state
    // of the window they belong to, or no one could answer the message.
    void aMessageStandsAboveThePleaseWaitWindow() {
        QWidget main;
        main.resize(400, 300);
        main.show();
        std::unique_ptr<Application> none;
        test::ScriptedServices scripted;
        Application app(scripted, LUMETRA_BINARY_DIR "/bin", "/nonexistent");
        ui::TfrmMiscProgress wait(app, &main);
        main.setEnabled(false);
        wait.showWaiting();
        QVERIFY(wait.isEnabled());
        ui::QtServices services([&main]() -> QWidget* { return &main; });
        QWidget* owner = nullptr;
        bool onTop = false;
        bool enabled = false;
        QTimer::singleShot(50, [&] {
            auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!box) return;
            owner = box->parentWidget();
            onTop = box->windowFlags() & Qt::WindowStaysOnTopHint;
            enabled = box->isEnabled();
            QTest::keyClick(box, Qt::Key_Escape);
            if (box->isVisible()) box->done(QDialog::Rejected);  // a disabled box takes no key
        });
        services.messageBox("text", "Caption", mb::kError);
        QCOMPARE(owner, static_cast<QWidget*>(&wait));
        QVERIFY(onTop);
        QVERIFY(enabled);
        main.setEnabled(true);
    }
};

LUMETRA_QT_TEST(ServicesTest);

}  // namespace lumetra::test

#include "ServicesTest.moc"
