// The whole road of a show through the real windows: pictures added and
// edited in the main window, the preview, Create, the completion dialog with
// only its publishing box ticked, and the wizard run modally by the program's
// own entry point against the local servers, its new-folder dialog included.
// Afterwards the server holds the show folder as it lies on disk, and the
// main window takes work again.
//
// Every modal window is driven from the event loop it runs; one that does not
// come in time fails the test and is closed, so nothing waits for a person.

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <functional>

#include "../TestServers.h"
#include "app/Platform.h"
#include "app/SettingsKeys.h"
#include "lang/LangKeys.h"
#include "publish/window/ShowPublishWizard.h"
#include "publish/window/TfrmFTP.h"
#include "publish/window/TfrmFTPNewDir.h"
#include "ui/TfrmDialog.h"
#include "ui/UiFixture.h"

namespace lumetra::test {

namespace fs = std::filesystem;

namespace {

constexpr int kModalWaitMs = 20000;

template <typename T = QWidget>
T* control(QWidget& window, const char* name) {
    T* widget = window.findChild<T*>(name);
    if (!widget) FailQtTest(std::string("no control ") + name);
    return widget;
}

void clickEntry(QListWidget* list, const QString& text) {
    const auto found = list->findItems(text, Qt::MatchExactly);
    QVERIFY2(found.size() == 1, qPrintable(text));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(found.front()).center());
}

}  // namespace

class PublishJourneyTest : public QObject {
    Q_OBJECT
    std::unique_ptr<UiFixture> f;
    std::unique_ptr<PyServers> servers;
    int completionDialogs = 0;

    // Runs act once on the next modal window of type T, inside the modal
    // loop that window runs. A window still open when act returns (a failed
    // check returned early) is closed, so its exec() returns. The poll
    // belongs to the test function: cleanup ends one still waiting.
    template <typename T>
    void whenModal(std::function<void(T&)> act) {
        auto* poll = new QTimer(this);
        QElapsedTimer clock;
        clock.start();
        connect(poll, &QTimer::timeout, poll, [=] {
            QWidget* top = QApplication::activeModalWidget();
            auto* window = qobject_cast<T*>(top);
            if (!window && clock.elapsed() < kModalWaitMs) return;
            poll->stop();
            poll->deleteLater();
            if (!window) {
                FailQtTest(std::string("no modal ") + T::staticMetaObject.className());
                if (auto* other = qobject_cast<QDialog*>(top)) other->done(QDialog::Rejected);
                return;
            }
            act(*window);
            if (window->isVisible()) window->done(QDialog::Rejected);
        });
        poll->start(20);
    }

    fs::path ftpRoot() const { return f->dir / "ftp"; }
    QString lang(const lang::LangKey& key) const {
        return QString::fromStdString(f->app->GetLangString(key));
    }
    void clickTab(const char* tab, int page) {
        QTest::mouseClick(f->w(tab), Qt::LeftButton);
        QCOMPARE(f->window->CurrentPage(), page);
    }

    // The slides and the show as a person sets them up through the controls.
    void editTheShow() {
        // Meanwhile the please-wait window stands enabled above the disabled window.
        bool waitingWindowUsable = false;
        QTimer watch;
        connect(&watch, &QTimer::timeout, [&] {
            ui::TfrmMiscProgress* waiting = f->window->progressWindow();
            if (waiting->isVisible())
                waitingWindowUsable = waiting->isEnabled() && !f->window->isEnabled();
        });
        watch.start(0);
        f->addPictures(3);
        watch.stop();
        QVERIFY(waitingWindowUsable);
        QCOMPARE(f->list()->topLevelItemCount(), 3);
        f->select({0});
        QTest::keyClicks(f->w<QLineEdit>("txtImgTitle"), "Harbour at dawn");
        QTest::keyClicks(f->w<QPlainTextEdit>("txtImgDesc"), "Day one");
        f->select({1, 2});
        auto* duration = f->w<QSpinBox>("txtDuration");
        duration->findChild<QLineEdit*>()->selectAll();
        QTest::keyClicks(duration, "7");
        QCOMPARE(f->app->project.ImgItems[2].Duration, 7000);

        clickTab("imgTab2", 2);
        for (const char* box : {"chkLoop", "chkRandomOrder"})
            QTest::mouseClick(f->w(box), Qt::LeftButton, {}, QPoint(5, 8));
        QVERIFY(!f->app->project.Settings.Loop);
        QVERIFY(f->app->project.Settings.RandomOrder);
    }

    void fillConnection(ui::TfrmFTP& wizard, const char* folder) {
        control<QLineEdit>(wizard, "txtFTPHost")->setText("127.0.0.1");
        control<QLineEdit>(wizard, "txtFTPPort")->setText(QString::number(servers->ftpPort));
        control<QLineEdit>(wizard, "txtFTPUser")->setText("lumetra");
        control<QLineEdit>(wizard, "txtFTPPass")->setText("secret");
        control<QLineEdit>(wizard, "txtFTPSubDir")->setText(folder);
        control<QLineEdit>(wizard, "txtHTTP")
            ->setText(QString("127.0.0.1:%1/").arg(servers->httpPort));
    }

    // The first publication as a person goes through it: the connection
    // (remembered), a new folder beside an existing one, the upload, and
    // the final page's link.
    void publishIntoANewFolder(ui::TfrmFTP& wizard, std::string& link) {
        QVERIFY((wizard.geometry().center() - f->window->geometry().center()).manhattanLength() <=
                2);
        fillConnection(wizard, "/web");
        control<QCheckBox>(wizard, "chkSaveFTP")->click();
        control<QPushButton>(wizard, "cmdNext")->click();
        QVERIFY(control(wizard, "panStep2")->isVisible());
        auto* folders = control<QListWidget>(wizard, "jvlstFtpDirListing");
        QVERIFY(!folders->findItems("photos", Qt::MatchExactly).isEmpty());

        QString newFolderPath;
        whenModal<ui::TfrmFTPNewDir>([&](ui::TfrmFTPNewDir& dialog) {
            QTest::keyClicks(control<QLineEdit>(dialog, "txtDirName"), "trip");
            newFolderPath = control<QLineEdit>(dialog, "txtDirPath")->text();
            control<QPushButton>(dialog, "btnCreate")->click();
        });
        clickEntry(folders, lang(lang::frmFTP::kListNew));
        QCOMPARE(newFolderPath, QString("/web/trip"));
        QCOMPARE(control<QLineEdit>(wizard, "txtTargetDir")->text(), QString("/web/trip"));
        finish(wizard, link);
    }

    // Once more into the same folder: the remembered connection, and the
    // synchronisation page, since the pictures are there already.
    void publishAgain(ui::TfrmFTP& wizard, std::string& link) {
        QCOMPARE(control<QLineEdit>(wizard, "txtFTPHost")->text(), QString("127.0.0.1"));
        fillConnection(wizard, "/web/trip");
        control<QPushButton>(wizard, "cmdNext")->click();
        QCOMPARE(control<QLineEdit>(wizard, "txtTargetDir")->text(), QString("/web/trip"));
        control<QPushButton>(wizard, "cmdNext")->click();
        QVERIFY(control(wizard, "panStepSync")->isVisible());
        finish(wizard, link);
    }

    // Next to the final page in link mode; its link; Close.
    void finish(ui::TfrmFTP& wizard, std::string& link) {
        control<QPushButton>(wizard, "cmdNext")->click();
        QVERIFY(control(wizard, "panStepHTML")->isVisible());
        QVERIFY(control(wizard, "txtLinkShow")->isVisible());
        link = control<QLineEdit>(wizard, "txtLinkShow")->text().toStdString();
        control<QPushButton>(wizard, "cmdCancel")->click();
        QVERIFY(!wizard.isVisible());
    }

    // Create, and in the completion dialog only the publishing box, which
    // runs the wizard through publishStep.
    void createAndPublish(const std::function<void(ui::TfrmFTP&, std::string&)>& publishStep,
                          std::string& link) {
        whenModal<ui::TfrmDialog>([&](ui::TfrmDialog& dialog) {
            whenModal<ui::TfrmFTP>([&](ui::TfrmFTP& wizard) { publishStep(wizard, link); });
            control<QCheckBox>(dialog, "chkBrowser")->setChecked(false);
            control<QCheckBox>(dialog, "chkFTP")->setChecked(true);
            control<QCheckBox>(dialog, "chkOpenDir")->setChecked(false);
            control<QPushButton>(dialog, "cmdOK")->click();
        });
        f->click("btnCreate");
    }

  private slots:
    void init() {
        f = std::make_unique<UiFixture>();
        fs::create_directories(ftpRoot() / "web" / "photos");
        servers = std::make_unique<PyServers>(
            f->dir / "servers",
            std::vector<std::string>{"--root", ftpRoot().string(), "--ftp", "--http"});
        // As the program has it: the completion dialog's choice opens the real wizard.
        f->window->openPublishWizard = [this] { ui::ShowPublishWizard(*f->app, f->window.get()); };
        completionDialogs = 0;
        f->window->runModalDialog = [this](QDialog& dialog) {
            ++completionDialogs;
            return dialog.exec();
        };
        f->window->setGeometry(100, 100, f->window->width(), f->window->height());
        f->window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f->window.get()));
    }
    void cleanup() {
        qDeleteAll(findChildren<QTimer*>(Qt::FindDirectChildrenOnly));
        f.reset();
        servers.reset();
        platform::removeInstanceTempFolder();
    }

    void picturesToAPublishedShow() {
        editTheShow();
        clickTab("imgTab3", 3);
        QVERIFY(f->window->isEnabled());
        const fs::path shows = f->dir / "shows";
        f->w<QLineEdit>("txtOutput")->setText(QString::fromStdString(shows / "Our Trip.html"));

        std::string link;
        createAndPublish([this](auto& w, auto& l) { publishIntoANewFolder(w, l); }, link);
        QCOMPARE(completionDialogs, 1);

        // The server holds the show folder as it lies on disk, under its safe name.
        const std::string address =
            "http://127.0.0.1:" + std::to_string(servers->httpPort) + "/web/trip/Our-Trip.html";
        QCOMPARE(link, address);
        const auto local = FolderFiles(shows);
        QVERIFY(local.count("Our-Trip.html"));
        QCOMPARE(FolderFiles(ftpRoot() / "web" / "trip"), local);
        const std::string description = local.at("Our-Trip_files/Our-Trip.xml");
        for (const char* typed : {"Harbour at dawn", "Day one", "127.0.0.1"})
            QVERIFY2(description.find(typed) != std::string::npos, typed);
        QVERIFY(f->services.openedUrls.empty());
        QVERIFY(f->app->settings.read(settings::kDialogFtp));
        QVERIFY(!f->app->settings.read(settings::kDialogBrowser));

        // The main window is free again: no window above it, and it takes
        // a new picture, a new preview and a second Create.
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QVERIFY(f->window->isEnabled());
        QVERIFY(f->window->findChildren<ui::TfrmFTP*>().isEmpty());
        clickTab("imgTab1", 1);
        f->services.fileAnswers.push_back({f->picture("later.png")});
        f->click("btnAdd");
        QCOMPARE(f->list()->topLevelItemCount(), 4);
        clickTab("imgTab3", 3);
        link.clear();
        createAndPublish([this](auto& w, auto& l) { publishAgain(w, l); }, link);
        QCOMPARE(completionDialogs, 2);
        QCOMPARE(link, address);
        const auto again = FolderFiles(shows);
        QCOMPARE(again.size(), local.size() + 1);  // the new picture
        QCOMPARE(FolderFiles(ftpRoot() / "web" / "trip"), again);
        QVERIFY(f->services.messages.empty());
    }

    // A wizard that cannot start (its temporary folder's name is taken by a
    // file) is reported, and the completion dialog it was opened from closes
    // instead of waiting hidden; the main window goes on.
    void aWizardThatCannotStartClosesTheDialog() {
        f->addPictures(1);
        clickTab("imgTab3", 3);
        f->w<QLineEdit>("txtOutput")->setText(QString::fromStdString(f->dir / "shows/a.html"));
        const fs::path temp = platform::instanceTempFolder();
        whenModal<ui::TfrmDialog>([&](ui::TfrmDialog& dialog) {
            fs::remove_all(temp);
            f->dir.write(temp, "not a folder");
            control<QCheckBox>(dialog, "chkFTP")->setChecked(true);
            control<QPushButton>(dialog, "cmdOK")->click();
        });
        f->click("btnCreate");
        fs::remove(temp);
        QCOMPARE(completionDialogs, 1);
        QCOMPARE(int(f->services.messages.size()), 1);
        QCOMPARE(f->services.messages[0].flags, mb::kError);
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QVERIFY(f->window->findChildren<ui::TfrmDialog*>().isEmpty());
        clickTab("imgTab1", 1);
    }
};

LUMETRA_QT_TEST(PublishJourneyTest);

}  // namespace lumetra::test

#include "PublishJourneyTest.moc"
