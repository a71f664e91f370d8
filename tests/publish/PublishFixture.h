#pragma once
// A program with the delivered English texts and templates, a small created
// show, a recording view and the wizard on real clients, for the tests that
// publish to the servers of TestServers.h.

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "TestServers.h"
#include "publish/FtpSession.h"
#include "publish/HttpClient.h"
#include "publish/PublishWizard.h"
#include "publish/SyncText.h"
#include "support/AppFixture.h"

namespace lumetra::test {

// Everything the wizard told its window, and the window's part in pumping.
struct RecordingView : publish::PublishView {
    std::vector<std::string> statuses;
    std::vector<publish::WizardPage> pages;
    publish::WizardButtons buttons;
    publish::ConnectionFields fields;
    std::vector<publish::FolderListEntry> folderList;
    std::string targetDir;
    std::string syncText;
    std::optional<publish::ResultPage> result;
    std::optional<publish::Security> security;
    std::vector<std::pair<std::int64_t, std::int64_t>> fileProgress;
    std::pair<int, int> overall{0, 0};
    bool closed = false;
    bool transferOk = false;
    std::deque<std::optional<std::string>> newFolders;
    std::vector<std::string> askedFolderBases;
    // Runs at each pump (a click on Cancel, a server killed meanwhile).
    std::function<void()> onPump;
    int pumps = 0;

    void pageShown(publish::WizardPage page) override { pages.push_back(page); }
    void statusChanged(const std::string& text) override { statuses.push_back(text); }
    void fileProgressChanged(std::int64_t position, std::int64_t maximum) override {
        fileProgress.emplace_back(position, maximum);
    }
    void overallProgressChanged(int position, int maximum) override {
        overall = {position, maximum};
    }
    void buttonsChanged(const publish::WizardButtons& b) override { buttons = b; }
    void fieldsChanged(const publish::ConnectionFields& f) override { fields = f; }
    void folderListChanged(const std::vector<publish::FolderListEntry>& entries,
                           const std::string& target) override {
        folderList = entries;
        targetDir = target;
    }
    void syncTextChanged(const std::string& text) override { syncText = text; }
    void transferOkShown(bool visible) override { transferOk = visible; }
    void resultShown(const publish::ResultPage& page) override { result = page; }
    void securityChanged(const publish::Security& s) override { security = s; }
    void closeRequested() override { closed = true; }
    std::optional<std::string> askNewFolder(const std::string& base) override {
        askedFolderBases.push_back(base);
        if (newFolders.empty()) return std::nullopt;
        auto answer = newFolders.front();
        newFolders.pop_front();
        return answer;
    }
    void pump() override {
        ++pumps;
        if (onPump) onPump();
    }
};

class PublishTest : public AppFixture {
  protected:
    void SetUp() override;

    // Builds the show "Trip" into dir/show: the pictures (name → bytes), the
    // player and a music file of its own.
    void makeShow(const std::map<std::string, std::string>& pictures);
    std::filesystem::path showFolder() const { return dir / "show"; }
    std::string dataFolderName();

    // The wizard on fresh clients, with the connection fields filled in.
    publish::PublishWizard& startWizard(int port, const std::string& subDir,
                                        const std::string& homepage = "",
                                        const std::string& password = "secret");
    publish::WizardOptions options;

    // Servers on dir/ftp (the FTP root, served on the web too).
    PyServers& startServers(std::vector<std::string> args);
    std::filesystem::path ftpRoot() const { return dir / "ftp"; }
    std::string homepage() const;

    // The messages shown, by their language text.
    std::vector<std::string> shown() const { return services.texts(); }
    std::string text(const lang::LangKey& key, std::initializer_list<std::string_view> values = {});

    RecordingView view;
    std::unique_ptr<PyServers> servers;
    std::unique_ptr<publish::FtpSession> ftp;
    std::unique_ptr<publish::HttpClient> http;
    std::unique_ptr<publish::PublishWizard> wizard;
};

}  // namespace lumetra::test
