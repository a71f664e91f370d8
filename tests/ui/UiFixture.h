#pragma once
// A main window of its own for one test function: a test folder with the
// settings file (choosing the language), the documents and the temporary
// folders, the program's real data and language files, and strict scripted
// services, so an unexpected question fails the test instead of hanging it.

#include <sys/stat.h>

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QTest>
#include <QTreeWidget>
#include <cstdlib>
#include <memory>

#include "app/Application.h"
#include "app/MusicList.h"
#include "support/QtTestMain.h"
#include "support/ScriptedServices.h"
#include "support/TestFolder.h"
#include "ui/Artwork.h"
#include "ui/TfrmMain.h"
#include "ui/TfrmMiscProgress.h"
#include "ui/TranslateForm.h"
#include "ui/UiFont.h"

namespace lumetra::test {

struct UiFixture {
    TestFolder dir;
    ScriptedServices services;
    std::unique_ptr<Application> app;
    std::unique_ptr<ui::TfrmMain> window;
    bool terminated = false;

    explicit UiFixture(const std::string& language = "English", bool webViews = false) {
        QApplication::setFont(ui::UiFont());
        const std::filesystem::path run = dir / "run";
        std::filesystem::create_directories(run);
        chmod(run.c_str(), 0700);
        setenv("XDG_RUNTIME_DIR", run.c_str(), 1);
        dir.write("config/Settings.ini", "[Main]\nLanguage=" + language + "\nFlashWarning=1\n");
        services.strict = true;
        services.report = FailQtTest;
        app = std::make_unique<Application>(services, LUMETRA_BINARY_DIR "/bin", dir / "docs");
        app->settings.setSettingsFile(dir / "config" / "Settings.ini");
        app->musicTitles = FillMusicList(app->dataFolder() / "audio");
        ui::SetArtworkFolder(app->dataFolder() / "gui");
        window = std::make_unique<ui::TfrmMain>(
            *app, ui::TfrmMain::Options{webViews, [this] { terminated = true; }});
        NewProject(*app);
        ui::TranslateForm(*app, window.get(), "frmMain");
    }

    template <typename T = QWidget>
    T* w(const char* name) const {
        T* widget = window->findChild<T*>(name);
        if (!widget) FailQtTest(std::string("no control ") + name);
        return widget;
    }
    QTreeWidget* list() const { return w<QTreeWidget>("lsvGFX"); }
    void click(const char* name) const { w<QAbstractButton>(name)->click(); }

    // A real picture of w x h pixels in the test folder.
    std::string picture(const std::string& name, int width = 64, int height = 48) const {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(QColor(200, 40, 40));
        const std::string path = (dir / name).string();
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        image.save(QString::fromStdString(path));
        return path;
    }
    // Adds n pictures through the add command.
    void addPictures(int n) {
        std::vector<std::string> paths;
        for (int i = 0; i < n; ++i) paths.push_back(picture("p" + std::to_string(i) + ".png"));
        services.fileAnswers.push_back(paths);
        click("btnAdd");
    }
    void select(std::initializer_list<int> rows) const {
        list()->clearSelection();
        for (int r : rows) list()->topLevelItem(r)->setSelected(true);
    }
    std::string lastMessage() const {
        return services.messages.empty() ? std::string() : services.messages.back().text;
    }
    std::string text(const lang::LangKey& key) { return app->GetLangString(key); }
};

}  // namespace lumetra::test
