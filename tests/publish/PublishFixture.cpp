#include "PublishFixture.h"

#include <fstream>
#include <sstream>

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
    for (const auto& [name, bytes] : pictures) {
        recImgItems slide;
        slide.FileName = (dir / "pictures" / name).string();
        slide.EffectIn = 2;
        slide.ImgWidth = 320;
        slide.ImgHeight = 240;
        app.project.ImgItems.push_back(slide);
    }
    ShowSettings& settings = app.project.Settings;
    settings.OutputFile = (showFolder() / "Trip.html").string();
    settings.audioMode = AudioMode::OwnFile;
    settings.AudioFile = dir.write("music/song.mp3", std::string(3000, 'm')).string();
    ComputeImageExtents(app.project);
    BuildHooks hooks;
    hooks.convert = [&](Application&, const fs::path& folder, const std::vector<std::string>& names,
                        const std::function<void(std::size_t)>&) {
        std::vector<fs::path> written;
        auto source = pictures.begin();
        for (const auto& name : names)
            written.push_back(dir.write(folder / name, (source++)->second));
        return written;
    };
    ASSERT_TRUE(BuildPreview(app, dir / "preview", hooks));
    ASSERT_TRUE(CreateShow(app));
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
