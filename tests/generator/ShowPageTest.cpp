// The web page and the embedding code filled from their templates.

#include <gtest/gtest.h>

#include <filesystem>

#include "ShowFixture.h"
#include "app/Version.h"
#include "generator/ShowPage.h"

namespace lumetra {
namespace {

namespace fs = std::filesystem;

class ShowPageTest : public test::ShowFixture {
  protected:
    void SetUp() override {
        ShowFixture::SetUp();
        app.project.Settings.OutputFile = (dir / "out/Mein-Urlaub.html").string();
        app.project.Settings.BackgroundColor = 0xFF0000;  // pure blue
    }
    void templates(const std::string& page, const std::string& snippet) {
        dir.write("program/data/template.html", page);
        dir.write("program/data/swfembed.html", snippet);
    }
    std::string page() { return dir.read("out/Mein-Urlaub.html"); }
};

TEST_F(ShowPageTest, PlaceholdersInOrderAndShowXmlLast) {
    templates(
        "%PAGE_TITLE%|%GENERATOR%|%BGCOLOR%|%CODE_BEGIN%|%CODE_END%\n"
        "%SWF_EMBED%\n%WIDTH%x%HEIGHT% %WIDTH% %UNKNOWN%\n"
        "<script type=\"application/xml\" data-xml-source=\"%XML_SOURCE%\">%SHOW_XML%</script>\n",
        "<div data-wmode=\"%WMODE%\" style=\"width:%WIDTH%px\"></div>\r\n"
        "<script src=\"%FILENAME%\"></script>\n");
    const std::string xml = "\xEF\xBB\xBF<?xml?>\n<s t=\"%WMODE% %BGCOLOR%\">&lt;/script></s>\n";
    ASSERT_TRUE(WriteShowPage(app, 640, 480, false, "", xml));
    EXPECT_EQ(page(),
              "Lumetra|Lumetra " + ProgramVersion(true) +
                  " (https://lumetra.example)|#0000FF|Lumetra code start|Lumetra code end\r\n"
                  "<div data-wmode=\"window\" style=\"width:640px\"></div>\r\n"
                  "<script src=\"Mein-Urlaub_files/Mein-Urlaub.js?xml_source="
                  "Mein-Urlaub_files/Mein-Urlaub.xml\"></script>\r\n"
                  "640x480 640 %UNKNOWN%\r\n"
                  "<script type=\"application/xml\" data-xml-source=\""
                  "Mein-Urlaub_files/Mein-Urlaub.xml\"><?xml?>\n"
                  "<s t=\"%WMODE% %BGCOLOR%\">&lt;/script></s>\n</script>");
    ASSERT_EQ(app.project.FTPItems.size(), 1u);
    EXPECT_EQ(app.project.FTPItems[0].FileName, (dir / "out/Mein-Urlaub.html").string());
    EXPECT_FALSE(app.project.FTPItems[0].Sync);
}

TEST_F(ShowPageTest, TransparentAndPublicAddress) {
    templates("%BGCOLOR% %WMODE% %SWF_EMBED%", "%FILENAME%");
    fs::create_directories(dir / "out");  // a public address means the show exists already
    ASSERT_TRUE(WriteShowPage(app, 1, 1, true, "http://host.example/my shows/\"x\"<b>/", ""));
    EXPECT_EQ(page(),
              "white transparent http://host.example/my%20shows/%22x%22%3Cb%3E/"
              "Mein-Urlaub_files/Mein-Urlaub.js?xml_source=http://host.example/my%20shows/"
              "%22x%22%3Cb%3E/Mein-Urlaub_files/Mein-Urlaub.xml");
}

TEST_F(ShowPageTest, InlineDescriptionCannotCloseItsElement) {
    EXPECT_EQ(ShowXmlForPage("\xEF\xBB\xBF<a>x</SCRIPT >y</script></a>"),
              "<a>x<\\/SCRIPT >y<\\/script></a>");
    EXPECT_EQ(ShowXmlForPage("<a></a></scrip"), "<a></a></scrip");
}

TEST_F(ShowPageTest, EmbeddingCode) {
    templates("unused", "<div %WIDTH% %HEIGHT% %WMODE% %BGCOLOR% %PAGE_TITLE%>%FILENAME%</div>\n");
    EXPECT_EQ(EmbeddingCode(app, 320, 240, true, "https://a.example/"),
              "<!-- Lumetra code start -->\r\n"
              "<div 320 240 transparent %BGCOLOR% %PAGE_TITLE%>https://a.example/"
              "Mein-Urlaub_files/Mein-Urlaub.js?xml_source=https://a.example/"
              "Mein-Urlaub_files/Mein-Urlaub.xml</div>\r\n"
              "<!-- Lumetra code end -->");
}

TEST_F(ShowPageTest, MissingTemplateThrowsAndWritesNothing) {
    EXPECT_THROW(WriteShowPage(app, 1, 1, false, "", ""), std::exception);
    EXPECT_FALSE(fs::exists(dir / "out/Mein-Urlaub.html"));
}

TEST_F(ShowPageTest, ShippedTemplatesMakeAValidPage) {
    const fs::path source = fs::path(LUMETRA_SOURCE_DIR) / "data";
    fs::create_directories(dir / "program/data");
    fs::copy_file(source / "template.html", dir / "program/data/template.html");
    fs::copy_file(source / "swfembed.html", dir / "program/data/swfembed.html");
    ASSERT_TRUE(WriteShowPage(app, 800, 600, false, "",
                              "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<slideshow/>\n"));
    const std::string html = page();
    EXPECT_EQ(html.find('%'), std::string::npos) << html;
    for (const char* part :
         {"<!DOCTYPE html>", "<meta charset=\"utf-8\">", "name=\"viewport\"",
          "<title>Lumetra</title>", "background: #0000FF", "<!-- Lumetra code start -->",
          "<!-- Lumetra code end -->", "width:800px;height:600px", "data-wmode=\"window\"",
          "<script src=\"Mein-Urlaub_files/Mein-Urlaub.js?xml_source=Mein-Urlaub_files/"
          "Mein-Urlaub.xml\"></script>",
          "data-xml-source=\"Mein-Urlaub_files/Mein-Urlaub.xml\"><?xml version=\"1.0\"?>\n"
          "<slideshow/>\n</script>"})
        EXPECT_NE(html.find(part), std::string::npos) << part;
    EXPECT_NE(html.back(), '\n');
}

}  // namespace
}  // namespace lumetra
