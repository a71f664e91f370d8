// Show names and the distinct picture names of a show.

#include <gtest/gtest.h>

#include "generator/ShowNames.h"

namespace lumetra {
namespace {

TEST(SafeShowName, Examples) {
    struct {
        const char* output;
        const char* name;
    } rows[] = {
        {"/home/me/Meine Reise 2010.html", "Meine-Reise-2010"},
        {"/x/Grüße aus Köln.html", "Gruesse-aus-Koeln"},
        {"/x/Ärger.html", "aerger"},
        {"/x/ÖlÜberÄÖÜäöüß.htm", "oelueberaeoeueaeoeuess"},
        {"/x/Mein Urlaub.html", "Mein-Urlaub"},
        {"/x/a.b.c.html", "a-b-c"},
        {"/x/noextension", "noextension"},
        {"/x/A-Z_a-z 0-9.html", "A-Z_a-z-0-9"},
        {"/x/Café.html", "Caf-"},             // one "-" for a two-byte character
        {"/x/€.html", "-"},                   // and for a three-byte one
        {"/x/😀 !.html", "---"},               // and for a four-byte one
        {"/x/bad\xE4name.html", "bad-name"},  // a byte that is not UTF-8
        {"/x/.html", ""},
        {"relative.html", "relative"},
    };
    for (const auto& r : rows) EXPECT_EQ(SafeShowName(r.output), r.name) << r.output;
}

TEST(SlideOutputNames, DistinctInListOrderWithoutRegardToCase) {
    ImgItemList slides;
    for (const char* file : {"/a/a.png", "/a/a.jpg", "/b/A.bmp", "/a/a-2.jpg", "/a/b.gif",
                             "/c/Summer 2010.PNG", "/d/summer 2010.tif", "/a/B.JPEG"}) {
        recImgItems slide;
        slide.FileName = file;
        slides.push_back(slide);
    }
    EXPECT_EQ(SlideOutputNames(slides),
              (std::vector<std::string>{"a.jpg", "a-2.jpg", "A-3.jpg", "a-2-2.jpg", "b.jpg",
                                        "Summer 2010.jpg", "summer 2010-2.jpg", "B-2.jpg"}));
    EXPECT_TRUE(SlideOutputNames({}).empty());
}

}  // namespace
}  // namespace lumetra
