// The wizard's window against the local servers: whole publications in link
// and relative mode, the synchronisation page, the folder page, failures
// that return to the connection page, and the encryption shown by its lock.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>

#include "WizardWindowFixture.h"
#include "lang/LangKeys.h"
#include "ui/PictureWidgets.h"

namespace lumetra::test {

namespace fs = std::filesystem;
using publish::WizardPage;

class WizardPublishTest : public QObject {
    Q_OBJECT
    std::unique_ptr<WizardWindowFixture> f;

    QListWidget* list() const { return f->w<QListWidget>("jvlstFtpDirListing"); }
    QStringList entries() const {
        QStringList texts;
        for (int i = 0; i < list()->count(); ++i) texts << list()->item(i)->text();
        return texts;
    }
    QString lang(const lang::LangKey& key) const {
        return QString::fromStdString(f->app->GetLangString(key));
    }
    void clickEntry(const QString& text) {
        const auto found = list()->findItems(text, Qt::MatchExactly);
        QVERIFY2(found.size() == 1, qPrintable(text));
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                          list()->visualItemRect(found.front()).center());
    }
    void toFolderPage(const std::string& subDir, const std::string& homepage = "") {
        f->fill(subDir, homepage);
        f->next();
        QVERIFY(f->shows("panStep2"));
        QCOMPARE(f->wizard().WizardStep(), 2);
    }

  private slots:
    void init() { f = std::make_unique<WizardWindowFixture>(); }
    void cleanup() { f.reset(); }

    void wholePublicationInLinkMode() {
        f->makeShow();
        f->startServers();
        auto& window = f->open();
        toFolderPage("/web/trip", f->homepage());
        QCOMPARE(f->field("txtTargetDir"), std::string("/web/trip"));
        QCOMPARE(entries(),
                 QStringList({lang(lang::frmFTP::kListParent), lang(lang::frmFTP::kListNew)}));
        QVERIFY(f->w("lblLeft2")->font().bold());
        QVERIFY(f->shows("imgSecurity"));
        QCOMPARE(f->w<ui::PictureWidget>("imgSecurity")->art(), QString("imgLockPlain"));
        QCOMPARE(f->w("imgSecurity")->toolTip(), lang(lang::frmFTP::kLblActPlain));

        // Nothing on the server yet: no synchronisation page, straight to the end.
        f->next();
        QVERIFY(f->shows("panStepHTML"));
        QCOMPARE(f->wizard().WizardStep(), 4);
        const std::string link =
            "http://127.0.0.1:" + std::to_string(f->servers->httpPort) + "/web/trip/Trip.html";
        QCOMPARE(f->field("txtLinkShow"), link);
        QCOMPARE(f->w("txtLinkShow")->toolTip().toStdString(), link);
        for (const char* name : {"lblTransferOK", "imgShowLink", "txtLinkShow", "btnCopyLink"})
            QVERIFY2(f->shows(name), name);
        QVERIFY(!f->shows("lblRelativeHTML"));
        QCOMPARE(f->w("txtHTMLSrc")->height(), 189);
        QCOMPARE(f->w("btnCopyHTMLSrc")->y(), 291);
        auto* next = f->w<QPushButton>("cmdNext");
        QCOMPARE(next->text(), lang(lang::frmFTP::kCmdShowLink));
        QVERIFY(next->isEnabled() && next->isDefault());
        QCOMPARE(f->w<QPushButton>("cmdCancel")->text(), lang(lang::frmFTP::kCmdCancel2));
        auto* fileBar = f->w<QProgressBar>("prgActFile");
        auto* allBar = f->w<QProgressBar>("prgAllFiles");
        QCOMPARE(fileBar->value(), fileBar->maximum());
        QCOMPARE(allBar->value(), allBar->maximum());
        QCOMPARE(f->w<QLabel>("lblAct")->text(), lang(lang::frmFTP::kLblAct2));

        const auto files = FolderFiles(f->ftpRoot() / "web/trip");
        QVERIFY(files.count("Trip.html"));
        QCOMPARE(files.at(f->dataFolderName() + "/a.jpg"), std::string("AAAA"));
        const std::string code = f->w<QPlainTextEdit>("txtHTMLSrc")->toPlainText().toStdString();
        QVERIFY(code.rfind("<!--", 0) == 0);
        QVERIFY(code.find(link.substr(0, link.size() - 9)) != std::string::npos);

        // The final page's handlers: Next and a click on the link open the page.
        f->next();
        f->next();
        QTest::mouseClick(f->w("txtLinkShow"), Qt::LeftButton);
        WaitFor(200, [&] { return f->services.openedUrls.size() == 3; });
        QCOMPARE(f->services.openedUrls, std::vector<std::string>({link, link, link}));
        QCOMPARE(f->w<QLineEdit>("txtLinkShow")->selectedText().toStdString(), link);
        f->w<QAbstractButton>("btnCopyLink")->click();
        QCOMPARE(f->services.clipboard, link);
        f->w<QAbstractButton>("btnCopyHTMLSrc")->click();
        QCOMPARE(f->services.clipboard, f->wizard().result().code);
        QTest::mouseClick(f->w("lblHTMLEditorLink"), Qt::LeftButton);
        QVERIFY(QString::fromStdString(f->services.openedUrls.back()).endsWith("&v=1"));
        auto* box = f->w<QPlainTextEdit>("txtHTMLSrc");
        QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
        WaitFor(200, [&] { return box->textCursor().hasSelection(); });
        QCOMPARE(box->textCursor().selectedText().size(), box->toPlainText().size());
        QVERIFY(f->shown().empty());
        f->w<QPushButton>("cmdCancel")->click();
        QVERIFY(!window.isVisible());
    }

    // Without a public address: the relative hint, a shorter code box, and
    // Next neither enabled nor default, so Enter does nothing. "/" and an
    // empty start folder both publish into "/" without a change of folder.
    void wholePublicationInRelativeMode_data() {
        QTest::addColumn<QString>("startFolder");
        QTest::newRow("slash") << "/";
        QTest::newRow("empty") << "";
    }
    void wholePublicationInRelativeMode() {
        QFETCH(QString, startFolder);
        f->makeShow();
        f->startServers();
        auto& window = f->open();
        toFolderPage(startFolder.toStdString());
        QCOMPARE(f->field("txtFTPSubDir"), std::string("/"));
        QCOMPARE(f->field("txtTargetDir"), std::string("/"));
        QCOMPARE(list()->item(0)->text(), lang(lang::frmFTP::kListNew));
        QVERIFY(!entries().contains(lang(lang::frmFTP::kListParent)));
        f->next();
        QVERIFY(f->shows("panStepHTML"));
        QVERIFY(f->shows("lblRelativeHTML"));
        for (const char* name : {"imgShowLink", "txtLinkShow", "btnCopyLink"})
            QVERIFY2(!f->shows(name), name);
        const QString hint = f->w<QLabel>("lblRelativeHTML")->text();
        QVERIFY(hint.contains("\"/\"") && hint.contains("127.0.0.1"));
        QCOMPARE(f->w("txtHTMLSrc")->height(), 119);
        QCOMPARE(f->w("btnCopyHTMLSrc")->y(), 221);
        auto* next = f->w<QPushButton>("cmdNext");
        QVERIFY(!next->isEnabled());
        QVERIFY(!next->isDefault());
        QCOMPARE(window.focusWidget(), f->w("txtHTMLSrc"));
        QVERIFY(FolderFiles(f->ftpRoot()).count("Trip.html"));

        for (QWidget* target : {f->w("txtHTMLSrc"), static_cast<QWidget*>(&window)})
            QTest::keyClick(target, Qt::Key_Return);
        QVERIFY(window.isVisible());
        QVERIFY(f->services.openedUrls.empty());
        QCOMPARE(f->wizard().WizardStep(), 4);
        QVERIFY(!f->shows("lblHTMLEditorLink"));  // no caption in English: nothing to click
        window.lblHTMLEditorLinkClick();
        QVERIFY(QString::fromStdString(f->services.openedUrls.back()).endsWith("&v=0"));
    }

    // A second publication finds the pictures: the synchronisation page with
    // its three values. The choice survives a failed transfer, which with
    // remembering off brings back empty fields.
    void synchronisationPageAndAFailedTransfer() {
        f->makeShow();
        f->startServers();
        f->open();
        toFolderPage("/trip");
        f->next();
        QVERIFY(f->shows("panStepHTML"));

        f->open();
        toFolderPage("/trip");
        f->next();
        QVERIFY(f->shows("panStepSync"));
        QCOMPARE(f->wizard().WizardStep(), 3);
        QVERIFY(f->w("lblLeft3")->font().bold());
        QVERIFY(f->w<QPushButton>("cmdNext")->isEnabled());
        QVERIFY(f->w<QRadioButton>("optSyncTrue")->isChecked());
        QVERIFY(f->w("optSyncTrue")->font().bold() && f->w("optSyncFalse")->font().bold());
        const QString sync = f->w<QLabel>("lblSyncTrue")->text();
        const QRegularExpression figures("\n.* [0-9.]+ MB .* [0-9.]+ MB \\([0-9]+ percent\\)");
        QVERIFY2(figures.match(sync).hasMatch(), qPrintable(sync));

        QTest::mouseClick(f->w("optSyncFalse"), Qt::LeftButton, {}, QPoint(5, 9));
        QVERIFY(!f->wizard().synchronise());
        const fs::path picture = f->showFolder() / f->dataFolderName() / "b.jpg";
        fs::rename(picture, f->dir / "b.jpg");
        f->next();
        QVERIFY(f->shows("panStep1"));
        QCOMPARE(f->wizard().WizardStep(), 1);
        QCOMPARE(f->shown().back(), f->text(lang::messages::kFTPDisconnect));
        for (const char* name : {"txtFTPHost", "txtFTPUser", "txtFTPPass", "txtHTTP"})
            QVERIFY2(f->field(name).empty(), name);
        QCOMPARE(f->field("txtFTPSubDir"), std::string("/slideshow"));
        QCOMPARE(f->field("txtFTPPort"), std::string("21"));
        QVERIFY(f->w<QPushButton>("cmdNext")->isEnabled());

        fs::rename(f->dir / "b.jpg", picture);
        toFolderPage("/trip");
        f->next();
        QVERIFY(f->shows("panStepSync"));
        QVERIFY(f->w<QRadioButton>("optSyncFalse")->isChecked());
        f->next();
        QVERIFY(f->shows("panStepHTML"));
    }

    // Walking: a click enters a folder or goes up; a folder the server will
    // not open is named and the list stays; the new-folder entry makes
    // nested folders and enters the last.
    void folderPageWalksAndMakesFolders() {
        for (const char* folder : {"web/a", "web/b", "web/denied"})
            fs::create_directories(f->ftpRoot() / folder);
        f->dir.write(f->ftpRoot() / "web/file.txt", "x");
        f->makeShow();
        f->startServers({"--deny-enter", "/web/denied"});
        f->open();
        toFolderPage("/web");
        QStringList expected{lang(lang::frmFTP::kListParent), lang(lang::frmFTP::kListNew)};
        QCOMPARE(entries().mid(0, 2), expected);
        QStringList folders = entries().mid(2);
        folders.sort();
        QCOMPARE(folders, QStringList({"a", "b", "denied"}));

        clickEntry("a");
        QCOMPARE(f->field("txtTargetDir"), std::string("/web/a"));
        QCOMPARE(entries(), expected);
        clickEntry(lang(lang::frmFTP::kListParent));
        QCOMPARE(f->field("txtTargetDir"), std::string("/web"));
        const QStringList before = entries();
        clickEntry("denied");
        QCOMPARE(f->shown().back(), f->text(lang::messages::kDirAccDenied, {"/web/denied"}));
        QCOMPARE(entries(), before);
        QCOMPARE(f->field("txtTargetDir"), std::string("/web"));

        f->answerNewFolder("new/sub");
        clickEntry(lang(lang::frmFTP::kListNew));
        QVERIFY(f->newFolderAnswered);
        QCOMPARE(f->newFolderPreview, QString("/web/new/sub"));
        QCOMPARE(f->field("txtTargetDir"), std::string("/web/new/sub"));
        QVERIFY(fs::is_directory(f->ftpRoot() / "web/new/sub"));

        // Enter on an entry is its click, not the Next button's.
        clickEntry(lang(lang::frmFTP::kListParent));
        list()->setCurrentRow(entries().indexOf("sub"));
        QTest::keyClick(list(), Qt::Key_Return);
        QCOMPARE(f->field("txtTargetDir"), std::string("/web/new/sub"));
        QCOMPARE(f->wizard().WizardStep(), 2);
        QCOMPARE(f->shown().size(), std::size_t(1));
    }

    // The folder list cannot be read: back on the connection page with the
    // message, never a folder page left standing at step 1.
    void unreadableFolderListEndsTheConnection() {
        f->makeShow();
        f->startServers({"--perm", "eradfmwMT"});
        f->open();
        f->fill("/");
        f->next();
        QVERIFY(f->shows("panStep1"));
        QCOMPARE(f->wizard().WizardStep(), 1);
        QCOMPARE(f->shown(), std::vector<std::string>({f->text(lang::messages::kFTPDisconnect)}));
        QVERIFY(!f->shows("imgSecurity"));
    }

    // The lock beside the buttons after connecting, and the certificate
    // question; Required refuses a server without TLS.
    void encryptionShownByTheLock_data() {
        QTest::addColumn<bool>("tls");
        QTest::addColumn<bool>("trusted");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("encryption");
        QTest::addColumn<QString>("lock");
        QTest::newRow("verified") << true << true << 0 << 0 << "imgLockTLS";
        QTest::newRow("accepted unverified")
            << true << false << mb::IDYES << 0 << "imgLockUnverified";
        QTest::newRow("refused unverified") << true << false << mb::IDNO << 0 << "";
        QTest::newRow("plain") << false << false << 0 << 0 << "imgLockPlain";
        QTest::newRow("plain refused") << false << false << 0 << 1 << "";
        QTest::newRow("encryption off") << true << true << 0 << 2 << "imgLockPlain";
    }
    void encryptionShownByTheLock() {
        QFETCH(bool, tls);
        QFETCH(bool, trusted);
        QFETCH(int, answer);
        QFETCH(int, encryption);
        QFETCH(QString, lock);
        f->makeShow();
        const Certificate certificate = MakeCertificate(f->dir / "tls", "IP:127.0.0.1");
        if (trusted) f->options.caFile = certificate.cert.string();
        f->startServers(tls ? std::vector<std::string>{"--tls", certificate.pem.string()}
                            : std::vector<std::string>{});
        if (answer) f->services.answers.push_back(answer);
        f->open();
        auto* choice = f->w<QComboBox>("cboEncryption");
        choice->setCurrentIndex(encryption);
        emit choice->activated(encryption);
        f->fill("/");
        f->next();
        QCOMPARE(f->shows("panStep2"), !lock.isEmpty());
        QCOMPARE(f->shows("imgSecurity"), !lock.isEmpty());
        if (!lock.isEmpty()) QCOMPARE(f->w<ui::PictureWidget>("imgSecurity")->art(), lock);
        if (answer) QCOMPARE(f->services.messages.front().flags & 0x0F, int(mb::kYesNo));
        if (encryption == 1)
            QCOMPARE(f->shown(), std::vector<std::string>(
                                     {f->text(lang::messages::kFTPNoEncryption, {"127.0.0.1"})}));
    }
};

LUMETRA_QT_TEST(WizardPublishTest);

}  // namespace lumetra::test

#include "WizardPublishTest.moc"
