#include "WizardWindowFixture.h"

#include <QElapsedTimer>
#include <QTimer>
#include <fstream>
#include <sstream>

#include "../SmallShow.h"
#include "app/FileOps.h"
#include "app/IniFile.h"
#include "generator/CreateFlow.h"
#include "generator/ShowNames.h"
#include "lang/Messages.h"
#include "publish/window/TfrmFTPNewDir.h"
#include "ui/Artwork.h"
#include "ui/UiFont.h"

namespace lumetra::test {

namespace fs = std::filesystem;

void WaitFor(int ms, const std::function<bool()>& done) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms && !(done && done()))
        QApplication::processEvents(QEventLoop::AllEvents, 10);
}

WizardWindowFixture::WizardWindowFixture(const std::string& language) {
    QApplication::setFont(ui::UiFont());
    dir.write("config/Settings.ini", "[Main]\nLanguage=" + language + "\n");
    services.strict = true;
    services.report = FailQtTest;
    app = std::make_unique<Application>(services, LUMETRA_BINARY_DIR "/bin", dir / "docs");
    app->settings.setSettingsFile(dir / "config" / "Settings.ini");
    ui::SetArtworkFolder(app->dataFolder() / "gui");
    NewProject(*app);
    fs::create_directories(ftpRoot());
    options.tempFolder = dir / "tmp";
    options.decimalPoint = '.';
    options.addressOrder = std::less<std::string>();
}

WizardWindowFixture::~WizardWindowFixture() {
    window.reset();
    mainWindow.reset();
}

std::string WizardWindowFixture::dataFolderName() const {
    return DataFolderName(*app);
}

void WizardWindowFixture::makeShow(const std::map<std::string, std::string>& pictures) {
    if (!MakeSmallShow(*app, dir, showFolder(), pictures))
        FailQtTest("the show could not be created");
}

PyServers& WizardWindowFixture::startServers(std::vector<std::string> args) {
    args.insert(args.begin(), {"--root", ftpRoot().string(), "--ftp", "--http"});
    servers = std::make_unique<PyServers>(dir / "servers", args);
    return *servers;
}

std::string WizardWindowFixture::homepage() const {
    return "127.0.0.1:" + std::to_string(servers->httpPort) + "/";
}

ui::TfrmFTP& WizardWindowFixture::open() {
    if (!mainWindow) {
        mainWindow = std::make_unique<QWidget>();
        mainWindow->setGeometry(100, 100, 780, 550);
    }
    window = std::make_unique<ui::TfrmFTP>(*app, mainWindow.get(), options);
    // Shown without a modal loop of its own; the test is the loop.
    window->setModal(false);
    window->show();
    return *window;
}

void WizardWindowFixture::fill(const std::string& subDir, const std::string& homepageField,
                               const std::string& password) {
    w<QLineEdit>("txtFTPHost")->setText("127.0.0.1");
    w<QLineEdit>("txtFTPPort")->setText(QString::number(servers ? servers->ftpPort : 21));
    w<QLineEdit>("txtFTPUser")->setText("lumetra");
    w<QLineEdit>("txtFTPPass")->setText(QString::fromStdString(password));
    w<QLineEdit>("txtFTPSubDir")->setText(QString::fromStdString(subDir));
    w<QLineEdit>("txtHTTP")->setText(QString::fromStdString(homepageField));
}

std::string WizardWindowFixture::setting(const std::string& section, const std::string& key) const {
    return ini::readString(dir / "config" / "Settings.ini", section, key, "<absent>");
}

std::string WizardWindowFixture::text(const lang::LangKey& key,
                                      std::initializer_list<std::string_view> values) {
    return MessageText(app->language, key, values);
}

void WizardWindowFixture::answerNewFolder(const QString& name, bool create) {
    newFolderAnswered = false;
    newFolderPreview.clear();
    auto* poll = new QTimer(window.get());
    auto* clock = new QElapsedTimer;
    clock->start();
    QObject::connect(poll, &QTimer::timeout, poll, [=, this] {
        auto* dialog = qobject_cast<ui::TfrmFTPNewDir*>(QApplication::activeModalWidget());
        if (!dialog) {
            if (clock->elapsed() < 10000) return;
            FailQtTest("the new-folder dialog did not appear");
        } else {
            auto* nameField = dialog->findChild<QLineEdit*>("txtDirName");
            newFolderNameAtStart = nameField->text();
            QTest::keyClicks(nameField, name);
            newFolderPreview = dialog->findChild<QLineEdit*>("txtDirPath")->text();
            dialog->findChild<QPushButton*>(create ? "btnCreate" : "btnCancel")->click();
            newFolderAnswered = true;
        }
        poll->stop();
        poll->deleteLater();
        delete clock;
    });
    poll->start(20);
}

}  // namespace lumetra::test
