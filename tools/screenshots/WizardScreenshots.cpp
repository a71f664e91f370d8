// lumetra-wizard-screenshots: pictures of the publishing wizard for the
// README, taken from the real window while it publishes a show built from a
// picture folder to the local test servers (tools/screenshots/take-wizard.sh
// starts them): the connection, folder, transfer and synchronisation pages,
// the new-folder dialog, and the final page with a link and without one.
//
//   lumetra-wizard-screenshots PICTURE_FOLDER OUTPUT_FOLDER LANGUAGE FTP_PORT HTTP_PORT

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "ShotSupport.h"
#include "app/Application.h"
#include "app/ConsoleServices.h"
#include "app/Platform.h"
#include "app/SlideList.h"
#include "app/Startup.h"
#include "generator/CreateFlow.h"
#include "generator/PictureBridge.h"
#include "lang/LangKeys.h"
#include "publish/PublishWizard.h"
#include "publish/window/TfrmFTP.h"
#include "publish/window/TfrmFTPNewDir.h"
#include "ui/Artwork.h"
#include "ui/UiFont.h"

namespace fs = std::filesystem;
using lumetra::ui::TfrmFTP;

namespace {

QString outputFolder;
bool transferShot = false;

void shoot(TfrmFTP& window, const char* name) {
    lumetra::shots::waitFor(150);
    const QString file = outputFolder + "/" + name + ".png";
    if (!window.grab().save(file)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        std::exit(1);
    }
    std::printf("%s\n", qPrintable(file));
}

template <typename T = QWidget>
T* control(TfrmFTP& window, const char* name) {
    T* widget = window.findChild<T*>(name);
    if (!widget) {
        std::fprintf(stderr, "no control %s\n", name);
        std::exit(1);
    }
    return widget;
}

void fill(TfrmFTP& window, int ftpPort, const QString& folder, const QString& homepage) {
    control<QLineEdit>(window, "txtFTPHost")->setText("127.0.0.1");
    control<QLineEdit>(window, "txtFTPPort")->setText(QString::number(ftpPort));
    control<QLineEdit>(window, "txtFTPUser")->setText("lumetra");
    control<QLineEdit>(window, "txtFTPPass")->setText("secret");
    control<QLineEdit>(window, "txtFTPSubDir")->setText(folder);
    control<QLineEdit>(window, "txtHTTP")->setText(homepage);
}

void clickEntry(TfrmFTP& window, const QString& text) {
    auto* list = control<QListWidget>(window, "jvlstFtpDirListing");
    const auto found = list->findItems(text, Qt::MatchExactly);
    if (found.isEmpty()) {
        std::fprintf(stderr, "no folder %s on the server\n", qPrintable(text));
        std::exit(1);
    }
    window.jvlstFtpDirListingClick(list->row(found.front()));
}

// The transfer page, caught while a picture after the first is on its way.
void shootDuringTransfer(TfrmFTP& window, const char* name) {
    auto* poll = new QTimer(&window);
    QObject::connect(poll, &QTimer::timeout, poll, [&window, poll, name] {
        auto* all = control<QProgressBar>(window, "prgAllFiles");
        const bool picture = control<QLabel>(window, "lblAct")->text().contains(".jpg");
        const bool moving = control<QProgressBar>(window, "prgActFile")->value() > 0;
        if (!control(window, "panStep3")->isVisible() || all->value() < 2 || !picture || !moving)
            return;
        poll->stop();
        poll->deleteLater();
        shoot(window, name);
        transferShot = true;
    });
    // At every turn of the event loop: the moment is short.
    poll->start(0);
}

// The new-folder dialog with a name typed, opened from the folder list's
// entry and cancelled, so the folder page stays as it was.
void shootNewFolderDialog(TfrmFTP& window, const QString& newEntry, const char* name) {
    bool shot = false;
    QTimer poll;
    QElapsedTimer clock;
    clock.start();
    QObject::connect(&poll, &QTimer::timeout, &poll, [&] {
        auto* dialog = qobject_cast<lumetra::ui::TfrmFTPNewDir*>(QApplication::activeModalWidget());
        if (!dialog && clock.elapsed() < 10000) return;
        poll.stop();
        if (!dialog) return;
        dialog->findChild<QLineEdit*>("txtDirName")->setText("autumn");
        lumetra::shots::waitFor(150);
        const QString file = outputFolder + "/" + name + ".png";
        shot = dialog->grab().save(file);
        std::printf("%s\n", qPrintable(file));
        dialog->reject();
    });
    poll.start(20);
    clickEntry(window, newEntry);
    if (!shot) {
        std::fprintf(stderr, "no new-folder dialog to take\n");
        std::exit(1);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr,
                     "usage: lumetra-wizard-screenshots PICTURE_FOLDER OUTPUT_FOLDER LANGUAGE "
                     "FTP_PORT HTTP_PORT\n");
        return 1;
    }
    const fs::path pictures = fs::absolute(argv[1]);
    outputFolder = QString::fromLocal8Bit(argv[2]);
    const std::string language = argv[3];
    const int ftpPort = std::atoi(argv[4]);
    const QString homepage = QString("127.0.0.1:%1/").arg(std::atoi(argv[5]));
    const fs::path config = lumetra::shots::UseOwnSettings("lumetra-wizard-shots", language);

    QApplication qt(argc, argv);
    QApplication::setFont(lumetra::ui::UiFont());
    lumetra::ConsoleServices services;
    lumetra::Application app(services);
    lumetra::ui::SetArtworkFolder(app.dataFolder() / "gui");
    lumetra::RunStartup(app, {}, [] {});
    lumetra::NewProjectFromFolder(app, pictures, lumetra::PictureSizeReader());
    app.project.Settings.OutputFile = (config / "show" / "Holiday.html").string();
    lumetra::ComputeImageExtents(app.project);
    if (!lumetra::BuildPreview(app, lumetra::platform::instanceTempFolder()) ||
        !lumetra::CreateShow(app)) {
        std::fprintf(stderr, "the show could not be built\n");
        return 1;
    }
    lumetra::publish::WizardOptions options;
    options.tempFolder = lumetra::platform::instanceTempFolder();

    {
        // With a homepage: the folder page, the transfer and the link.
        TfrmFTP window(app, nullptr, options);
        window.setModal(false);
        window.show();
        fill(window, ftpPort, "/photos", homepage);
        shoot(window, "wizard-connection");
        window.cmdNextClick();
        shoot(window, "wizard-folder");
        shootNewFolderDialog(
            window, QString::fromStdString(app.GetLangString(lumetra::lang::frmFTP::kListNew)),
            "wizard-new-folder");
        clickEntry(window, "summer");
        shootDuringTransfer(window, "wizard-transfer");
        window.cmdNextClick();
        if (!transferShot) {
            std::fprintf(stderr, "the transfer went by unseen\n");
            return 1;
        }
        shoot(window, "wizard-result-link");
    }
    {
        // Once more into the same folder: the synchronisation page.
        TfrmFTP window(app, nullptr, options);
        window.setModal(false);
        window.show();
        fill(window, ftpPort, "/photos/summer", homepage);
        window.cmdNextClick();
        window.cmdNextClick();
        shoot(window, "wizard-sync");
    }
    {
        // Without a homepage: the code with relative addresses.
        TfrmFTP window(app, nullptr, options);
        window.setModal(false);
        window.show();
        fill(window, ftpPort, "/photos/2024", "");
        window.cmdNextClick();
        window.cmdNextClick();
        shoot(window, "wizard-result-relative");
    }
    lumetra::platform::removeInstanceTempFolder();
    return 0;
}
