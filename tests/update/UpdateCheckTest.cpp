// The update check against a web server and a proxy on 127.0.0.1: the
// outcome for each version file, Update/LastCheck written only after a
// fetch, failures that write nothing, the request itself, the proxy switch
// and the stop hook.

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <fstream>
#include <memory>

#include "TestServers.h"
#include "app/IniFile.h"
#include "app/Settings.h"
#include "support/TestFolder.h"
#include "update/UpdateCheck.h"

namespace lumetra::test {
namespace {

namespace fs = std::filesystem;
using namespace update;
using namespace std::chrono_literals;
using namespace std::string_literals;

class UpdateCheckTest : public ::testing::Test {
  protected:
    TestFolder dir;
    std::unique_ptr<PyServers> servers;
    Settings settings{dir / "config" / "Settings.ini"};
    publish::HttpClient client;

    void SetUp() override {
        fs::create_directories(dir / "web");
        fs::create_directories(dir / "config");
        servers = std::make_unique<PyServers>(
            dir / "servers", std::vector<std::string>{"--root", (dir / "web").string()},
            "version_server.py");
    }
    std::string at(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(servers->httpPort) + path;
    }
    UpdateCheckResult check(const std::string& url, const std::string& own = "2.1") {
        UpdateCheckOptions options;
        options.ownVersion = own;
        options.address = url;
        return CheckForUpdate(settings, options, client);
    }
    void writeSettings(const std::string& text) const { dir.write("config/Settings.ini", text); }
    std::string settingsText() const {
        return fs::exists(settings.SettingsFile()) ? dir.read("config/Settings.ini") : "<none>";
    }
    // LastCheck holds the local time of a moment between the two.
    void expectLastCheck(std::time_t before, std::time_t after) const {
        const std::string written = settings.read(settings::kUpdateLastCheck);
        bool matches = false;
        for (std::time_t t = before; t <= after; ++t) matches |= written == FormatLocalDateTime(t);
        EXPECT_TRUE(matches) << "LastCheck=" << written;
    }
};

TEST_F(UpdateCheckTest, EachVersionFileAgainstOurVersion) {
    struct Case {
        const char* own;
        std::string body;
        UpdateOutcome outcome;
        std::string newest;
        std::size_t lines;
    } cases[] = {
        {"2.1", "2.1\r\n", UpdateOutcome::NoNewVersion, "2.1", 1},
        {"2.1", "2.1.1\n", UpdateOutcome::NewVersion, "2.1.1", 1},
        {"2.1", "2.0.9", UpdateOutcome::NoNewVersion, "2.0.9", 1},
        {"9.5", "10.0\r\n", UpdateOutcome::NoNewVersion, "10.0", 1},
        {"3.0", "3.0.1\r\n", UpdateOutcome::NewVersion, "3.0.1", 1},
        {"2.1", "2.0\r\n9.9\r\nNew: faster\r\n", UpdateOutcome::NoNewVersion, "2.0", 3},
        {"2.1", "\r\n3.0\r\n", UpdateOutcome::NoNewVersion, "", 2},
        {"2.1", "\xff\0junk\rmore\n\x01\x02\x03\n\n"s, UpdateOutcome::NewVersion,
         "\xff\0junk\rmore"s, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.own) + " / " + c.body);
        fs::remove(settings.SettingsFile());
        dir.write("web/version.dat", c.body);
        const std::time_t before = std::time(nullptr);
        const UpdateCheckResult r = check(at("/version.dat"), c.own);
        EXPECT_EQ(r.outcome, c.outcome) << r.error;
        EXPECT_EQ(r.newestVersion, c.newest);
        EXPECT_EQ(r.lines.size(), c.lines);
        EXPECT_TRUE(r.error.empty());
        expectLastCheck(before, std::time(nullptr));
    }
}

TEST_F(UpdateCheckTest, AnEmptyFileThrowsAfterLastCheckIsWritten) {
    dir.write("web/version.dat", "");
    const std::time_t before = std::time(nullptr);
    EXPECT_THROW(check(at("/version.dat")), EmptyVersionFile);
    expectLastCheck(before, std::time(nullptr));
}

TEST_F(UpdateCheckTest, AnUnwritableSettingsFileStopsTheCheck) {
    dir.write("web/version.dat", "2.2\n");
    settings.setSettingsFile(dir / "missing folder" / "Settings.ini");
    EXPECT_THROW(check(at("/version.dat")), ini::WriteError);
}

TEST_F(UpdateCheckTest, FailuresWriteNothing) {
    const std::string kept = "[Update]\nLastCheck=earlier\n";
    const std::string refused = "http://127.0.0.1:" + std::to_string(FreePort()) + "/version.dat";
    struct Case {
        std::string url;
        std::string inError;
    } cases[] = {
        {at("/version.dat"), "404"},  // no such file
        {at("/status/404"), "404"},
        {at("/status/500"), "500"},
        {at("/status/302"), "302"},  // a redirect that leads nowhere
        {at("/loop"), ""},
        {at("/huge"), "65536"},  // 100 MB offered, the cap ends it
        {refused, ""},
        {"not an address", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        writeSettings(kept);
        const auto start = std::chrono::steady_clock::now();
        const UpdateCheckResult r = check(c.url);
        EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
        EXPECT_EQ(r.outcome, UpdateOutcome::Failed);
        EXPECT_FALSE(r.error.empty());
        EXPECT_NE(r.error.find(c.inError), std::string::npos) << r.error;
        EXPECT_TRUE(r.lines.empty());
        EXPECT_EQ(settingsText(), kept);
    }
}

TEST_F(UpdateCheckTest, TheRequestNamesUsAndKeepsCookiesOverRedirects) {
    const UpdateCheckResult r = check(at("/headers"));
    ASSERT_EQ(r.lines.size(), 3u) << r.error;
    EXPECT_EQ(r.lines[1], "User-Agent: Lumetra/" + ProgramVersion(true));
    EXPECT_EQ(r.lines[2], "Accept: text/html, */*");
    // The cookie set with the redirect goes to its target.
    const UpdateCheckResult cookie = check(at("/set-cookie"));
    EXPECT_EQ(cookie.outcome, UpdateOutcome::NewVersion) << cookie.error;
    EXPECT_EQ(cookie.newestVersion, "2.2");
}

TEST_F(UpdateCheckTest, TheProxyKeysCountOnlyWhileProxyHttpIsOn) {
    dir.write("web/version.dat", "2.1\n");
    const std::string proxy = "http://127.0.0.1:" + std::to_string(servers->proxyPort);
    // The environment's proxy settings are never used, neither the proxy
    // nor the hosts it should not be used for.
    setenv("http_proxy", proxy.c_str(), 1);
    setenv("HTTP_PROXY", proxy.c_str(), 1);
    setenv("ALL_PROXY", proxy.c_str(), 1);
    setenv("no_proxy", "127.0.0.1,localhost", 1);
    setenv("NO_PROXY", "127.0.0.1,localhost", 1);
    const std::string keys = "HTTPProxy=127.0.0.1\nHTTPPort=" + std::to_string(servers->proxyPort) +
                             "\nHTTPUser=user\nHTTPPW=pass word\n";
    struct Case {
        std::string section;
        bool proxied;
    } cases[] = {
        {"[Proxy]\n" + keys, false},
        {"[Proxy]\nHTTP=0\n" + keys, false},
        {"[Proxy]\nFTP=1\nFTPProxy=127.0.0.1\nFTPPort=" + std::to_string(servers->proxyPort) + "\n",
         false},
        {"[Proxy]\nHTTP=1\n" + keys, true},
        {"[Proxy]\nHTTP=2\n" + keys, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.section);
        writeSettings(c.section);
        const UpdateCheckResult r = check(at("/version.dat"));
        ASSERT_NE(r.outcome, UpdateOutcome::Failed) << r.error;
        if (c.proxied) {
            // Basic user:pass word
            EXPECT_EQ(r.lines, (std::vector<std::string>{"7.7", at("/version.dat"),
                                                         "Basic dXNlcjpwYXNzIHdvcmQ="}));
        } else {
            EXPECT_EQ(r.lines, std::vector<std::string>{"2.1"});
        }
    }
    unsetenv("http_proxy");
    unsetenv("HTTP_PROXY");
    unsetenv("ALL_PROXY");
    unsetenv("no_proxy");
    unsetenv("NO_PROXY");
    writeSettings("[Proxy]\nHTTP=1\nHTTPProxy=proxy.example\nHTTPPort=eighty\n");
    const auto fallback = VersionFileRequest(settings, {}).proxy;
    ASSERT_TRUE(fallback);
    EXPECT_EQ(fallback->port, 8080);
}

TEST_F(UpdateCheckTest, AProxyThatRefusesIsAFailure) {
    const std::string kept = "[Proxy]\nHTTP=1\nHTTPProxy=127.0.0.1\nHTTPPort=";
    struct Case {
        int port;
        std::string url;
    } cases[] = {
        {FreePort(), at("/version.dat")},                         // nothing listens
        {servers->proxyPort, at("/refuse.dat")},                  // it answers 403
        {servers->proxyPort, "https://127.0.0.1:1/version.dat"},  // no CONNECT
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        const std::string text = kept + std::to_string(c.port) + "\n";
        writeSettings(text);
        const UpdateCheckResult r = check(c.url);
        EXPECT_EQ(r.outcome, UpdateOutcome::Failed);
        EXPECT_FALSE(r.error.empty());
        EXPECT_EQ(settingsText(), text);
    }
}

TEST_F(UpdateCheckTest, TheStopHookIsPolledAndAbandonsTheRequest) {
    UpdateCheckOptions options;
    options.ownVersion = "2.1";
    options.address = at("/slow");
    int polls = 0;
    options.stopRequested = [&polls] { return ++polls < 0; };
    const UpdateCheckResult slow = CheckForUpdate(settings, options, client);
    EXPECT_EQ(slow.outcome, UpdateOutcome::NewVersion) << slow.error;
    EXPECT_GE(polls, 5);  // about every 10 ms for 300 ms
    const std::string written = settingsText();

    // No read time-out: a server that never answers waits until stopped.
    options.address = at("/silent");
    const auto start = std::chrono::steady_clock::now();
    options.stopRequested = [start] { return std::chrono::steady_clock::now() - start > 300ms; };
    const UpdateCheckResult stopped = CheckForUpdate(settings, options, client);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(stopped.outcome, UpdateOutcome::Failed);
    EXPECT_GE(took, 300ms);
    EXPECT_LT(took, 3s);
    EXPECT_EQ(settingsText(), written);
}

}  // namespace
}  // namespace lumetra::test
