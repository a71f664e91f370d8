// The folder scan's order and the list commands' edits of slides and selection.

#include "app/SlideList.h"

#include <gtest/gtest.h>

#include "support/AppFixture.h"
#include "support/TestFolder.h"

namespace lumetra {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> names(const std::vector<std::string>& paths) {
    std::vector<std::string> out;
    for (const auto& p : paths) out.push_back(fs::path(p).filename().string());
    return out;
}

TEST(SlideListTest, NaturalOrder) {
    struct {
        const char *a, *b;
        bool less;
    } cases[] = {
        {"a", "B", true},
        {"B", "a", false},
        {"img2", "img10", true},
        {"img10", "img2", false},
        {"IMG_9", "img_10", true},
        {"x", "x1", true},
        {"photo 007", "photo 8", true},
        {"b", "a10", false},
        {"10", "9a", false},
        {"same", "same", false},
    };
    for (const auto& c : cases) EXPECT_EQ(NaturalLess(c.a, c.b), c.less) << c.a << " < " << c.b;
}

TEST(SlideListTest, FolderScanGroupsExtensionsAndSortsNaturally) {
    test::TestFolder dir;
    for (const char* name : {"c.png", "b.jpeg", "a.JPG", "img10.jpg", "Img2.jpg", "d.gif", "e.bmp",
                             "f.tif", "g.txt", "noext"})
        dir.write(name, "x");
    fs::create_directories(dir / "sub.jpg");
    dir.write("sub.jpg/inner.jpg", "x");
    EXPECT_EQ(names(FolderImageFiles(dir.path())),
              (std::vector<std::string>{"a.JPG", "Img2.jpg", "img10.jpg", "b.jpeg", "c.png",
                                        "e.bmp", "d.gif"}));
    EXPECT_TRUE(FolderImageFiles(dir / "missing").empty());
}

class SlideListAppTest : public test::AppFixture {};

TEST_F(SlideListAppTest, NewProjectFromFolder) {
    dir.write("pics/b.png", "x");
    dir.write("pics/a.jpg", "xyz");
    auto reader = [](const std::string&, int& h, int& w) {
        h = 10;
        w = 20;
        return true;
    };
    app.project.SetModified(true);
    NewProjectFromFolder(app, dir / "pics", reader, 7);
    ASSERT_EQ(app.project.ImgItems.size(), 2u);
    EXPECT_EQ(fs::path(app.project.ImgItems[0].FileName).filename(), "a.jpg");
    EXPECT_EQ(app.project.ImgItems[0].FileSize, 3);
    EXPECT_EQ(app.project.ImgItems[1].Duration, 7000);
    EXPECT_EQ(app.project.ImgItems[1].ImgWidth, 20);
    EXPECT_FALSE(app.project.Modified());
}

// Slides named by their original position, so every move can be followed.
ImgItemList slides(int n) {
    ImgItemList list(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        list[std::size_t(i)].FileName = std::to_string(i);
        list[std::size_t(i)].Reserved1 = i;  // travels with its slide
    }
    return list;
}
std::string order(const ImgItemList& list) {
    std::string out;
    for (const auto& s : list) out += s.FileName;
    return out;
}
RowSelection selected(int n, std::initializer_list<int> rows) {
    RowSelection sel(static_cast<std::size_t>(n), false);
    for (int r : rows) sel[std::size_t(r)] = true;
    return sel;
}

TEST(SlideListTest, Moves) {
    struct {
        const char* name;
        int n;
        std::initializer_list<int> rows;
        bool up;
        const char* order;
        std::initializer_list<int> after;
    } cases[] = {
        {"block up", 5, {2, 3}, true, "02314", {1, 2}},
        {"first row selected blocks the move", 5, {0, 3}, true, "01234", {0, 3}},
        {"separate rows down", 5, {1, 3}, false, "02143", {2, 4}},
        {"last row selected blocks the move", 5, {1, 4}, false, "01234", {1, 4}},
        {"block down", 4, {0, 1}, false, "2013", {1, 2}},
        {"nothing selected", 3, {}, true, "012", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ImgItemList list = slides(c.n);
        RowSelection sel = selected(c.n, c.rows);
        c.up ? MoveSelectedSlidesUp(list, sel) : MoveSelectedSlidesDown(list, sel);
        EXPECT_EQ(order(list), c.order);
        EXPECT_EQ(sel, selected(c.n, c.after));
        for (const auto& s : list) EXPECT_EQ(std::to_string(s.Reserved1), s.FileName);
    }
}

TEST(SlideListTest, Removal) {
    struct {
        const char* name;
        int n;
        std::initializer_list<int> rows;
        const char* order;
        int select;
    } cases[] = {
        {"rows 2 and 5 of 8", 8, {2, 5}, "013467", 5},
        {"the last row", 4, {3}, "012", 2},
        {"all rows", 3, {0, 1, 2}, "", -1},
        {"nothing selected", 3, {}, "012", 0},
        {"row 0", 3, {0}, "12", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ImgItemList list = slides(c.n);
        RowSelection sel = selected(c.n, c.rows);
        EXPECT_EQ(RemoveSelectedSlides(list, sel), c.select);
        EXPECT_EQ(order(list), c.order);
        EXPECT_EQ(sel.size(), list.size());
    }
}

}  // namespace
}  // namespace lumetra
