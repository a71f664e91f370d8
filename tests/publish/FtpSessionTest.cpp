// The FTP session against pyftpdlib (with MLSD and with the plain listing),
// pure-ftpd when the tests run as root, and a server with odd replies.

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "TestServers.h"
#include "app/FileOps.h"
#include "publish/FtpSession.h"
#include "support/TestFolder.h"

namespace lumetra::publish {
void PrintTo(const ListEntry& e, std::ostream* out);
}

namespace lumetra::test {
namespace {

namespace fs = std::filesystem;
using namespace publish;
using namespace std::chrono_literals;

class FtpSessionTest : public ::testing::Test {
  protected:
    TestFolder dir;
    fs::path root = dir / "ftp";
    std::unique_ptr<PyServers> servers;
    FtpSession session;

    void SetUp() override { fs::create_directories(root); }

    PyServers& start(std::vector<std::string> args) {
        args.insert(args.begin(),
                    {"--root", root.string(), "--ftp", "--log", (dir / "commands.log").string()});
        servers = std::make_unique<PyServers>(dir / "servers", args);
        return *servers;
    }
    FtpLogin login(int port, const std::string& password = "secret") {
        FtpLogin l;
        l.host = "127.0.0.1";
        l.port = port;
        l.user = "lumetra";
        l.password = password;
        return l;
    }
    // The same round of commands on any server whose root is `root`.
    void exerciseCommands(int port, const std::string& user, bool checkLog);
};

void FtpSessionTest::exerciseCommands(int port, const std::string& user, bool checkLog) {
    FtpLogin l = login(port);
    l.user = user;
    ASSERT_EQ(session.connect(l).outcome, ConnectOutcome::Connected);
    EXPECT_EQ(session.pwd(), "/");
    EXPECT_TRUE(session.mkd("/my shows"));
    EXPECT_FALSE(session.mkd("/my shows"));  // exists: refused, the connection stays
    EXPECT_TRUE(session.cwd("my shows"));
    EXPECT_EQ(session.pwd(), "/my shows");
    EXPECT_FALSE(session.cwd("/nowhere"));
    EXPECT_TRUE(session.connected());
    EXPECT_EQ(session.currentFolder(), "/my shows");
    EXPECT_TRUE(session.mkd("Grüße aus Köln"));

    const std::string bytes(100000, 'z');
    const fs::path local = dir.write("local.bin", bytes);
    std::vector<std::int64_t> progress;
    session.stor(local, "Ünïcödé name.jpg", [&](std::int64_t sent) { progress.push_back(sent); });
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back(), 100000);
    EXPECT_EQ(ReadWholeFile(root / "my shows/Ünïcödé name.jpg"), bytes);
    EXPECT_EQ(session.size("Ünïcödé name.jpg"), 100000);
    EXPECT_EQ(session.size("missing.jpg"), -1);
    EXPECT_EQ(session.size("Grüße aus Köln"), -1);                        // a folder is no file
    session.stor(dir.write("short.bin", "abc"), "Ünïcödé name.jpg", {});  // replaced
    EXPECT_EQ(session.size("Ünïcödé name.jpg"), 3);

    std::vector<ListEntry> entries = session.list();
    std::sort(entries.begin(), entries.end(),
              [](const ListEntry& a, const ListEntry& b) { return a.name < b.name; });
    std::vector<ListEntry> plain;
    for (const auto& e : entries)
        if (e.name != "." && e.name != "..") plain.push_back(e);
    EXPECT_EQ(plain, (std::vector<ListEntry>{{"Grüße aus Köln", EntryKind::Directory},
                                             {"Ünïcödé name.jpg", EntryKind::File}}));
    EXPECT_TRUE(session.dele("Ünïcödé name.jpg"));
    EXPECT_FALSE(session.dele("Ünïcödé name.jpg"));

    // A line break in a name would start a second command: refused unsent.
    for (const std::string& name :
         {std::string("x\r\nDELE keep.txt"), std::string("x\nRMD /"), std::string("a\0b", 3)}) {
        EXPECT_THROW(session.size(name), FtpError);
        EXPECT_THROW(session.dele(name), FtpError);
        EXPECT_THROW(session.cwd(name), FtpError);
        EXPECT_THROW(session.mkd(name), FtpError);
        EXPECT_THROW(session.stor(local, name, {}), FtpError);
    }
    EXPECT_TRUE(session.connected());
    EXPECT_EQ(session.pwd(), "/my shows");
    session.close();
    EXPECT_FALSE(session.connected());
    EXPECT_THROW(session.pwd(), FtpError);
    if (checkLog) {
        const std::string log = ReadWholeFile(dir / "commands.log");
        EXPECT_EQ(log.find("keep.txt"), std::string::npos);
        EXPECT_EQ(log.find("RMD"), std::string::npos);
    }
}

TEST_F(FtpSessionTest, CommandsOnPyftpdlibWithMlsd) {
    exerciseCommands(start({}).ftpPort, "lumetra", true);
}

TEST_F(FtpSessionTest, CommandsOnPyftpdlibWithThePlainListing) {
    exerciseCommands(start({"--no-mlst", "--long-messages"}).ftpPort, "lumetra", true);
}

TEST_F(FtpSessionTest, CommandsOnPureFtpd) {
    if (!PureFtpd::available()) GTEST_SKIP() << "pure-ftpd needs root and /usr/sbin/pure-ftpd";
    fs::permissions(dir.path(), fs::perms::others_exec, fs::perm_options::add);
    chown(root.c_str(), kNobody, kNobody);
    PureFtpd server(root, dir / "pure", "lumetra", "secret");
    exerciseCommands(server.port, "lumetra", false);
}

TEST_F(FtpSessionTest, WrongPasswordAndNoServer) {
    start({});
    EXPECT_EQ(session.connect(login(servers->ftpPort, "wrong")).outcome, ConnectOutcome::Failed);
    EXPECT_FALSE(session.connected());
    EXPECT_EQ(session.connect(login(FreePort())).outcome, ConnectOutcome::Failed);
    FtpLogin odd = login(servers->ftpPort);
    odd.host = "no such host/with a slash";
    EXPECT_EQ(session.connect(odd).outcome, ConnectOutcome::Failed);
    odd.host = "127.0.0.1";
    odd.user = "lumetra\r\nDELE x";
    EXPECT_EQ(session.connect(odd).outcome, ConnectOutcome::Failed);
}

TEST_F(FtpSessionTest, SizeAnswerWithoutANumberIsUnknown) {
    std::ofstream(root / "a.jpg") << "12345";
    ASSERT_EQ(session.connect(login(start({"--size-junk"}).ftpPort)).outcome,
              ConnectOutcome::Connected);
    EXPECT_EQ(session.size("a.jpg"), -1);
    EXPECT_TRUE(session.connected());
}

TEST_F(FtpSessionTest, IdleConnectionClosedByTheServerIsOpenedAgain) {
    fs::create_directories(root / "a");
    ASSERT_EQ(session.connect(login(start({"--idle-timeout", "1"}).ftpPort)).outcome,
              ConnectOutcome::Connected);
    EXPECT_TRUE(session.cwd("/a"));
    std::this_thread::sleep_for(1600ms);
    EXPECT_EQ(session.pwd(), "/a");
    EXPECT_TRUE(session.cwd("/"));
    EXPECT_TRUE(session.connected());
}

TEST_F(FtpSessionTest, EncryptionOnPyftpdlib) {
    const Certificate trusted = MakeCertificate(dir / "cert", "IP:127.0.0.1");
    start({"--tls", trusted.pem.string()});
    struct Case {
        const char* label;
        EncryptionMode mode;
        std::string caFile;
        bool skipCheck;
        ConnectOutcome outcome;
        Security security;
    } cases[] = {
        {"trusted",
         EncryptionMode::Auto,
         trusted.cert.string(),
         false,
         ConnectOutcome::Connected,
         {true, true}},
        {"required and trusted",
         EncryptionMode::Required,
         trusted.cert.string(),
         false,
         ConnectOutcome::Connected,
         {true, true}},
        {"not trusted", EncryptionMode::Auto, "", false, ConnectOutcome::CertificateUnverified, {}},
        {"not trusted, accepted",
         EncryptionMode::Auto,
         "",
         true,
         ConnectOutcome::Connected,
         {true, false}},
        {"off", EncryptionMode::Off, "", false, ConnectOutcome::Connected, {false, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        FtpLogin l = login(servers->ftpPort);
        l.encryption = c.mode;
        l.caFile = c.caFile;
        l.skipCertificateCheck = c.skipCheck;
        const ConnectResult result = session.connect(l);
        ASSERT_EQ(result.outcome, c.outcome) << result.detail;
        if (result.outcome != ConnectOutcome::Connected) continue;
        EXPECT_EQ(session.security().encrypted, c.security.encrypted);
        EXPECT_EQ(session.security().verified, c.security.verified);
        // Data connections work under TLS as well.
        session.stor(dir.write("f.txt", "tls"), "f.txt", {});
        EXPECT_EQ(session.size("f.txt"), 3);
        EXPECT_EQ(session.list().size(), 1u);
        session.close();
    }
    // A certificate for another name fails like an untrusted one.
    const Certificate other = MakeCertificate(dir / "other", "DNS:other.example");
    FtpLogin l = login(servers->ftpPort);
    l.caFile = other.cert.string();
    EXPECT_EQ(session.connect(l).outcome, ConnectOutcome::CertificateUnverified);
}

TEST_F(FtpSessionTest, RequiredEncryptionRefusesAPlainServer) {
    FtpLogin l = login(start({}).ftpPort);
    l.encryption = EncryptionMode::Required;
    EXPECT_EQ(session.connect(l).outcome, ConnectOutcome::EncryptionUnavailable);
    const std::string log = ReadWholeFile(dir / "commands.log");
    EXPECT_EQ(log.find("PASS"), std::string::npos) << "the password went out in the clear";
    l.encryption = EncryptionMode::Auto;
    ASSERT_EQ(session.connect(l).outcome, ConnectOutcome::Connected);
    EXPECT_FALSE(session.security().encrypted);
}

TEST_F(FtpSessionTest, EncryptionOnPureFtpd) {
    if (!PureFtpd::available()) GTEST_SKIP() << "pure-ftpd needs root and /usr/sbin/pure-ftpd";
    fs::permissions(dir.path(), fs::perms::others_exec, fs::perm_options::add);
    chown(root.c_str(), kNobody, kNobody);
    const Certificate cert = MakeCertificate(dir / "cert", "IP:127.0.0.1");
    PureFtpd server(root, dir / "pure", "lumetra", "secret", cert.pem);
    FtpLogin l = login(server.port);
    l.encryption = EncryptionMode::Required;
    l.caFile = cert.cert.string();
    const ConnectResult result = session.connect(l);
    ASSERT_EQ(result.outcome, ConnectOutcome::Connected) << result.detail;
    EXPECT_TRUE(session.security().encrypted && session.security().verified);
    session.stor(dir.write("f.txt", "pure"), "f.txt", {});
    EXPECT_EQ(ReadWholeFile(root / "f.txt"), "pure");
    const auto entries = session.list();
    EXPECT_NE(std::find(entries.begin(), entries.end(), ListEntry{"f.txt", EntryKind::File}),
              entries.end());
}

class OddServerTest : public FtpSessionTest {
  protected:
    PyServers& odd(std::vector<std::string> args) {
        servers = std::make_unique<PyServers>(dir / "odd", args, "odd_ftp_server.py");
        return *servers;
    }
};

TEST_F(OddServerTest, GarbageAndHugeListings) {
    std::string garbage = "\x01\x02 not a listing\r\n\xff\xfe\r\ntotal 0\r\n";
    garbage += "drwxr-xr-x 2 u g 4096 Jan 1 12:00 real one\r\n";
    garbage += std::string(5000, 'x') + "\r\n-rw 1 2 3\r\n\r\n\r\n";
    const fs::path listing = dir.write("listing.txt", garbage);
    const int port = odd({"--listing", listing.string()}).ftpPort;
    ASSERT_EQ(session.connect(login(port)).outcome, ConnectOutcome::Connected);
    EXPECT_EQ(session.list(), (std::vector<ListEntry>{{"real one", EntryKind::Directory}}));
    // Larger than any real folder: refused, and the session is over.
    std::ofstream(listing, std::ios::trunc) << std::string(FtpSession::kMaxListing + 1000, 'y');
    EXPECT_THROW(session.list(), FtpError);
    EXPECT_FALSE(session.connected());
}

TEST_F(OddServerTest, ACommandWithoutAnswerTimesOut) {
    const int port = odd({"--stall", "CWD", "--listing", dir.write("l", "").string()}).ftpPort;
    FtpLogin l = login(port);
    l.readTimeout = 1000ms;
    ASSERT_EQ(session.connect(l).outcome, ConnectOutcome::Connected);
    const auto start = std::chrono::steady_clock::now();
    try {
        session.cwd("/somewhere");
        ADD_FAILURE() << "no time-out";
    } catch (const FtpError& e) {
        EXPECT_EQ(e.kind(), FtpError::Kind::TimedOut) << e.what();
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, 4s);
    EXPECT_FALSE(session.connected());
    // A server that never answers the log-in.
    servers = std::make_unique<PyServers>(dir / "odd2", std::vector<std::string>{"--stall", "USER"},
                                          "odd_ftp_server.py");
    l.port = servers->ftpPort;
    const auto again = std::chrono::steady_clock::now();
    EXPECT_EQ(session.connect(l).outcome, ConnectOutcome::Failed);
    EXPECT_LT(std::chrono::steady_clock::now() - again, 4s);
}

}  // namespace
}  // namespace lumetra::test
