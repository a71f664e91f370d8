// The wizard from the first click to the final page, against pyftpdlib and
// a web server on the same folder.

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <thread>

#include "PublishFixture.h"
#include "app/FileOps.h"
#include "generator/ShowPage.h"

namespace lumetra::test {
namespace {

namespace fs = std::filesystem;
using publish::WizardPage;
using Clock = std::chrono::steady_clock;
namespace msg = lang::messages;

class WizardTest : public PublishTest {
  protected:
    void smallShow() {
        makeShow({{"a.jpg", std::string(5000, 'a')}, {"b.jpg", std::string(7000, 'b')}});
    }
    // How often the server received a command.
    int count(const std::string& command) const {
        const auto lines = servers->commands();
        return static_cast<int>(std::count_if(lines.begin(), lines.end(), [&](const auto& line) {
            return line == command || line.rfind(command + " ", 0) == 0;
        }));
    }
    std::string log() const { return (dir / "commands.log").string(); }
    // Steps 1 and 2 (and 3 when nothing is held).
    void runToEnd(publish::PublishWizard& w) {
        w.cmdNextClick();
        ASSERT_EQ(w.WizardStep(), 2) << ::testing::PrintToString(shown());
        w.cmdNextClick();
        if (w.WizardStep() == 3) w.cmdNextClick();
    }
    std::vector<std::string> texts(std::initializer_list<lang::LangKey> keys) {
        std::vector<std::string> out;
        for (const auto& key : keys) out.push_back(app.GetLangString(key));
        return out;
    }
};

TEST_F(WizardTest, FullPublishPutsTheShowFolderOnTheServer) {
    smallShow();
    startServers({"--log", log()});
    auto& w = startWizard(servers->ftpPort, "web\\shows", homepage());
    w.cmdNextClick();
    ASSERT_EQ(w.WizardStep(), 2) << ::testing::PrintToString(shown());
    EXPECT_EQ(view.targetDir, "/web/shows");
    EXPECT_EQ(w.fields().subDir, "/web/shows");
    ASSERT_TRUE(view.security);
    EXPECT_FALSE(view.security->encrypted);
    EXPECT_NE(std::find(view.statuses.begin(), view.statuses.end(),
                        app.GetLangString(lang::frmFTP::kLblActPlain)),
              view.statuses.end());
    w.cmdNextClick();
    ASSERT_EQ(w.WizardStep(), 4) << ::testing::PrintToString(shown());
    EXPECT_TRUE(shown().empty()) << ::testing::PrintToString(shown());
    // Nothing was held, so the synchronisation page never showed.
    EXPECT_EQ(std::count(view.pages.begin(), view.pages.end(), WizardPage::Sync), 0);
    EXPECT_EQ(view.pages.back(), WizardPage::Result);
    EXPECT_EQ(view.overall, std::make_pair(8, 8));

    const std::string base = "http://" + homepage() + "web/shows/";
    EXPECT_EQ(w.PublicBaseURL(), base);
    EXPECT_EQ(FolderFiles(ftpRoot() / "web/shows"), FolderFiles(showFolder()));
    ASSERT_TRUE(view.result);
    EXPECT_TRUE(view.result->linkMode);
    EXPECT_EQ(view.result->link, base + "Trip.html");
    EXPECT_NE(view.result->code.find(PlayerAddress(app, base)), std::string::npos);
    EXPECT_TRUE(view.buttons.nextShowsLink && view.buttons.nextEnabled);
    EXPECT_TRUE(view.buttons.cancelCloses);
    // The page and the description went with the public address in them.
    EXPECT_NE(ReadWholeFile(showFolder() / "Trip.html").find(base), std::string::npos);
    w.cmdNextClick();
    w.btnCopyLinkClick();
    EXPECT_EQ(services.clipboard, base + "Trip.html");
    w.btnCopyHTMLSrcClick();
    EXPECT_EQ(services.clipboard, view.result->code);
    w.lblHTMLEditorLinkClick();
    EXPECT_EQ(
        services.openedUrls,
        (std::vector<std::string>{base + "Trip.html",
                                  app.GetLangString(lang::internet::kHTMLIntegration) + "&v=1"}));
    for (const auto& [name, bytes] : FolderFiles(ftpRoot()))
        EXPECT_EQ(name.find(".tmp"), std::string::npos) << "probe left: " << name;
    // Pictures, player and music once; page and description twice; the probe.
    EXPECT_EQ(count("STOR"), 4 + 2 * 2 + 1);
    // Each folder is walked once, not once per file (which would take five
    // changes of folder per file): making /web/shows takes six (each refused
    // one is followed by a return to where the session stood), the data
    // folder three more, and the documents switch between the two folders
    // three times. After a SIZE for a missing file libcurl may change into
    // the folder once more.
    EXPECT_EQ(count("SIZE"), 4 + 1);
    EXPECT_EQ(count("MKD"), 3);
    EXPECT_GE(count("CWD"), 6 + 3 + 3);
    EXPECT_LE(count("CWD"), 6 + 3 + 3 + 4);
}

TEST_F(WizardTest, SecondRunSkipsWhatTheServerHoldsWithItsSize) {
    smallShow();
    startServers({"--log", log()});
    runToEnd(startWizard(servers->ftpPort, "/web", homepage()));
    ASSERT_EQ(wizard->WizardStep(), 4) << ::testing::PrintToString(shown());
    const fs::path remote = ftpRoot() / "web" / dataFolderName();
    // Another size is sent again; the same size with other bytes is held.
    std::ofstream(remote / "a.jpg", std::ios::trunc) << "shorter";
    std::ofstream(remote / "b.jpg", std::ios::trunc) << std::string(7000, 'X');
    fs::remove(dir / "commands.log");

    auto& w = startWizard(servers->ftpPort, "/web", homepage());
    w.cmdNextClick();
    w.cmdNextClick();
    ASSERT_EQ(w.WizardStep(), 3);
    EXPECT_EQ(view.pages.back(), WizardPage::Sync);
    std::int64_t total = 0;
    for (const auto& item : app.project.FTPItems) total += GetFileSizeByName(item.FileName);
    const std::int64_t held = 7000 + GetFileSizeByName(remote / "Trip.js") + 3000;
    EXPECT_EQ(view.syncText,
              text(lang::frmFTP::kLblSyncTrue,
                   {publish::MegabytesText(total, '.'), publish::MegabytesText(held, '.'),
                    std::to_string(publish::HeldPercent(total, held))}));
    w.cmdNextClick();
    ASSERT_EQ(w.WizardStep(), 4) << ::testing::PrintToString(shown());
    EXPECT_EQ(ReadWholeFile(remote / "a.jpg"), std::string(5000, 'a'));
    EXPECT_EQ(ReadWholeFile(remote / "b.jpg"), std::string(7000, 'X'));
    // a.jpg, the page and the description (three times each now), the probe.
    EXPECT_EQ(count("STOR"), 1 + 3 * 2 + 1);
    // Held files cost their SIZE (and the REST libcurl adds), nothing more.
    EXPECT_EQ(count("SIZE"), 4 + 1);
}

TEST_F(WizardTest, NotSynchronisingSendsEverything) {
    smallShow();
    startServers({"--log", log()});
    runToEnd(startWizard(servers->ftpPort, "/", homepage()));
    ASSERT_EQ(wizard->WizardStep(), 4);
    fs::remove(dir / "commands.log");
    auto& w = startWizard(servers->ftpPort, "/", "");
    w.cmdNextClick();
    w.cmdNextClick();
    ASSERT_EQ(view.pages.back(), WizardPage::Sync);
    w.optSyncClick(false);
    w.cmdNextClick();
    ASSERT_EQ(w.WizardStep(), 4);
    EXPECT_EQ(count("STOR"), 4 + 3 * 2);  // the documents stand three times in the list now
    // Without a homepage: no probe, relative mode, Next disabled and no longer the default.
    EXPECT_EQ(count("DELE"), 0);
    ASSERT_TRUE(view.result);
    EXPECT_FALSE(view.result->linkMode);
    EXPECT_EQ(view.result->relativeHint, text(lang::frmFTP::kLblRelativeHTML, {"/", "127.0.0.1"}));
    EXPECT_FALSE(view.buttons.nextEnabled || view.buttons.nextDefault);
    EXPECT_NE(view.result->code.find(PlayerAddress(app, "")), std::string::npos);
}

TEST_F(WizardTest, FolderThatCannotBeEnteredEndsTheUpload) {
    smallShow();
    const std::string data = "/web/" + dataFolderName();
    fs::create_directories(ftpRoot() / data.substr(1));
    startServers({"--deny-enter", data});
    auto& w = startWizard(servers->ftpPort, "/web");
    w.cmdNextClick();
    w.cmdNextClick();
    EXPECT_EQ(shown(), (std::vector<std::string>{text(msg::kDirAccDenied, {data}),
                                                 text(msg::kFTPDisconnect)}));
    EXPECT_EQ(w.WizardStep(), 1);
    EXPECT_EQ(view.pages.back(), WizardPage::Connection);
    EXPECT_TRUE(view.buttons.nextEnabled);
    // Remembering is off: the fields come back empty.
    EXPECT_EQ(w.fields().host, "");
}

TEST_F(WizardTest, FoldersThatCannotBeMadeOrEntered) {
    smallShow();
    fs::create_directories(ftpRoot() / "locked");
    struct Case {
        const char* label;
        std::vector<std::string> serverArgs;
        std::string subDir;
        int clicks;
        std::vector<std::string> messages;
    } cases[] = {
        // A folder the server does not let us make: no level failed entirely,
        // so the change into it is what fails.
        {"no rights to make it",
         {"--perm", "elr"},
         "/",
         2,
         {text(msg::kDirAccDenied, {"/" + dataFolderName()}), text(msg::kFTPDisconnect)}},
        // A start folder that no level of can be made: step 1 stops without a word.
        {"start folder", {"--perm", "lr"}, "/new/folder", 1, {}},
        {"start folder locked",
         {"--deny-enter", "/locked"},
         "/locked",
         1,
         {text(msg::kDirAccDenied3)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        services.messages.clear();
        startServers(c.serverArgs);
        auto& w = startWizard(servers->ftpPort, c.subDir);
        for (int i = 0; i < c.clicks; ++i) w.cmdNextClick();
        EXPECT_EQ(shown(), c.messages);
        EXPECT_EQ(w.WizardStep(), 1);
        servers->stop();
    }
}

TEST_F(WizardTest, HomepageAnswers) {
    smallShow();
    struct Case {
        const char* label;
        std::string field;  // "%" stands for the web server's host and port
        std::vector<std::string> serverArgs;
        bool goesOn;
        std::string fieldAfter;
    } cases[] = {
        {"found", "HTTP://%/a\\index.html", {}, true, "%/a/index.html"},
        {"bare host gains a slash", "Http://%", {}, true, "%/"},
        {"403 counts as found", "%/closed/", {"--http-status", "/closed/=403"}, true, "%/closed/"},
        {"404 keeps the field", "%/gone", {}, true, "%/gone"},
        {"500 stops", "%/broken", {"--http-status", "/broken=500"}, false, "%/broken"},
        {"redirect is followed", "%/old", {"--http-redirect", "/old=/new/"}, true, "%/new/"},
    };
    fs::create_directories(ftpRoot() / "a");
    fs::create_directories(ftpRoot() / "new");
    std::ofstream(ftpRoot() / "a/index.html") << "home";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        services.messages.clear();
        startServers(c.serverArgs);
        const auto fill = [&](std::string s) {
            const std::size_t at = s.find('%');
            return s.replace(at, 1, "127.0.0.1:" + std::to_string(servers->httpPort));
        };
        auto& w = startWizard(servers->ftpPort, "/", fill(c.field));
        w.cmdNextClick();
        EXPECT_EQ(w.WizardStep(), c.goesOn ? 2 : 1);
        EXPECT_EQ(shown(), c.goesOn ? std::vector<std::string>{}
                                    : std::vector<std::string>{text(msg::kHomepageInaccessible)});
        EXPECT_EQ(w.fields().homepage, fill(c.fieldAfter));
        servers->stop();
    }
    // Nobody listening: no answer at all.
    auto& w = startWizard(servers->ftpPort, "/", "127.0.0.1:" + std::to_string(FreePort()));
    services.messages.clear();
    w.cmdNextClick();
    EXPECT_EQ(shown(), std::vector<std::string>{text(msg::kHomepageInaccessible)});
}

TEST_F(WizardTest, RelativeModeWhenThePublicAddressCannotBeProven) {
    smallShow();
    struct Case {
        const char* label;
        std::vector<std::string> serverArgs;
        bool probeFound;
    } cases[] = {
        {"error pages with 200", {"--http-always-200"}, false},
        {"probe found, page not served", {"--http-hide", ".html"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        startServers(c.serverArgs);
        auto& w = startWizard(servers->ftpPort, "/site", homepage());
        runToEnd(w);
        ASSERT_EQ(w.WizardStep(), 4) << ::testing::PrintToString(shown());
        EXPECT_EQ(w.PublicBaseURL(), "");
        ASSERT_TRUE(view.result);
        EXPECT_FALSE(view.result->linkMode);
        EXPECT_EQ(view.result->relativeHint,
                  text(lang::frmFTP::kLblRelativeHTML, {"/site", "127.0.0.1"}));
        EXPECT_FALSE(view.buttons.nextEnabled);
        // The documents carry the address the probe found, or none.
        const std::string page = ReadWholeFile(ftpRoot() / "site/Trip.html");
        EXPECT_EQ(page.find("http://" + homepage() + "site/") != std::string::npos, c.probeFound);
        servers->stop();
    }
}

TEST_F(WizardTest, DroppedConnectionDuringAnUpload) {
    makeShow({{"big.jpg", std::string(400000, 'p')}});
    options.random = [](std::int64_t lo, std::int64_t) { return lo; };  // no random filling
    const auto before = FolderFiles(dir / "pictures");
    startServers({"--throttle", "100000"});
    auto& w = startWizard(servers->ftpPort, "/");
    w.cmdNextClick();
    view.onPump = [&] {
        if (!view.fileProgress.empty() && view.fileProgress.back().first > 0 &&
            view.fileProgress.back().second == 400000)
            servers->kill();
    };
    const auto start = Clock::now();
    w.cmdNextClick();
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(shown(), std::vector<std::string>{text(msg::kFTPDisconnect)});
    EXPECT_EQ(w.WizardStep(), 1);
    EXPECT_EQ(FolderFiles(dir / "pictures"), before);
    EXPECT_EQ(ReadWholeFile(showFolder() / dataFolderName() / "big.jpg"), std::string(400000, 'p'));
}

TEST_F(WizardTest, CancelDuringAnUploadTakesEffectAtOnce) {
    makeShow({{"big.jpg", std::string(400000, 'p')}});
    options.random = [](std::int64_t lo, std::int64_t) { return lo; };  // no random filling
    startServers({"--throttle", "100000"});
    auto& w = startWizard(servers->ftpPort, "/");
    w.cmdNextClick();
    Clock::time_point cancelled{};
    view.onPump = [&] {
        if (cancelled == Clock::time_point{} && !view.fileProgress.empty() &&
            view.fileProgress.back().first > 0 && view.fileProgress.back().second == 400000) {
            cancelled = Clock::now();
            w.cmdCancelClick();
        }
    };
    w.cmdNextClick();
    ASSERT_NE(cancelled, Clock::time_point{});
    EXPECT_LT(Clock::now() - cancelled, std::chrono::seconds(1));
    EXPECT_TRUE(view.closed);
    EXPECT_TRUE(w.CancelRequested());
    EXPECT_TRUE(shown().empty()) << ::testing::PrintToString(shown());
    // The interrupted file stays on the server as far as it came.
    const fs::path partial = ftpRoot() / dataFolderName() / "big.jpg";
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    ASSERT_TRUE(fs::exists(partial));
    EXPECT_LT(fs::file_size(partial), 400000u);
}

TEST_F(WizardTest, ConnectionFieldsThatCannotWork) {
    smallShow();
    startServers({});
    struct Case {
        const char* label;
        std::string port;
        std::string password;
        std::vector<std::string> messages;
    } cases[] = {
        {"wrong password", std::to_string(servers->ftpPort), "wrong", {text(msg::kNoConnection)}},
        {"empty port", "", "secret", {text(msg::kInvalidPort, {""})}},
        {"port out of range", "70000", "secret", {text(msg::kInvalidPort, {"70000"})}},
        {"nobody listening", std::to_string(FreePort()), "secret", {text(msg::kNoConnection)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        services.messages.clear();
        auto& w = startWizard(0, "/", "", c.password);
        w.txtFTPPortChange(c.port, 0);
        w.cmdNextClick();
        EXPECT_EQ(shown(), c.messages);
        EXPECT_EQ(w.WizardStep(), 1);
        EXPECT_EQ(view.pages.back(), WizardPage::Connection);
    }
}

TEST_F(WizardTest, ProxyKeysAndEnvironmentProxiesAreIgnoredUnlessSwitchedOn) {
    smallShow();
    startServers({});
    const int dead = FreePort();
    dir.write("config/Settings.ini",
              "[Main]\nLanguage=English\n[Proxy]\nFTPProxy=127.0.0.1\n"
              "FTPPort=" +
                  std::to_string(dead) + "\n");
    for (const char* name : {"ftp_proxy", "all_proxy", "http_proxy", "ALL_PROXY"})
        setenv(name, ("http://127.0.0.1:" + std::to_string(dead)).c_str(), 1);
    auto& w = startWizard(servers->ftpPort, "/");
    w.cmdNextClick();
    EXPECT_EQ(w.WizardStep(), 2) << ::testing::PrintToString(shown());
    // Switched on, the proxy is used: here nobody answers there.
    app.settings.write(settings::kProxyFtp, true);
    auto& again = startWizard(servers->ftpPort, "/");
    again.cmdNextClick();
    EXPECT_EQ(again.WizardStep(), 1);
    EXPECT_EQ(shown().back(), text(msg::kNoConnection));
    for (const char* name : {"ftp_proxy", "all_proxy", "http_proxy", "ALL_PROXY"}) unsetenv(name);
}

TEST_F(WizardTest, FolderPageWalksAndCreatesFolders) {
    smallShow();
    fs::create_directories(ftpRoot() / "web/old");
    fs::create_directories(ftpRoot() / "pics");
    std::ofstream(ftpRoot() / "file.txt") << "x";
    fs::create_directory_symlink(ftpRoot() / "pics", ftpRoot() / "link");
    for (const bool mlsd : {true, false}) {
        SCOPED_TRACE(mlsd ? "MLSD" : "LIST");
        startServers(mlsd ? std::vector<std::string>{} : std::vector<std::string>{"--no-mlst"});
        auto& w = startWizard(servers->ftpPort, "/");
        w.cmdNextClick();
        using Icon = publish::FolderListEntry::Icon;
        const std::string listNew = app.GetLangString(lang::frmFTP::kListNew);
        const std::string listParent = app.GetLangString(lang::frmFTP::kListParent);
        auto names = [&] {
            std::vector<std::string> out;
            for (const auto& e : view.folderList)
                out.push_back(std::to_string(static_cast<int>(e.icon)) + " " + e.text);
            std::sort(out.begin() + (view.targetDir == "/" ? 1 : 2), out.end());
            return out;
        };
        EXPECT_EQ(view.targetDir, "/");
        // pyftpdlib's MLSD calls the link to a folder a folder; its LIST says what it is.
        std::vector<std::string> root{"2 " + listNew, "1 pics", "1 web"};
        if (mlsd) root.insert(root.begin() + 1, "1 link");
        EXPECT_EQ(names(), root);
        const auto web = std::find(view.folderList.begin(), view.folderList.end(),
                                   publish::FolderListEntry{Icon::Folder, "web"});
        w.jvlstFtpDirListingClick(static_cast<int>(web - view.folderList.begin()));
        EXPECT_EQ(view.targetDir, "/web");
        EXPECT_EQ(names(), (std::vector<std::string>{"0 " + listParent, "2 " + listNew, "1 old"}));
        view.newFolders.push_back(publish::NewFolderPath("/web", "new/sub"));
        w.jvlstFtpDirListingClick(1);
        EXPECT_EQ(view.askedFolderBases.back(), "/web");
        EXPECT_EQ(view.targetDir, "/web/new/sub");
        EXPECT_TRUE(fs::is_directory(ftpRoot() / "web/new/sub"));
        w.jvlstFtpDirListingClick(0);
        EXPECT_EQ(view.targetDir, "/web/new");
        fs::remove_all(ftpRoot() / "web/new");
        EXPECT_TRUE(shown().empty()) << ::testing::PrintToString(shown());
        servers->stop();
    }
}

TEST_F(WizardTest, RememberedAccessDataFollowTheFieldsAndTheSteps) {
    smallShow();
    startServers({});
    auto& w = startWizard(servers->ftpPort, "/");
    w.chkSaveFTPClick(true);
    const Settings& s = app.settings;
    EXPECT_TRUE(s.read(settings::kFtpSaveData));
    EXPECT_EQ(s.read(settings::kFtpPort), std::to_string(servers->ftpPort));
    w.txtFTPSubDirChange("shows\\2009\\");
    EXPECT_EQ(s.read(settings::kFtpSubDir), "shows\\2009\\");
    w.txtHTTPChange("HTTP://127.0.0.1:" + std::to_string(servers->httpPort));
    w.cmdNextClick();
    ASSERT_EQ(w.WizardStep(), 2);
    // The rewrites of step 1 are what the file keeps.
    EXPECT_EQ(s.read(settings::kFtpSubDir), "/shows/2009");
    EXPECT_EQ(s.read(settings::kFtpHomepage), homepage());
    // A new wizard shows them; switching remembering off blanks them.
    auto& next = startWizard(servers->ftpPort, "/");
    EXPECT_EQ(view.fields.subDir, "/shows/2009");
    next.chkSaveFTPClick(false);
    EXPECT_EQ(s.read(settings::kFtpHost), "");
    EXPECT_EQ(s.read(settings::kFtpSubDir), "/");
    EXPECT_EQ(s.read(settings::kFtpPort), "21");
    EXPECT_FALSE(s.read(settings::kFtpSaveData));
}

TEST_F(WizardTest, PublishOverTls) {
    smallShow();
    const Certificate cert = MakeCertificate(dir / "cert", "IP:127.0.0.1");
    options.caFile = cert.cert.string();
    startServers({"--tls", cert.pem.string()});
    auto& w = startWizard(servers->ftpPort, "/tls", homepage());
    runToEnd(w);
    ASSERT_EQ(w.WizardStep(), 4) << ::testing::PrintToString(shown());
    ASSERT_TRUE(view.security);
    EXPECT_TRUE(view.security->encrypted && view.security->verified);
    EXPECT_NE(std::find(view.statuses.begin(), view.statuses.end(),
                        app.GetLangString(lang::frmFTP::kLblActTLS)),
              view.statuses.end());
    EXPECT_EQ(FolderFiles(ftpRoot() / "tls"), FolderFiles(showFolder()));
    EXPECT_TRUE(view.result && view.result->linkMode);
}

TEST_F(WizardTest, AHomepageOnHttpsKeepsHttps) {
    smallShow();
    const Certificate cert = MakeCertificate(dir / "cert", "IP:127.0.0.1");
    options.caFile = cert.cert.string();
    startServers({"--https", cert.pem.string(), "--http-to-https"});
    auto& w = startWizard(servers->ftpPort, "/site", "http://" + homepage());
    runToEnd(w);
    ASSERT_EQ(w.WizardStep(), 4) << ::testing::PrintToString(shown());
    const std::string secure = "127.0.0.1:" + std::to_string(servers->httpsPort) + "/";
    EXPECT_EQ(w.homepageScheme(), "https");
    EXPECT_EQ(w.fields().homepage, secure);
    EXPECT_EQ(w.PublicBaseURL(), "https://" + secure + "site/");
    ASSERT_TRUE(view.result);
    EXPECT_TRUE(view.result->linkMode);
    EXPECT_EQ(view.result->link, "https://" + secure + "site/Trip.html");
    EXPECT_NE(view.result->code.find("src=\"https://" + secure + "site/"), std::string::npos)
        << view.result->code;
}

// pure-ftpd serves the folder as "nobody"; the web server is Python's.
class PureFtpdWizardTest : public WizardTest {
  protected:
    void SetUp() override {
        if (!PureFtpd::available()) GTEST_SKIP() << "pure-ftpd needs root and /usr/sbin/pure-ftpd";
        WizardTest::SetUp();
        fs::permissions(dir.path(), fs::perms::others_exec, fs::perm_options::add);
        chown(ftpRoot().c_str(), kNobody, kNobody);
        servers = std::make_unique<PyServers>(
            dir / "web", std::vector<std::string>{"--root", ftpRoot().string(), "--http"});
        pure = std::make_unique<PureFtpd>(ftpRoot(), dir / "pure", "lumetra", "secret");
    }
    std::unique_ptr<PureFtpd> pure;
};

TEST_F(PureFtpdWizardTest, FullPublishAndASynchronisedSecondOne) {
    smallShow();
    runToEnd(startWizard(pure->port, "/web/shows", homepage()));
    ASSERT_EQ(wizard->WizardStep(), 4) << ::testing::PrintToString(shown());
    EXPECT_EQ(FolderFiles(ftpRoot() / "web/shows"), FolderFiles(showFolder()));
    EXPECT_TRUE(view.result && view.result->linkMode);
    auto& again = startWizard(pure->port, "/web/shows", homepage());
    again.cmdNextClick();
    again.cmdNextClick();
    ASSERT_EQ(view.pages.back(), WizardPage::Sync);
    again.cmdNextClick();
    EXPECT_EQ(again.WizardStep(), 4);
    EXPECT_EQ(FolderFiles(ftpRoot() / "web/shows"), FolderFiles(showFolder()));
}

TEST_F(PureFtpdWizardTest, FolderThatCannotBeEntered) {
    smallShow();
    const fs::path locked = ftpRoot() / "web" / dataFolderName();
    fs::create_directories(locked);
    chown((ftpRoot() / "web").c_str(), kNobody, kNobody);
    fs::permissions(locked, fs::perms::none);
    auto& w = startWizard(pure->port, "/web");
    w.cmdNextClick();
    w.cmdNextClick();
    EXPECT_EQ(shown(),
              (std::vector<std::string>{text(msg::kDirAccDenied, {"/web/" + dataFolderName()}),
                                        text(msg::kFTPDisconnect)}));
    EXPECT_EQ(w.WizardStep(), 1);
}

TEST_F(WizardTest, PortFieldKeepsOnlyDigits) {
    smallShow();
    options.tempFolder = dir / "tmp";
    publish::FtpSession session;
    publish::HttpClient client;
    publish::PublishWizard w(app, view, session, client, options);
    w.FormShow();
    w.chkSaveFTPClick(true);
    const publish::PortEdit typed = w.txtFTPPortChange("2a1", 2);
    EXPECT_EQ(typed.text, "21");
    EXPECT_EQ(typed.caret, 1);
    EXPECT_EQ(services.beeps, 1);
    EXPECT_EQ(app.settings.read(settings::kFtpPort), "21");
    EXPECT_EQ(w.txtFTPPortChange("2121", 4).caret, 4);
    EXPECT_EQ(services.beeps, 1);
}

}  // namespace
}  // namespace lumetra::test
