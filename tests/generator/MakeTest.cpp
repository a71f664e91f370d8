// lumetra-make from the outside: a folder or a project in, a complete show
// out, with its exit statuses, in a home of its own.

#include "MakeFixture.h"
#include "app/FileOps.h"
#include "app/ProjectFile.h"

namespace lumetra {
namespace {

namespace fs = std::filesystem;
using test::FlatJpeg;
using test::MakeResult;
using test::TestBitmap;
using MakeTest = test::MakeFixture;

TEST_F(MakeTest, FolderBecomesACompleteShow) {
    dir.write("pics/b.bmp", TestBitmap(40, 30, 10));
    dir.write("pics/a.bmp", TestBitmap(32, 24, 80));
    dir.write("pics/A.BMP", TestBitmap(20, 30, 160));
    dir.write("pics/notes.txt", "not a picture");
    const MakeResult run =
        make("--seed 5 --output " + q(dir / "out/Unsere Reise.html") + " " + q(dir / "pics"));
    ASSERT_EQ(run.status, 0) << errors();
    const fs::path page = dir / "out/Unsere-Reise.html";
    EXPECT_EQ(run.out, page.string() + "\n");
    EXPECT_NE(errors().find("picture 3/3"), std::string::npos) << errors();

    fs::path data;
    for (const auto& entry : fs::directory_iterator(dir / "out"))
        if (entry.is_directory()) data = entry.path();
    ASSERT_EQ(data.filename().string().rfind("Unsere-Reise_", 0), 0u) << data;
    EXPECT_TRUE(fs::exists(data / "Unsere-Reise.js"));
    const std::string xml = ReadWholeFile(data / "Unsere-Reise.xml");
    auto doc = test::ParseXml(xml);
    ASSERT_TRUE(doc);
    std::vector<std::string> urls;
    for (xmlNode* slide : test::Children(xmlDocGetRootElement(doc.get()), "slide")) {
        const std::string url = test::Attr(test::Child(slide, "image"), "url");
        EXPECT_TRUE(fs::is_regular_file(dir / "out" / url)) << url;
        EXPECT_GT(fs::file_size(dir / "out" / url), 100u) << url;
        urls.push_back(fs::path(url).filename());
    }
    // All ".bmp" files in name order, and two names that differ only in case kept apart.
    EXPECT_EQ(urls, (std::vector<std::string>{"A.jpg", "a-2.jpg", "b.jpg"}));

    const std::string html = ReadWholeFile(page);
    const std::string reference = "<script src=\"" + data.filename().string() +
                                  "/Unsere-Reise.js?xml_source=" + data.filename().string() +
                                  "/Unsere-Reise.xml\"></script>";
    EXPECT_NE(html.find(reference), std::string::npos) << html;
    EXPECT_NE(html.find(xml.substr(3)), std::string::npos);
    // The temporary subfolder of the run is gone.
    for (const auto& entry : fs::recursive_directory_iterator(dir / "tmp"))
        EXPECT_NE(entry.path().extension(), ".jpg") << entry.path();
}

TEST_F(MakeTest, ProjectWithSeedIsReproducible) {
    dir.write("pics/one.bmp", TestBitmap(16, 16, 0));
    dir.write("pics/two.bmp", TestBitmap(16, 16, 90));
    dir.write("pics/three.bmp", TestBitmap(16, 16, 180));
    for (const char* name : {"one", "two", "three"})
        addSlide((dir / "pics" / (std::string(name) + ".bmp")).string(), 0, 16, 16);
    app.project.Settings.RandomOrder = true;
    app.project.Settings.OutputFile = (dir / "out/show.html").string();
    SaveProject(app, (dir / "show.lmx").string());

    const MakeResult first =
        make("--seed 42 --save-project " + q(dir / "used.lmx") + " " + q(dir / "show.lmx"));
    ASSERT_EQ(first.status, 0) << errors();
    EXPECT_EQ(first.out, (dir / "out/show.html").string() + "\n");
    const std::string page = ReadWholeFile(dir / "out/show.html");
    ASSERT_EQ(make("--seed 42 " + q(dir / "show.lmx")).status, 0) << errors();
    EXPECT_EQ(ReadWholeFile(dir / "out/show.html"), page);
    ASSERT_EQ(LoadProject(app, (dir / "used.lmx").string()), LoadResult::Loaded);
    EXPECT_EQ(app.project.ImgItems.size(), 3u);
}

TEST_F(MakeTest, ExitStatuses) {
    dir.write("empty/readme.txt", "no pictures here");
    dir.write("broken.lmx", "this is not a project");
    dir.write("pics/one.bmp", TestBitmap(8, 8, 0));
    addSlide((dir / "pics/gone.bmp").string());
    SaveProject(app, (dir / "missing.lmx").string());
    struct {
        std::string args;
        int status;
    } cases[] = {
        {"", 1},
        {"--seed x " + q(dir / "pics"), 1},
        {"--frobnicate " + q(dir / "pics"), 1},
        {q(dir / "nothing.lmx"), 2},
        {q(dir / "broken.lmx"), 2},
        {q(dir / "empty"), 3},
        {q(dir / "missing.lmx"), 3},
        {"--music " + q(dir / "no such song.mp3") + " " + q(dir / "pics"), 3},
        {"--music", 1},
        {"--output " + q(dir / "file/show.html") + " " + q(dir / "pics"), 4},
        {"--output " + q(dir / "out/show.html") + " " + q(dir / "unreadable"), 4},
    };
    dir.write("file", "a file where the show's folder should be");
    dir.write("unreadable/one.bmp", TestBitmap(8, 8, 0));
    dir.write("unreadable/two.jpg", "not a JPEG at all");
    for (const auto& c : cases) {
        const MakeResult run = make(c.args);
        EXPECT_EQ(run.status, c.status) << c.args << "\n" << errors();
        EXPECT_EQ(run.out, "") << c.args;
        EXPECT_FALSE(errors().empty()) << c.args;
    }
}

TEST_F(MakeTest, TerminationRemovesTheTemporaryFolder) {
    dir.write("pics/p0.jpg", FlatJpeg(4000, 3000));
    for (int i = 1; i < 16; ++i)
        fs::create_hard_link(dir / "pics/p0.jpg", dir / ("pics/p" + std::to_string(i) + ".jpg"));
    const fs::path instances = dir / "tmp" / ("lumetra-" + std::to_string(getuid())) / "LMT3TMP";
    // Terminate the run as soon as its temporary folder exists.
    const MakeResult run =
        shell(program() + "--output " + q(dir / "out/show.html") + " " + q(dir / "pics") +
              " >/dev/null 2>&1 & pid=$!; i=0; " + "until [ -d " + q(instances) +
              "/$pid ] || [ $i -ge 2000 ]; " +
              "do sleep 0.005; i=$((i + 1)); done; kill -TERM $pid; " + "wait $pid; echo $?");
    if (run.out == "0\n") GTEST_SKIP() << "the show was complete before the signal came";
    EXPECT_EQ(run.out, "143\n");
    EXPECT_FALSE(fs::exists(instances)) << "left behind";
}

}  // namespace
}  // namespace lumetra
