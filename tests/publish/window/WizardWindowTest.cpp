// The wizard's window without a server: its frame and pages, the connection
// fields and what they remember, the encryption choice, the new-folder
// dialog, the translation and closing.

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "WizardWindowFixture.h"
#include "app/IniFile.h"
#include "app/Platform.h"
#include "lang/LangKeys.h"
#include "publish/window/ShowPublishWizard.h"
#include "publish/window/TfrmFTPNewDir.h"

namespace lumetra::test {

using publish::WizardPage;

class WizardWindowTest : public QObject {
    Q_OBJECT
    std::unique_ptr<WizardWindowFixture> f;

    QLineEdit* port() const { return f->w<QLineEdit>("txtFTPPort"); }

  private slots:
    void init() { f = std::make_unique<WizardWindowFixture>(); }
    void cleanup() { f.reset(); }

    void fixedDialogCentredOnTheMainWindow() {
        auto& window = f->open();
        QCOMPARE(window.size(), QSize(485, 439));
        QCOMPARE(window.minimumSize(), window.maximumSize());
        QCOMPARE(window.geometry().center(), f->mainWindow->geometry().center());
        QCOMPARE(window.windowTitle(), QString("FTP Wizard"));
        QCOMPARE(f->w("panHeader")->palette().color(QPalette::Window), QColor(Qt::white));
        QVERIFY(f->w("panHeader")->autoFillBackground());
        QCOMPARE(f->w("panLeft")->palette().color(QPalette::Window), QColor(0x1F, 0x3A, 0x68));
        auto* next = f->w<QPushButton>("cmdNext");
        QVERIFY(next->isDefault());
        QVERIFY(next->font().bold());
        QVERIFY(!f->w<QPushButton>("cmdCancel")->isDefault());
        QVERIFY(!f->w<QPushButton>("cmdCancel")->autoDefault());
    }

    // Each page as the wizard names it: exactly one panel, its step label bold.
    void onePageAndItsStepLabel() {
        auto& window = f->open();
        const char* panels[] = {"panStep1", "panStep2", "panStepSync", "panStep3", "panStepHTML"};
        const std::pair<WizardPage, int> pages[] = {
            {WizardPage::Connection, 0}, {WizardPage::Folder, 1}, {WizardPage::Sync, 2},
            {WizardPage::Transfer, 3},   {WizardPage::Result, 4},
        };
        for (const auto& [page, index] : pages) {
            window.pageShown(page);
            for (int i = 0; i < 5; ++i) {
                QCOMPARE(f->shows(panels[i]), i == index);
                QCOMPARE(f->w(panels[i])->geometry(), QRect(142, 70, 333, 315));
            }
            const int bold = std::min(index, 2);
            for (int i = 0; i < 3; ++i) {
                const std::string label = "lblLeft" + std::to_string(i + 1);
                QCOMPARE(f->w(label.c_str())->font().bold(), i == bold);
            }
        }
    }

    void connectionFieldsAsShown() {
        f->open();
        QCOMPARE(port()->maxLength(), 5);
        QCOMPARE(f->w<QLineEdit>("txtFTPPass")->echoMode(), QLineEdit::Password);
        QCOMPARE(f->field("txtFTPPort"), std::string("21"));
        QCOMPARE(f->field("txtFTPSubDir"), std::string("/slideshow"));
        QVERIFY(!f->w<QCheckBox>("chkSaveFTP")->isChecked());
        QCOMPARE(f->window->focusWidget(), f->w("txtFTPHost"));
        QVERIFY(f->w<QLabel>("lblHTTP")->text().contains("\n"));
        QCOMPARE(f->w<QLabel>("lblFTPHost")->text(), QString("FTP server:"));
    }

    // Typed or pasted, only digits stay; the caret goes back to where the
    // letter was, and the program beeps.
    void portFieldKeepsDigits_data() {
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("caretAfter");
        QTest::addColumn<int>("beeps");
        QTest::newRow("letter typed inside") << "21" << 1 << "a"
                                             << "21" << 1 << 1;
        QTest::newRow("2a1 pasted") << "" << 0 << "paste:2a1"
                                    << "21" << 2 << 1;
        QTest::newRow("digits typed") << "" << 0 << "2121"
                                      << "2121" << 4 << 0;
        QTest::newRow("sixth digit") << "12345" << 5 << "6"
                                     << "12345" << 5 << 0;
        QTest::newRow("blank at the end") << "21" << 2 << " "
                                          << "21" << 2 << 1;
    }
    void portFieldKeepsDigits() {
        QFETCH(QString, start);
        QFETCH(int, caret);
        QFETCH(QString, typed);
        QFETCH(QString, result);
        QFETCH(int, caretAfter);
        QFETCH(int, beeps);
        f->open();
        port()->setText(start);
        port()->setCursorPosition(caret);
        f->services.beeps = 0;
        if (typed.startsWith("paste:"))
            port()->insert(typed.mid(6));
        else
            QTest::keyClicks(port(), typed);
        QCOMPARE(port()->text(), result);
        QCOMPARE(port()->cursorPosition(), caretAfter);
        QCOMPARE(f->services.beeps, beeps);
        QCOMPARE(f->wizard().fields().port, result.toStdString());
    }

    // Remembering on: every keystroke is in the settings file at once, and
    // the file keeps everything else; off: the stored values are blanked.
    void rememberingFollowsEachKeystroke() {
        f->open();
        QTest::mouseClick(f->w("chkSaveFTP"), Qt::LeftButton);
        QCOMPARE(f->setting("FTP", "SaveData"), std::string("1"));
        QCOMPARE(f->setting("FTP", "SubDir"), std::string("/slideshow"));
        QCOMPARE(f->setting("FTP", "Port"), std::string("21"));
        const std::pair<const char*, const char*> fields[] = {
            {"txtFTPHost", "Host"},  {"txtFTPUser", "User"},     {"txtFTPPass", "Pass"},
            {"txtHTTP", "Homepage"}, {"txtFTPSubDir", "SubDir"}, {"txtFTPPort", "Port"},
        };
        for (const auto& [name, key] : fields) {
            auto* edit = f->w<QLineEdit>(name);
            edit->clear();
            const QString typed = QString(name) == "txtFTPPort" ? "2121" : "ab/c";
            for (int i = 0; i < typed.size(); ++i) {
                QTest::keyClick(edit, typed[i].toLatin1());
                QCOMPARE(f->setting("FTP", key), typed.left(i + 1).toStdString());
                QCOMPARE(f->setting("Main", "Language"), std::string("English"));
            }
        }
        QTest::mouseClick(f->w("chkSaveFTP"), Qt::LeftButton);
        const std::pair<const char*, const char*> blanked[] = {
            {"SaveData", "0"}, {"User", ""},   {"Pass", ""},     {"Host", ""},
            {"SubDir", "/"},   {"Port", "21"}, {"Passive", "0"}, {"Homepage", ""},
        };
        for (const auto& [key, value] : blanked)
            QCOMPARE(f->setting("FTP", key), std::string(value));
        // The fields keep what was typed; only the file forgets it.
        QCOMPARE(f->field("txtFTPHost"), std::string("ab/c"));
    }

    void rememberedDataFillTheFields() {
        f->dir.write("config/Settings.ini",
                     "[Main]\nLanguage=English\n[FTP]\nSaveData=1\nHost=ftp.example.org\n"
                     "User=me\nPass=pw\nSubDir=/web\nPort=2121\nHomepage=www.example.org\n");
        f->open();
        QCOMPARE(f->field("txtFTPHost"), std::string("ftp.example.org"));
        QCOMPARE(f->field("txtFTPUser"), std::string("me"));
        QCOMPARE(f->field("txtFTPPass"), std::string("pw"));
        QCOMPARE(f->field("txtFTPSubDir"), std::string("/web"));
        QCOMPARE(f->field("txtFTPPort"), std::string("2121"));
        QCOMPARE(f->field("txtHTTP"), std::string("www.example.org"));
        QVERIFY(f->w<QCheckBox>("chkSaveFTP")->isChecked());
        QCOMPARE(f->window->focusWidget(), f->w("cmdNext"));
        // Filling is no edit: nothing was written back.
        QCOMPARE(f->setting("FTP", "Passive"), std::string("<absent>"));
    }

    void encryptionChoiceIsASetting() {
        f->open();
        auto* choice = f->w<QComboBox>("cboEncryption");
        QCOMPARE(choice->count(), 3);
        QCOMPARE(choice->currentIndex(), 0);
        QCOMPARE(f->w<QLabel>("lblEncryption")->text(), QString("Encryption:"));
        const char* words[] = {"Auto", "Required", "Off"};
        for (int i : {1, 2, 0}) {
            choice->setCurrentIndex(i);
            emit choice->activated(i);
            QCOMPARE(f->setting("FTP", "Encryption"), std::string(words[i]));
        }
        f->dir.write("config/Settings.ini", "[Main]\nLanguage=English\n[FTP]\nEncryption=off\n");
        f->open();
        QCOMPARE(f->w<QComboBox>("cboEncryption")->currentIndex(), 2);
    }

    // The preview: the base alone without a name, "/" + name in "/", else
    // base + "/" + name; Create only with a name.
    void newFolderDialogPreview_data() {
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("path");
        QTest::newRow("root") << "/"
                              << "photos"
                              << "/photos";
        QTest::newRow("below") << "/web"
                               << "photos"
                               << "/web/photos";
        QTest::newRow("nested") << "/web"
                                << "new/sub"
                                << "/web/new/sub";
        QTest::newRow("empty") << "/web"
                               << ""
                               << "/web";
    }
    void newFolderDialogPreview() {
        QFETCH(QString, base);
        QFETCH(QString, name);
        QFETCH(QString, path);
        auto& window = f->open();
        auto& dialog = ui::NewFolderDialog(*f->app, &window);
        dialog.BasePath = base.toStdString();
        auto* nameField = dialog.findChild<QLineEdit*>("txtDirName");
        auto* pathField = dialog.findChild<QLineEdit*>("txtDirPath");
        auto* create = dialog.findChild<QPushButton*>("btnCreate");
        nameField->setText("x");
        nameField->setText(name);
        QCOMPARE(pathField->text(), path);
        QCOMPARE(create->isEnabled(), !name.isEmpty());
        QVERIFY(pathField->isReadOnly());
        QVERIFY(create->isDefault());
    }

    // One dialog for the run, asked afresh each time, centred on the wizard.
    void newFolderDialogLivesForTheRun() {
        auto& window = f->open();
        f->answerNewFolder("a/b");
        QCOMPARE(window.askNewFolder("/web"), std::optional<std::string>("/web/a/b"));
        QCOMPARE(f->newFolderPreview, QString("/web/a/b"));
        auto& dialog = ui::NewFolderDialog(*f->app, &window);
        QCOMPARE(dialog.parentWidget(), f->mainWindow.get());
        QCOMPARE(dialog.geometry().center(), window.geometry().center());
        QCOMPARE(dialog.windowTitle(), QString("Create a new folder"));
        f->answerNewFolder("c", false);
        QCOMPARE(window.askNewFolder("/"), std::nullopt);
        QCOMPARE(f->newFolderPreview, QString("/c"));
        QCOMPARE(&ui::NewFolderDialog(*f->app, &window), &dialog);
        QCOMPARE(f->mainWindow->findChildren<ui::TfrmFTPNewDir*>().size(), qsizetype(1));
        // The name typed last time was gone.
        QVERIFY(f->newFolderNameAtStart.isEmpty());
    }

    // The help link is German only; its hint is set in both languages.
    void editorLinkOnlyInGerman_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("caption");
        QTest::newRow("German") << "Deutsch" << true;
        QTest::newRow("English") << "English" << false;
    }
    void editorLinkOnlyInGerman() {
        QFETCH(QString, language);
        QFETCH(bool, caption);
        f = std::make_unique<WizardWindowFixture>(language.toStdString());
        f->open();
        auto* link = f->w<QLabel>("lblHTMLEditorLink");
        QCOMPARE(!link->text().isEmpty(), caption);
        QCOMPARE(link->isVisibleTo(f->w("panStepHTML")), caption);
        QVERIFY(link->toolTip().contains("http"));
        QCOMPARE(f->w<QPushButton>("cmdNext")->text().isEmpty(), false);
    }

    // Every caption of both languages fits its control, the final page's
    // button captions included.
    void textsFit_data() {
        QTest::addColumn<QString>("language");
        QTest::newRow("German") << "Deutsch";
        QTest::newRow("English") << "English";
    }
    void textsFit() {
        QFETCH(QString, language);
        f = std::make_unique<WizardWindowFixture>(language.toStdString());
        auto& window = f->open();
        window.syncTextChanged(f->app->GetLangString(lang::frmFTP::kLblSyncTrue));
        for (auto page : {WizardPage::Connection, WizardPage::Folder, WizardPage::Result}) {
            window.pageShown(page);
            publish::WizardButtons buttons;
            buttons.nextShowsLink = buttons.cancelCloses = page == WizardPage::Result;
            window.buttonsChanged(buttons);
            for (auto* button : window.findChildren<QAbstractButton*>()) {
                const int needed = button->fontMetrics().horizontalAdvance(button->text()) +
                                   (qobject_cast<QPushButton*>(button) ? 10 : 22);
                QVERIFY2(needed <= button->width(), qPrintable(button->objectName()));
            }
            for (auto* label : window.findChildren<QLabel*>()) {
                const bool fits =
                    label->wordWrap()
                        ? label->heightForWidth(label->width()) <= label->height()
                        : label->fontMetrics().horizontalAdvance(label->text()) <= label->width();
                QVERIFY2(fits, qPrintable(label->objectName() + ": " + label->text()));
            }
        }
    }

    // The completion dialog's entry: a modal wizard centred on the main
    // window above the (hidden) dialog, released once it closes.
    void showPublishWizardRunsModally() {
        f->mainWindow = std::make_unique<QWidget>();
        f->mainWindow->setGeometry(100, 100, 780, 550);
        auto* completion = new QDialog(f->mainWindow.get());
        bool seen = false, modal = false;
        QPoint centre;
        QElapsedTimer clock;
        clock.start();
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&] {
            QWidget* top = QApplication::activeModalWidget();
            if (auto* wizard = qobject_cast<ui::TfrmFTP*>(top)) {
                seen = true;
                modal = wizard->isModal() && wizard->isVisible();
                centre = wizard->geometry().center();
                wizard->findChild<QPushButton*>("cmdCancel")->click();
            } else if (top && clock.elapsed() > 10000) {
                top->close();
            }
        });
        poll.start(20);
        ui::ShowPublishWizard(*f->app, completion);
        QVERIFY(seen);
        QVERIFY(modal);
        QVERIFY((centre - f->mainWindow->geometry().center()).manhattanLength() <= 2);
        QVERIFY(f->mainWindow->findChildren<ui::TfrmFTP*>().isEmpty());
        platform::removeInstanceTempFolder();
    }

    // Closing while nothing runs is Cancel: the wizard ends at once.
    void closingByTheTitleBarWhenIdle() {
        auto& window = f->open();
        QVERIFY(window.close());
        QVERIFY(!window.isVisible());
        QVERIFY(f->wizard().CancelRequested());
        QCOMPARE(window.result(), int(QDialog::Rejected));
    }

    void escapeIsCancel() {
        auto& window = f->open();
        QTest::keyClick(&window, Qt::Key_Escape);
        QVERIFY(!window.isVisible());
        QVERIFY(f->wizard().CancelRequested());
    }

    void progressBarsNeverBusy() {
        auto& window = f->open();
        auto* bar = f->w<QProgressBar>("prgActFile");
        window.fileProgressChanged(0, 0);
        QVERIFY(bar->maximum() > bar->minimum());
        window.fileProgressChanged(3'000'000'000LL, 6'000'000'000LL);
        QCOMPARE(bar->value() * 2, bar->maximum());
    }
};

LUMETRA_QT_TEST(WizardWindowTest);

}  // namespace lumetra::test

#include "WizardWindowTest.moc"
