#pragma once
// The wizard's window for one test function: a program with the delivered
// texts and data, a small created show, strict scripted services (a question
// nobody expected fails the test instead of waiting), the test servers on
// 127.0.0.1 and helpers that type, click and answer the new-folder dialog.

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "../TestServers.h"
#include "app/Application.h"
#include "publish/PublishWizard.h"
#include "publish/WizardContext.h"
#include "publish/window/TfrmFTP.h"
#include "support/QtTestMain.h"
#include "support/ScriptedServices.h"
#include "support/TestFolder.h"

namespace lumetra::test {

struct WizardWindowFixture {
    TestFolder dir;
    ScriptedServices services;
    std::unique_ptr<Application> app;
    std::unique_ptr<QWidget> mainWindow;
    std::unique_ptr<PyServers> servers;
    std::unique_ptr<ui::TfrmFTP> window;
    publish::WizardOptions options;

    explicit WizardWindowFixture(const std::string& language = "English");
    ~WizardWindowFixture();

    // The show "Trip" in dir/show: the pictures (name → bytes), the player
    // and a music file of its own.
    void makeShow(const std::map<std::string, std::string>& pictures = {{"a.jpg", "AAAA"},
                                                                        {"b.jpg", "BBBBBB"}});
    std::filesystem::path showFolder() const { return dir / "show"; }
    std::string dataFolderName() const;

    // pyftpdlib and the web server on dir/ftp.
    PyServers& startServers(std::vector<std::string> args = {});
    std::filesystem::path ftpRoot() const { return dir / "ftp"; }
    std::string homepage() const;

    // The wizard above a main window of its own, shown (not modal).
    ui::TfrmFTP& open();
    // The connection fields as a person fills them (each a change).
    void fill(const std::string& subDir, const std::string& homepageField = "",
              const std::string& password = "secret");
    void next() { w<QPushButton>("cmdNext")->click(); }
    publish::PublishWizard& wizard() const { return window->wizard(); }

    template <typename T = QWidget>
    T* w(const char* name) const {
        T* widget = window->findChild<T*>(name);
        if (!widget) FailQtTest(std::string("no control ") + name);
        return widget;
    }
    bool shows(const char* name) const { return w(name)->isVisibleTo(window.get()); }
    std::string field(const char* name) const { return w<QLineEdit>(name)->text().toStdString(); }
    std::string setting(const std::string& section, const std::string& key) const;
    std::string text(const lang::LangKey& key, std::initializer_list<std::string_view> values = {});
    std::vector<std::string> shown() const { return services.texts(); }

    // Answers the next new-folder dialog: types name, notes the path preview
    // and clicks Create (or Cancel). A dialog still open after 10 s is
    // closed and fails the test.
    void answerNewFolder(const QString& name, bool create = true);
    QString newFolderPreview;
    QString newFolderNameAtStart;
    bool newFolderAnswered = false;
};

// Lets events run for ms milliseconds or until done.
void WaitFor(int ms, const std::function<bool()>& done = {});

}  // namespace lumetra::test
