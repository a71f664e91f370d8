// The listing parser on lines as servers send them, and on lines no server
// should send.

#include <gtest/gtest.h>

#include <ostream>

#include "publish/FtpListing.h"
#include "publish/FtpReplies.h"

namespace lumetra::publish {

void PrintTo(const ListEntry& entry, std::ostream* out) {
    *out << "{\"" << entry.name << "\", kind " << static_cast<int>(entry.kind) << "}";
}

namespace {

using Kind = EntryKind;

struct Line {
    const char* source;
    const char* text;
    std::optional<ListEntry> entry;
};

const Line kListLines[] = {
    // pyftpdlib
    {"pyftpdlib", "drwxr-xr-x   2 root     root         4096 Dec 09 16:58 b",
     ListEntry{"b", Kind::Directory}},
    {"pyftpdlib", "-rw-r--r--   1 root     root            3 Dec 09 16:58 f.txt",
     ListEntry{"f.txt", Kind::File}},
    // pure-ftpd: numeric owner, a link, a name with blanks
    {"pure-ftpd", "lrwxrwxrwx    1 65534      nogroup             3 Dec  9 17:21 lnk -> sub",
     ListEntry{"lnk", Kind::Link}},
    {"pure-ftpd", "drwxr-xr-x    2 65534      nogroup          4096 Dec  9 17:21 my folder",
     ListEntry{"my folder", Kind::Directory}},
    // vsftpd: numeric owner and group, a year instead of a time
    {"vsftpd", "drwxr-xr-x    2 1000     1000         4096 Mar 01 12:34 photos",
     ListEntry{"photos", Kind::Directory}},
    {"vsftpd", "-rw-r--r--    1 1000     1000        12345 Dec 24  2019 index.html",
     ListEntry{"index.html", Kind::File}},
    {"vsftpd", "lrwxrwxrwx    1 0        0              11 Jan 05 09:00 www -> public_html",
     ListEntry{"www", Kind::Link}},
    // ProFTPD and others
    {"proftpd", "drwxr-xr-x   2 ftp      ftp          4096 Jan  1  2020 my  two  blanks",
     ListEntry{"my  two  blanks", Kind::Directory}},
    {"no group", "drwxr-xr-x 2 owner 4096 Jan 1 12:00 no group dir",
     ListEntry{"no group dir", Kind::Directory}},
    {"no group, numeric owner", "drwxr-xr-x 2 1000 4096 Feb 29 2020 leap",
     ListEntry{"leap", Kind::Directory}},
    {"ACL marker", "drwxr-xr-x+ 3 u g 4096 Jan 1 12:00 acl", ListEntry{"acl", Kind::Directory}},
    {"German month", "drwxr-xr-x 2 u g 4096 Mär 3 12:00 Grüße",
     ListEntry{"Grüße", Kind::Directory}},
    {"ISO date", "drwxr-xr-x 2 u g 4096 2020-01-01 12:00 iso", ListEntry{"iso", Kind::Directory}},
    {"seconds", "drwxr-xr-x 2 u g 4096 Jan 1 12:00:59 secs", ListEntry{"secs", Kind::Directory}},
    {"a name like a date", "drwxr-xr-x 2 u g 4096 Jan 1 2020 Jan 1 12:00",
     ListEntry{"Jan 1 12:00", Kind::Directory}},
    {"dot entries", "drwxr-xr-x 2 u g 4096 Jan 1 12:00 ..", ListEntry{"..", Kind::Directory}},
    {"socket", "srwxrwxrwx 1 u g 0 Jan 1 12:00 sock", ListEntry{"sock", Kind::Other}},
    {"CR at the end", "drwxr-xr-x 2 u g 4096 Jan 1 12:00 crlf\r",
     ListEntry{"crlf", Kind::Directory}},
    {"directory named like a link", "drwxr-xr-x 2 u g 4096 Jan 1 12:00 a -> b",
     ListEntry{"a -> b", Kind::Directory}},
    // IIS in its DOS form
    {"IIS", "01-15-20  10:30AM       <DIR>          My Documents",
     ListEntry{"My Documents", Kind::Directory}},
    {"IIS", "01-15-2020  10:30PM              1,234 report.pdf",
     ListEntry{"report.pdf", Kind::File}},
    {"IIS 24 hours", "12-31-19  23:59       <DIR>          late",
     ListEntry{"late", Kind::Directory}},
    // Nothing to take
    {"total", "total 12", std::nullopt},
    {"empty", "", std::nullopt},
    {"prose", "this is not a listing", std::nullopt},
    {"no name", "-rw-r--r-- 1 a b 12 Jan 1 12:00", std::nullopt},
    {"bad mode", "dr?xr-xr-x 2 u g 4096 Jan 1 12:00 x", std::nullopt},
    {"no date", "drwxr-xr-x 2 u g 4096 yesterday x", std::nullopt},
    {"DOS without kind", "01-15-20  10:30AM  something", std::nullopt},
    {"DOS bad date", "1-15-20  10:30AM  <DIR>  x", std::nullopt},
};

TEST(Listing, ListLines) {
    for (const Line& line : kListLines) {
        SCOPED_TRACE(std::string(line.source) + ": " + line.text);
        EXPECT_EQ(ParseListLine(line.text), line.entry);
    }
}

const Line kMlsdLines[] = {
    {"pure-ftpd",
     "type=dir;sizd=4096;modify=20261209172117;UNIX.mode=0755;UNIX.uid=65534; my folder",
     ListEntry{"my folder", Kind::Directory}},
    {"pure-ftpd", "type=OS.unix=slink:;size=3;modify=20261209172117; lnk",
     ListEntry{"lnk", Kind::Link}},
    {"pure-ftpd", "type=cdir;sizd=4096; .", ListEntry{".", Kind::Other}},
    {"pure-ftpd", "type=pdir;sizd=4096; ..", ListEntry{"..", Kind::Other}},
    {"pyftpdlib", "modify=20261209165829;perm=radfwMT;size=3;type=file;unique=fe00ga728a5; f.txt",
     ListEntry{"f.txt", Kind::File}},
    {"letter case", "Type=DIR;Size=0; Upper", ListEntry{"Upper", Kind::Directory}},
    {"symlink", "type=OS.UNIX=symlink;size=3; l2", ListEntry{"l2", Kind::Link}},
    {"blank in the name", "type=dir; a b ", ListEntry{"a b ", Kind::Directory}},
    {"no type", "size=3;modify=1; x", std::nullopt},
    {"no name", "type=dir;", std::nullopt},
    {"no facts", "just words", std::nullopt},
};

TEST(Listing, MlsdLines) {
    for (const Line& line : kMlsdLines) {
        SCOPED_TRACE(std::string(line.source) + ": " + line.text);
        EXPECT_EQ(ParseMlsdLine(line.text), line.entry);
    }
}

TEST(Listing, WholeAnswersKeepTheServersOrder) {
    const std::string text =
        "total 8\r\ndrwxr-xr-x 2 u g 4096 Jan 1 12:00 z\r\n\r\n-rw-r--r-- 1 u g 1 Jan 1 12:00 a\n"
        "garbage\ndrwxr-xr-x 2 u g 4096 Jan 1 12:00 m";
    EXPECT_EQ(ParseListing(text, ListingFormat::List),
              (std::vector<ListEntry>{
                  {"z", Kind::Directory}, {"a", Kind::File}, {"m", Kind::Directory}}));
    EXPECT_EQ(ParseListing("type=dir; b\r\ntype=file; c\r\n", ListingFormat::Mlsd),
              (std::vector<ListEntry>{{"b", Kind::Directory}, {"c", Kind::File}}));
}

TEST(Replies, MultiLineRepliesAndNoise) {
    ReplyCollector replies;
    for (const char* line :
         {"220-Welcome\r\n", "220-more\r\n", "220 ready\r\n", "Content-Length: 3\r\n",
          "211-Features:\r\n", " MLST type*;size*;\r\n", " 211 inside\r\n", "211 End.\r\n",
          "257 \"/a \"\"q\"\" b\" is current\r\n"}) {
        replies.addLine(line);
    }
    ASSERT_EQ(replies.replies().size(), 3u);
    EXPECT_EQ(replies.replies()[0].code, 220);
    EXPECT_EQ(replies.replies()[0].text, "220-Welcome\n220-more\n220 ready");
    EXPECT_TRUE(FeaturesOfferMlst(replies.replies()[1].text));
    EXPECT_EQ(replies.lastCode(), 257);
    EXPECT_EQ(ParsePwdReply(replies.replies()[2].text), "/a \"q\" b");
}

TEST(Replies, Pwd) {
    struct {
        const char* text;
        std::optional<std::string> folder;
    } rows[] = {
        {"257 \"/\" is the current directory.", "/"},
        {"257 \"/web/my shows\"", "/web/my shows"},
        {"257 \"unterminated", std::nullopt},
        {"257 no quotes", std::nullopt},
        {"257 \"\"\"\"", "\""},
    };
    for (const auto& row : rows) EXPECT_EQ(ParsePwdReply(row.text), row.folder) << row.text;
    EXPECT_EQ(ParseSizeReply("213 12345"), 12345);
    EXPECT_EQ(ParseSizeReply("213 0  "), 0);
    EXPECT_EQ(ParseSizeReply("213 about a megabyte"), std::nullopt);
    EXPECT_EQ(ParseSizeReply("213 12 34"), std::nullopt);
    EXPECT_EQ(ParseSizeReply("213 "), std::nullopt);
    EXPECT_EQ(ParseSizeReply("213 99999999999999999999"), std::nullopt);
    EXPECT_EQ(ParseSizeReply("550 12"), std::nullopt);
    EXPECT_FALSE(FeaturesOfferMlst("211-Features:\n MLSTX\n SIZE\n211 End"));
    EXPECT_TRUE(FeaturesOfferMlst("211-Features:\n mlst type*;\n211 End"));
}

}  // namespace
}  // namespace lumetra::publish
