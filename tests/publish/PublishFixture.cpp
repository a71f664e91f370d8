#include "PublishFixture.h"

#include <fstream>
#include <sstream>

#include "SmallShow.h"
#include "app/FileOps.h"
#include "generator/CreateFlow.h"
#include "generator/ShowNames.h"
#include "lang/Messages.h"

namespace lumetra::test {

namespace fs = std::filesystem;

void PublishTest::SetUp() {
    const fs::path source = LUMETRA_SOURCE_DIR;
    fs::create_directories(dir / "program/lng");
    fs::copy_file(source / "lng/English.lng", dir / "program/lng/English.lng");
    for (const char* name : {"template.html", "swfembed.html", "slideshow.js"}) {
        fs::create_directories(dir / "program/data");
        fs::copy_file(source / "data" / name, dir / "program/data" / name);
    }
    dir.write("config/Settings.ini", "[Main]\nLanguage=English\n");
    app.settings.setSettingsFile(dir / "config" / "Settings.ini");
    NewProject(app);
    fs::create_directories(ftpRoot());
    options.tempFolder = dir / "tmp";
    options.decimalPoint = '.';
    options.addressOrder = std::less<std::string>();
}

std::string PublishTest::dataFolderName() {
    return DataFolderName(app);
}

void PublishTest::makeShow(const std::map<std::string, std::string>& pictures) {
    ASSERT_TRUE(MakeSmallShow(app, dir, showFolder(), pictures));
}

PyServers& PublishTest::startServers(std::vector<std::string> args) {
    args.insert(args.begin(), {"--root", ftpRoot().string(), "--ftp", "--http"});
    servers = std::make_unique<PyServers>(dir / "servers", args);
    return *servers;
}

std::string PublishTest::homepage() const {
    return "127.0.0.1:" + std::to_string(servers->httpPort) + "/";
}

publish::PublishWizard& PublishTest::startWizard(int port, const std::string& subDir,
                                                 const std::string& homepageField,
                                                 const std::string& password) {
    ftp = std::make_unique<publish::FtpSession>();
    http = std::make_unique<publish::HttpClient>();
    wizard = std::make_unique<publish::PublishWizard>(app, view, *ftp, *http, options);
    wizard->FormShow();
    wizard->txtFTPHostChange("127.0.0.1");
    wizard->txtFTPPortChange(std::to_string(port), 0);
    wizard->txtFTPUserChange("lumetra");
    wizard->txtFTPPassChange(password);
    wizard->txtFTPSubDirChange(subDir);
    wizard->txtHTTPChange(homepageField);
    return *wizard;
}

std::string PublishTest::text(const lang::LangKey& key,
                              std::initializer_list<std::string_view> values) {
    return MessageText(app.language, key, values);
}

}  // namespace lumetra::test
