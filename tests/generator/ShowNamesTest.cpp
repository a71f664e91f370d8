// Show names and the distinct picture names of a show.

#include <gtest/gtest.h>

#include <set>

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

ImgItemList Slides(std::initializer_list<const char*> files) {
    ImgItemList slides;
    for (const char* file : files) {
        recImgItems slide;
        slide.FileName = file;
        slides.push_back(slide);
    }
    return slides;
}

TEST(SlideOutputNames, CharactersThatChangeAnAddressBecomeDashes) {
    EXPECT_EQ(
        SlideOutputNames(Slides({"/p/a-1.jpg", "/p/a#1.jpg", "/p/what?.png", "/p/%41.gif",
                                 "/p/back\\slash.bmp", "/p/tab\tname.jpg", "/p/del\x7F.jpg"})),
        (std::vector<std::string>{"a-1.jpg", "a-1-2.jpg", "what-.jpg", "-41.jpg", "back-slash.jpg",
                                  "tab-name.jpg", "del-.jpg"}));
    // Blanks, umlauts and quotes stay as they were, so older shows keep their names.
    EXPECT_EQ(SlideOutputNames(Slides({"/p/Grüße aus \"Köln\" & 'Bonn'.png"})),
              (std::vector<std::string>{"Grüße aus \"Köln\" & 'Bonn'.jpg"}));
}

TEST(SlideOutputNames, ManyEqualNamesStayDistinct) {
    ImgItemList slides(5000);
    for (auto& slide : slides) slide.FileName = "/p/same.jpg";
    slides[1].FileName = "/p/same-3.jpg";  // takes a number the others would have used
    const std::vector<std::string> names = SlideOutputNames(slides);
    std::set<std::string> distinct(names.begin(), names.end());
    EXPECT_EQ(distinct.size(), names.size());
    EXPECT_EQ(names[0], "same.jpg");
    EXPECT_EQ(names[2], "same-2.jpg");
    EXPECT_EQ(names[3], "same-4.jpg");
}

TEST(MusicOutputName, NeverTheNameOfAnotherFileOfTheShow) {
    struct {
        const char* audioFile;
        const char* expected;
    } cases[] = {
        {"/m/song.mp3", "song.mp3"},       {"/m/my song #1? 100%.mp3", "my song -1- 100-.mp3"},
        {"/m/show.js", "show-2.js"},    // the player
        {"/m/SHOW.XML", "SHOW-2.XML"},  // the description, letter case aside
        {"/m/p0.jpg", "p0-3.jpg"},      // a picture (p0-2.jpg is the second one)
        {"/m/p0-2.jpg", "p0-2-2.jpg"},  // a picture made distinct itself
        {"/m/lmtswfa.dat", "lmtswfa.dat"},
    };
    Project project;
    project.ImgItems = Slides({"/a/p0.png", "/b/p0.jpg"});
    project.Settings.OutputFile = "/shows/show.html";
    project.Settings.audioMode = AudioMode::OwnFile;
    for (const auto& c : cases) {
        project.Settings.AudioFile = c.audioFile;
        EXPECT_EQ(MusicOutputName(project), c.expected) << c.audioFile;
    }
    project.Settings.audioMode = AudioMode::Library;
    EXPECT_EQ(MusicOutputName(project), "lmtswfa.dat");
    project.Settings.audioMode = AudioMode::None;
    EXPECT_EQ(MusicOutputName(project), "");
}

}  // namespace
}  // namespace lumetra
