// The description's bytes: escapes, characters XML cannot carry, colours,
// the effect table and the sizes of the text bands.

#include <gtest/gtest.h>

#include "ShowFixture.h"
#include "generator/Effects.h"
#include "generator/HtmlColor.h"
#include "generator/Overlays.h"
#include "generator/XmlDocument.h"

namespace lumetra {
namespace {

std::string Written(const XmlElement& element) {
    std::string out;
    element.Write(out);
    return out;
}

TEST(XmlText, EscapesAndDropsWhatXmlCannotCarry) {
    struct {
        const char* in;
        const char* text;
        const char* attribute;
    } cases[] = {
        {"a&b<c>d'e\"f", "a&amp;b&lt;c&gt;d&apos;e&quot;f", "a&amp;b&lt;c&gt;d&apos;e&quot;f"},
        {"one\rtwo", "one\rtwo", "one&#13;two"},
        {"tab\there\nnext", "tab\there\nnext", "tab&#9;here&#10;next"},
        {"bell\x07 nul\x1f end", "bell nul end", "bell nul end"},
        {"stray \xE4 byte", "stray \xEF\xBF\xBD byte", "stray \xEF\xBF\xBD byte"},
        {"cut \xC3", "cut \xEF\xBF\xBD", "cut \xEF\xBF\xBD"},
        {"not \xEF\xBF\xBF char", "not  char", "not  char"},
        {"Gr\xC3\xBC\xC3\x9F"
         "e \xF0\x9F\x98\x80",
         "Gr\xC3\xBC\xC3\x9F"
         "e \xF0\x9F\x98\x80",
         "Gr\xC3\xBC\xC3\x9F"
         "e \xF0\x9F\x98\x80"},
    };
    for (const auto& c : cases) {
        XmlElement element("t");
        element.Set("a", c.in);
        element.SetText(c.in);
        EXPECT_EQ(Written(element), std::string("<t a=\"") + c.attribute + "\">" + c.text + "</t>")
            << c.in;
        // Whatever went in, the document stays readable and keeps the values.
        const std::string doc = SerializeXmlDocument(element);
        auto parsed = test::ParseXml(doc);
        ASSERT_TRUE(parsed) << c.in;
        xmlNode* root = xmlDocGetRootElement(parsed.get());
        EXPECT_EQ(test::Attr(root, "a"), XmlSafeText(c.in));
    }
}

TEST(XmlText, DocumentForm) {
    XmlElement root("slideshow");
    root.Append("link");
    root.Append("navigation").Set("next", 3).Set("forward", "1").Set("next", 4);
    EXPECT_EQ(SerializeXmlDocument(root),
              "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<slideshow><link/><navigation next=\"4\" forward=\"1\"/></slideshow>\n");
}

TEST(Colors, RedGreenBlueFromBgr) {
    EXPECT_EQ(ColorToHtml(0xFF0000), "#0000FF");
    EXPECT_EQ(ColorToHtml(0x0000FF), "#FF0000");
    EXPECT_EQ(ColorToHtml(0x123456), "#563412");
    EXPECT_EQ(ColorToHtml(static_cast<std::int32_t>(0xFFABCDEF)), "#EFCDAB");
    EXPECT_EQ(ColorDigits(0xFFFFFF), "FFFFFF");
}

std::string Transition(int effect, int seconds = 2) {
    XmlElement slide("s");
    AddTransition(effect, seconds, slide);
    std::string out;
    for (const auto& child : slide.children()) child.Write(out);
    return out;
}

TEST(Effects, EveryNumberOfTheTable) {
    const char* types[] = {"none",         "dissolve",  "cover_right",   "cover_left",
                           "cover_down",   "cover_up",  "push_right",    "push_left",
                           "push_down",    "push_up",   "fade_to_black", "fade_to_white",
                           "spin",         "drop",      "reveal_right",  "reveal_left",
                           "reveal_down",  "reveal_up", "squeeze_right", "squeeze_left",
                           "squeeze_down", "squeeze_up"};
    for (int n = 1; n <= 22; ++n)
        EXPECT_EQ(Transition(n),
                  "<transition duration=\"2\" type=\"" + std::string(types[n - 1]) + "\"/>");
    for (int n = 23; n <= 26; ++n)
        EXPECT_EQ(Transition(n), "<transition duration=\"2\" type=\"" + std::string(types[n - 5]) +
                                     "\" stack=\"true\"/>");
    const char* pivots[] = {"left_top_up",     "left_top_down",    "right_top_up",
                            "right_top_down",  "left_bottom_up",   "left_bottom_down",
                            "right_bottom_up", "right_bottom_down"};
    for (int n = 27; n <= 34; ++n)
        EXPECT_EQ(Transition(n), "<transition duration=\"2\" type=\"pivot_" +
                                     std::string(pivots[n - 27]) + "\"/>");
    const std::string dissolve = "<transition duration=\"1\" type=\"dissolve\"/>";
    const char* motions[] = {"start_zoom=\"1\"",
                             "start_zoom=\"1\" start_rotation=\"-180\"",
                             "start_zoom=\"1\" start_rotation=\"-360\"",
                             "start_zoom=\"1\" start_rotation=\"180\"",
                             "start_zoom=\"1\" start_rotation=\"360\"",
                             "start_zoom=\"500\"",
                             "start_zoom=\"500\" start_rotation=\"-180\"",
                             "start_zoom=\"500\" start_rotation=\"-360\"",
                             "start_zoom=\"500\" start_rotation=\"180\"",
                             "start_zoom=\"500\" start_rotation=\"360\""};
    for (int n = 35; n <= 44; ++n)
        EXPECT_EQ(Transition(n, 1),
                  "<motion duration=\"1\" " + std::string(motions[n - 35]) + "/>" + dissolve);
}

TEST(Effects, OutOfRangeAndTrim) {
    EXPECT_EQ(Transition(0), "<transition duration=\"2\"/>");
    EXPECT_EQ(Transition(-7), "<transition duration=\"2\"/>");
    EXPECT_EQ(Transition(45), "<motion duration=\"2\"/>");
    EXPECT_EQ(Transition(1000), "<motion duration=\"2\"/>");
    const std::pair<int, int> trims[] = {{19, 7}, {20, 8},  {21, 9},  {22, 10}, {23, 7}, {24, 8},
                                         {25, 9}, {26, 10}, {18, 18}, {27, 27}, {0, 0},  {44, 44}};
    for (auto [in, out] : trims) EXPECT_EQ(TrimEffect(in), out) << in;
    for (int n = -1; n <= 45; ++n) EXPECT_EQ(IsStackEffect(n), n >= 23 && n <= 26) << n;
}

TEST(Overlays, SizeTable) {
    struct {
        int H, band, text, top;
    } rows[] = {
        {480, 29, 21, 24}, {425, 25, 17, 21}, {370, 22, 14, 18}, {390, 23, 15, 20},
        {308, 18, 10, 18}, {309, 19, 11, 18}, {725, 43, 35, 36}, {726, 44, 36, 36},
        {869, 44, 36, 43}, {870, 44, 36, 44}, {0, 18, 10, 18},   {100000, 44, 36, 44},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(BandHeight(r.H), r.band) << r.H;
        EXPECT_EQ(TextSize(r.H), r.text) << r.H;
        EXPECT_EQ(TopMargin(r.H), r.top) << r.H;
    }
}

TEST(Overlays, DescriptionLinesAndHeight) {
    struct {
        const char* text;
        int lines;
    } rows[] = {{"", 0},           {"  \t \r\n ", 0},          {"one", 1},
                {"one\r\ntwo", 2}, {"one\rtwo\nthree", 3},     {"one\r\n\r\ntwo", 3},
                {"one\r\n", 1},    {"\r\n  one \r\n two  ", 2}};
    for (const auto& r : rows) EXPECT_EQ(DescriptionLineCount(r.text), r.lines) << r.text;
    EXPECT_EQ(DescriptionHeight(2, 21), 54);  // 3.5 rounds to the even 4
    EXPECT_EQ(DescriptionHeight(0, 10), 7);
    EXPECT_EQ(DescriptionHeight(1, 10), 18);  // 0.5 rounds to the even 0
    EXPECT_EQ(DescriptionHeight(4, 36), 168);
}

TEST(Overlays, BandsForH480) {
    recImgItems slide;
    slide.Title = "T";
    slide.Description = "a\r\nb\r\n";
    slide.TextColor = 0x0000FF;
    XmlElement element("slide");
    AddTextOverlays(slide, 640, 480, element);
    EXPECT_EQ(Written(element),
              "<slide><draw_rect>"
              "<rect y=\"24\" height=\"29\" width=\"640\" fill_alpha=\"75\" fill_color=\"FFFFFF\" "
              "line_alpha=\"0\" line_color=\"A1A1A1\" line_thickness=\"0\"/>"
              "<rect y=\"426\" height=\"54\" width=\"640\" fill_alpha=\"75\" "
              "fill_color=\"FFFFFF\" line_alpha=\"0\" line_thickness=\"0\"/></draw_rect>"
              "<draw_text>"
              "<text y=\"25\" height=\"29\" align=\"center\" bold=\"true\" size=\"21\" "
              "color=\"FF0000\">T</text>"
              "<text y=\"427\" height=\"62\" align=\"center\" bold=\"true\" size=\"21\" "
              "color=\"FF0000\">a\rb\r</text></draw_text></slide>");
}

TEST(Overlays, LinkAreas) {
    struct {
        const char* link;
        bool preview, blank;
        const char* written;
    } rows[] = {
        {"", false, true, "<link/>"},
        {"example.org", true, false,
         "<link><area x=\"0\" width=\"640\" height=\"480\" url=\"http://example.org\"/></link>"},
        {"HTTPS://A.example", false, true,
         "<link><area x=\"0\" y=\"22\" width=\"640\" height=\"480\" url=\"HTTPS://A.example\" "
         "target=\"_blank\"/></link>"},
        {"Http://b", false, false,
         "<link><area x=\"0\" y=\"22\" width=\"640\" height=\"480\" url=\"Http://b\"/></link>"},
        {"mailto:me@example.org", true, false,
         "<link><area x=\"0\" width=\"640\" height=\"480\" "
         "url=\"http://mailto:me@example.org\"/></link>"},
        {"https:/x", true, false,
         "<link><area x=\"0\" width=\"640\" height=\"480\" url=\"http://https:/x\"/></link>"},
    };
    for (const auto& r : rows) {
        XmlElement element("s");
        AddLinkAreas(640, 480, r.preview, r.blank, element, r.link);
        EXPECT_EQ(Written(*element.children().begin()), r.written) << r.link;
    }
}

}  // namespace
}  // namespace lumetra
