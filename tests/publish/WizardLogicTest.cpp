// The wizard's walk through remote folders and its connection questions,
// on a scripted server: what is sent, in which order, and what is said.

#include <gtest/gtest.h>

#include <set>

#include "PublishFixture.h"
#include "app/Services.h"
#include "publish/RemoteFolders.h"
#include "publish/RemotePath.h"

namespace lumetra::test {
namespace {

using namespace publish;
namespace msg = lang::messages;

// A server of folders: those in enterable can be entered, those in makeable
// made (and then entered). Every command is written down.
class ScriptedFtp : public FtpClient {
  public:
    std::set<std::string> enterable{"/"};
    std::set<std::string> makeable;
    std::vector<std::string> sent;
    std::deque<ConnectResult> connectResults;
    std::vector<FtpLogin> logins;
    bool open = false;
    bool dropOnCommand = false;
    Security secured;

    ConnectResult connect(const FtpLogin& login) override {
        logins.push_back(login);
        ConnectResult result{ConnectOutcome::Connected, {}};
        if (!connectResults.empty()) {
            result = connectResults.front();
            connectResults.pop_front();
        }
        open = result.outcome == ConnectOutcome::Connected;
        current_ = "/";
        return result;
    }
    bool connected() const override { return open; }
    void close() noexcept override { open = false; }
    Security security() const override { return secured; }
    const std::string& currentFolder() const override { return current_; }
    std::string pwd() override {
        command("PWD");
        return current_;
    }
    bool cwd(const std::string& path) override {
        command("CWD " + path);
        const std::string target = ResolveRemotePath(current_, path);
        if (!enterable.count(target)) return false;
        current_ = target;
        return true;
    }
    bool mkd(const std::string& path) override {
        command("MKD " + path);
        const std::string target = ResolveRemotePath(current_, path);
        if (!makeable.count(target)) return false;
        enterable.insert(target);
        return true;
    }
    std::int64_t size(const std::string& name) override {
        command("SIZE " + name);
        return -1;
    }
    std::vector<ListEntry> list() override {
        command("LIST");
        return {};
    }
    void stor(const std::filesystem::path&, const std::string& name,
              const UploadProgress&) override {
        command("STOR " + name);
    }
    bool dele(const std::string& name) override {
        command("DELE " + name);
        return true;
    }

  private:
    void command(const std::string& text) {
        if (!open) throw FtpError(FtpError::Kind::NotConnected, "not connected");
        if (dropOnCommand) {
            open = false;
            throw FtpError(FtpError::Kind::Connection, "gone");
        }
        sent.push_back(text);
    }
    std::string current_ = "/";
};

class WizardLogicTest : public PublishTest {
  protected:
    ScriptedFtp server;
    HttpClient client;
    std::unique_ptr<WizardContext> context;

    void SetUp() override {
        PublishTest::SetUp();
        server.open = true;
        context = std::make_unique<WizardContext>(app, view, server, client, options);
    }
    PublishWizard& scriptedWizard() {
        wizard = std::make_unique<PublishWizard>(app, view, server, client, options);
        wizard->FormShow();
        wizard->txtFTPHostChange("ftp.example.org");
        wizard->txtFTPUserChange("me");
        wizard->txtFTPPassChange("pw");
        wizard->txtFTPSubDirChange("/");
        return *wizard;
    }
};

TEST_F(WizardLogicTest, MakeDeepDirWalksEveryLevelOnce) {
    EXPECT_FALSE(MakeDeepDir(*context, ""));
    EXPECT_TRUE(server.sent.empty());

    server.enterable = {"/", "/a", "/a/b", "/a/b/c"};
    EXPECT_TRUE(MakeDeepDir(*context, "/a/b/c"));
    EXPECT_EQ(server.sent,
              (std::vector<std::string>{"CWD /", "CWD /a/", "CWD /a/b/", "CWD /a/b/c"}));
    // The status line names each level before it is tried.
    EXPECT_EQ(view.statuses.back(), app.GetLangString(lang::frmFTP::kLblAct5) + " \"/a/b/c\" ...");
    // Known levels cost nothing the second time; a deeper one costs its own level.
    server.sent.clear();
    server.makeable = {"/a/b/c/d"};
    EXPECT_TRUE(MakeDeepDir(*context, "/a/b/c/d"));
    EXPECT_EQ(server.sent, (std::vector<std::string>{"CWD /a/b/c/d", "MKD /a/b/c/d"}));
    EXPECT_EQ(view.statuses.back(),
              app.GetLangString(lang::frmFTP::kLblAct6) + " \"/a/b/c/d\" ...");
}

TEST_F(WizardLogicTest, MakeDeepDirFailsOnlyWhenEveryLevelFails) {
    server.enterable.clear();
    EXPECT_FALSE(MakeDeepDir(*context, "/x/y"));
    EXPECT_EQ(server.sent, (std::vector<std::string>{"CWD /", "MKD /", "CWD /x/", "MKD /x/",
                                                     "CWD /x/y", "MKD /x/y"}));
    server.enterable = {"/"};
    EXPECT_TRUE(MakeDeepDir(*context, "/x/y"));  // "/" alone is enough
    // Cancel at a level stops the walk before the next one.
    server.sent.clear();
    context->folders.clear();
    view.onPump = [&] { context->CancelRequested = true; };
    EXPECT_FALSE(MakeDeepDir(*context, "/p/q"));
    EXPECT_EQ(server.sent, std::vector<std::string>{"CWD /"});
}

TEST_F(WizardLogicTest, NoLevelOfTheDataFolderCanBeMade) {
    app.project.Settings.OutputFile = "/local/show/Trip.html";
    app.project.FTPItems = {{"/local/show/Trip_files/a.jpg", true}};
    auto& w = scriptedWizard();
    w.cmdNextClick();
    ASSERT_EQ(w.WizardStep(), 2);
    server.enterable.clear();
    w.cmdNextClick();
    EXPECT_EQ(shown(), (std::vector<std::string>{text(msg::kDirAccDenied2, {"/Trip_files"}),
                                                 text(msg::kFTPDisconnect)}));
    EXPECT_EQ(w.WizardStep(), 1);
}

TEST_F(WizardLogicTest, LostConnectionIsNoQuestionOfRights) {
    app.project.Settings.OutputFile = "/local/show/Trip.html";
    app.project.FTPItems = {{"/local/show/Trip_files/a.jpg", true}};
    auto& w = scriptedWizard();
    w.cmdNextClick();
    server.dropOnCommand = true;
    w.cmdNextClick();
    EXPECT_EQ(shown(), std::vector<std::string>{text(msg::kFTPDisconnect)});
    EXPECT_EQ(w.WizardStep(), 1);
}

TEST_F(WizardLogicTest, CertificateQuestion) {
    struct Case {
        const char* label;
        int answer;
        int stepAfter;
        std::size_t connects;
    } cases[] = {{"declined", mb::IDNO, 1, 1}, {"agreed", mb::IDYES, 2, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        services.messages.clear();
        services.answers = {c.answer};
        server.logins.clear();
        server.connectResults = {{ConnectOutcome::CertificateUnverified, "self-signed"}};
        server.secured = {true, false};
        auto& w = scriptedWizard();
        w.cmdNextClick();
        ASSERT_EQ(shown().size(), 1u);
        EXPECT_EQ(shown()[0], text(msg::kFTPCertUnverified, {"ftp.example.org", "self-signed"}));
        EXPECT_EQ(services.messages[0].flags, mb::kQuestionYesNo);
        EXPECT_EQ(w.WizardStep(), c.stepAfter);
        ASSERT_EQ(server.logins.size(), c.connects);
        EXPECT_FALSE(server.logins[0].skipCertificateCheck);
        if (c.connects == 2) {
            EXPECT_TRUE(server.logins[1].skipCertificateCheck);
            EXPECT_NE(std::find(view.statuses.begin(), view.statuses.end(),
                                app.GetLangString(lang::frmFTP::kLblActTLSUnverified)),
                      view.statuses.end());
        }
    }
    // Once agreed, the same server is not asked about again in this session.
    server.logins.clear();
    services.messages.clear();
    server.connectResults = {{ConnectOutcome::CertificateUnverified, "self-signed"}};
    wizard->FormShow();
    wizard->txtFTPHostChange("ftp.example.org");
    wizard->txtFTPSubDirChange("/");
    wizard->cmdNextClick();
    ASSERT_EQ(server.logins.size(), 1u);
    EXPECT_TRUE(server.logins[0].skipCertificateCheck);
}

TEST_F(WizardLogicTest, EncryptionSettingReachesTheConnection) {
    struct Case {
        const char* setting;
        EncryptionMode mode;
    } cases[] = {{"", EncryptionMode::Auto},
                 {"Required", EncryptionMode::Required},
                 {"off", EncryptionMode::Off}};
    for (const Case& c : cases) {
        app.settings.write(settings::kFtpEncryption, c.setting);
        server.logins.clear();
        scriptedWizard().cmdNextClick();
        ASSERT_EQ(server.logins.size(), 1u);
        EXPECT_EQ(server.logins[0].encryption, c.mode) << c.setting;
    }
    services.messages.clear();
    server.connectResults = {{ConnectOutcome::EncryptionUnavailable, ""}};
    auto& w = scriptedWizard();
    w.cmdNextClick();
    EXPECT_EQ(shown(), std::vector<std::string>{text(msg::kFTPNoEncryption, {"ftp.example.org"})});
    EXPECT_EQ(w.WizardStep(), 1);
}

TEST_F(WizardLogicTest, FormShowFillsFromTheRememberedData) {
    auto& w = scriptedWizard();
    EXPECT_EQ(view.fields.subDir, app.GetLangString(lang::frmFTP::kDefaultDirName));
    EXPECT_EQ(view.fields.port, "21");
    EXPECT_EQ(view.pages.back(), WizardPage::Connection);
    w.chkSaveFTPClick(true);
    w.txtFTPHostChange("h");  // written at once
    EXPECT_EQ(app.settings.read(settings::kFtpHost), "h");
    w.FormShow();
    EXPECT_EQ(view.fields.host, "h");
    EXPECT_EQ(view.fields.user, "me");
    EXPECT_TRUE(view.fields.saveData);
    // While the program fills the fields, nothing is written.
    ConnectionFields filled = view.fields;
    filled.host = "other";
    w.fillFields(filled);
    w.txtFTPHostChange("other");
    EXPECT_EQ(app.settings.read(settings::kFtpHost), "other");  // a keystroke is written
}

}  // namespace
}  // namespace lumetra::test
