// The wizard's text work that needs no server: remote paths, the homepage
// field and the candidate addresses, the synchronisation figures, the port.

#include <gtest/gtest.h>

#include "app/Settings.h"
#include "publish/AccessData.h"
#include "publish/HomepageAddress.h"
#include "publish/PublishView.h"
#include "publish/RemotePath.h"
#include "publish/SyncText.h"
#include "support/TestFolder.h"

namespace lumetra::publish {
namespace {

TEST(RemotePath, GetValidPath) {
    const std::pair<const char*, const char*> rows[] = {
        {"", "/"},
        {"/", "/"},
        {"shows\\2009\\", "/shows/2009"},
        {"//web///shows/", "/web/shows"},
        {"/my show/ new", "/my show/_new"},
        {"a\\b", "/a/b"},
        {"/  x", "/_ x"},
        {"\\\\", "/"},
    };
    for (const auto& [in, out] : rows) EXPECT_EQ(GetValidPath(in), out) << in;
}

TEST(RemotePath, ResolveAndAddresses) {
    const std::tuple<const char*, const char*, const char*> rows[] = {
        {"/a/b", "..", "/a"},      {"/a", "../..", "/"},         {"/a", "c/d", "/a/c/d"},
        {"/a", "/x/./y/", "/x/y"}, {"/", "new/sub", "/new/sub"},
    };
    for (const auto& [current, path, out] : rows)
        EXPECT_EQ(ResolveRemotePath(current, path), out) << current << " + " << path;
    EXPECT_EQ(FolderUrlPath("/"), "/%2F/");
    EXPECT_EQ(FolderUrlPath("/my show/Grüße"), "/%2Fmy%20show/Gr%C3%BC%C3%9Fe/");
    EXPECT_EQ(EscapeUrlSegment("a%b?c#d"), "a%25b%3Fc%23d");
    EXPECT_FALSE(IsSafeFtpText("a\r\nDELE x"));
    EXPECT_FALSE(IsSafeFtpText(std::string("a\0b", 3)));
    EXPECT_TRUE(IsSafeFtpText("Grüße aus Köln"));
}

TEST(RemotePath, ItemFoldersFollowTheOutputFolder) {
    const char* page = "/home/me/shows/Trip.html";
    EXPECT_EQ(RemoteFolderForItem("/web", page, "/home/me/shows/Trip.html"), "/web");
    EXPECT_EQ(RemoteFolderForItem("/web", page, "/home/me/shows/Trip_files/a.jpg"),
              "/web/Trip_files");
    EXPECT_EQ(RemoteFolderForItem("/", page, "/home/me/shows/Trip_files/a.jpg"), "/Trip_files");
    // A music file called "files" must not eat the end of "Trip_files".
    EXPECT_EQ(RemoteFolderForItem("/web", page, "/home/me/shows/Trip_files/files"),
              "/web/Trip_files");
    // Folder names that hold the file's name or the output folder's.
    EXPECT_EQ(RemoteFolderForItem("/w", "/s/a.jpg_x/Trip.html", "/s/a.jpg_x/Trip_files/a.jpg"),
              "/w/Trip_files");
}

TEST(HomepageAddress, FieldCleaning) {
    const std::pair<const char*, const char*> rows[] = {
        {"HTTPS://www.example.org/a", "www.example.org/a"},
        {"Http://x\\y\\index.html", "x/y/index.html"},
        {"http://https://x", "x"},
        {"www.example.org", "www.example.org"},
    };
    for (const auto& [in, out] : rows) EXPECT_EQ(NormaliseHomepageField(in), out) << in;

    EXPECT_EQ(HomepageFieldFor({"http", "h", 80, "/", ""}), "h/");
    EXPECT_EQ(HomepageFieldFor({"http", "h", 8080, "/a/b.html", "x=1"}), "h:8080/a/b.html?x=1");
    EXPECT_EQ(HomepageFieldFor({"https", "h", 443, "/p/", ""}), "h/p/");
    EXPECT_EQ(HomepageFieldFor({"https", "h", 80, "/", ""}), "h:80/");
}

TEST(HomepageAddress, HeadAnswers) {
    const auto answer = [](bool transferred, long status) {
        HttpResponse r;
        r.transferred = transferred;
        r.status = status;
        return JudgeHomepageAnswer(r);
    };
    EXPECT_EQ(answer(true, 200), HomepageVerdict::Replace);
    EXPECT_EQ(answer(true, 403), HomepageVerdict::Replace);
    EXPECT_EQ(answer(true, 404), HomepageVerdict::Keep);
    EXPECT_EQ(answer(true, 500), HomepageVerdict::Inaccessible);
    EXPECT_EQ(answer(true, 401), HomepageVerdict::Inaccessible);
    EXPECT_EQ(answer(false, 0), HomepageVerdict::Inaccessible);
}

TEST(HomepageAddress, CandidatesOfTheExample) {
    const std::string base = PublicBase("http", "H/a/index.html");
    EXPECT_EQ(base, "http://H/a/");
    EXPECT_EQ(CandidateAddresses(base, "/web/b", std::less<std::string>()),
              (std::vector<std::string>{"http://H/", "http://H/a/", "http://H/a/b/",
                                        "http://H/a/web/b/", "http://H/b/", "http://H/web/b/"}));
    // For the target "/" each prefix also comes with a second "/".
    EXPECT_EQ(CandidateAddresses("http://H/", "/", std::less<std::string>()),
              (std::vector<std::string>{"http://H/", "http://H//"}));
    EXPECT_EQ(PublicBase("http", "H"), "http://H/");
    EXPECT_EQ(PublicBase("https", "H/x.html"), "https://H/");
    EXPECT_EQ(PublicBase("https", "Hx.html"), "https://Hx.html/");
    EXPECT_EQ(
        CandidateAddresses("https://H/a/", "/b", std::less<std::string>()),
        (std::vector<std::string>{"https://H/", "https://H/a/", "https://H/a/b/", "https://H/b/"}));
}

TEST(SyncText, MegabytesAndPercent) {
    const std::tuple<std::int64_t, char, const char*> rows[] = {
        {3 * 1048576, '.', "3"},
        {1048576 / 2, ',', "0,5"},
        {13107200, '.', "12.5"},
        {304087, '.', "0.29"},
        {1048576 * 10 / 1000, '.', "0.01"},
        {5243, '.', "0.01"},
        {5242, '.', "0"},
        {0, '.', "0"},
    };
    for (const auto& [bytes, point, text] : rows)
        EXPECT_EQ(MegabytesText(bytes, point), text) << bytes;
    EXPECT_EQ(HeldPercent(3 * 1048576, 1048576), 33);
    EXPECT_EQ(HeldPercent(8, 1), 12);  // 12.5 to the even neighbour
    EXPECT_EQ(HeldPercent(8, 3), 38);  // 37.5
    EXPECT_EQ(HeldPercent(10, 10), 100);
}

TEST(AccessData, PortField) {
    const std::tuple<const char*, int, const char*, int, bool> rows[] = {
        {"21", 2, "21", 2, false},     {"2a1", 2, "21", 1, true}, {"a", 1, "", 0, true},
        {"x2121", 1, "2121", 0, true}, {"", 0, "", 0, false},
    };
    for (const auto& [text, caret, out, outCaret, changed] : rows) {
        const PortEdit edit = CleanPortText(text, caret);
        EXPECT_EQ(edit.text, out) << text;
        EXPECT_EQ(edit.caret, outCaret) << text;
        EXPECT_EQ(edit.changed, changed) << text;
    }
    EXPECT_EQ(PortNumber("21"), 21);
    EXPECT_EQ(PortNumber("65535"), 65535);
    EXPECT_EQ(PortNumber(""), std::nullopt);
    EXPECT_EQ(PortNumber("0"), std::nullopt);
    EXPECT_EQ(PortNumber("65536"), std::nullopt);
    EXPECT_EQ(PortNumber("99999999999"), std::nullopt);
}

TEST(AccessData, EncryptionAndProxySettings) {
    test::TestFolder dir;
    Settings settings(dir / "Settings.ini");
    EXPECT_EQ(ReadEncryptionMode(settings), EncryptionMode::Auto);
    for (const auto& [word, mode] :
         {std::pair{"required", EncryptionMode::Required}, std::pair{"Off", EncryptionMode::Off},
          std::pair{"sometimes", EncryptionMode::Auto}}) {
        dir.write("Settings.ini", std::string("[FTP]\nEncryption=") + word + "\n");
        EXPECT_EQ(ReadEncryptionMode(settings), mode) << word;
    }
    dir.write("Settings.ini", "[Proxy]\nFTPProxy=p\nFTPUser=u\nHTTPProxy=h\n");
    EXPECT_EQ(ReadFtpProxy(settings), std::nullopt);
    EXPECT_EQ(ReadHttpProxy(settings), std::nullopt);
    dir.write("Settings.ini", "[Proxy]\nFTP=1\nFTPProxy=p\nFTPUser=u\nHTTP=1\nHTTPProxy=h\n");
    ASSERT_TRUE(ReadFtpProxy(settings));
    EXPECT_EQ(ReadFtpProxy(settings)->port, 3128);
    EXPECT_EQ(ReadFtpProxy(settings)->user, "u");
    ASSERT_TRUE(ReadHttpProxy(settings));
    EXPECT_EQ(ReadHttpProxy(settings)->port, 8080);
}

TEST(NewFolderDialog, PathPreview) {
    EXPECT_EQ(NewFolderPath("/web", ""), "/web");
    EXPECT_EQ(NewFolderPath("/", "new"), "/new");
    EXPECT_EQ(NewFolderPath("/web", "new/sub"), "/web/new/sub");
}

}  // namespace
}  // namespace lumetra::publish
