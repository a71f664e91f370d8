#include "generator/Overlays.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "generator/HtmlColor.h"
#include "generator/XmlDocument.h"

namespace lumetra {

namespace {

constexpr int kMinBand = 18;
constexpr int kMaxBand = 44;

int Limit(long long value) {
    return static_cast<int>(std::clamp<long long>(value, kMinBand, kMaxBand));
}

std::string ReplaceCrLfByCr(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        out += text[i];
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    }
    return out;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    return std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    });
}

}  // namespace

int BandHeight(int H) {
    // Exact integer arithmetic: H × 6 / 100 with halves going down.
    const long long tenths = static_cast<long long>(std::max(H, 0)) * 6;
    long long band = tenths / 100;
    if (tenths % 100 > 50) ++band;
    return Limit(band);
}

int TextSize(int H) {
    return BandHeight(H) - 8;
}

int TopMargin(int H) {
    const long long h = std::max(H, 0);
    long long margin = h / 20;
    const long long rest = h % 20;
    if (rest > 10 || (rest == 10 && margin % 2 == 1)) ++margin;
    return Limit(margin);
}

int DescriptionLineCount(std::string_view description) {
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    std::size_t first = 0, last = description.size();
    while (first < last && blank(description[first])) ++first;
    while (last > first && blank(description[last - 1])) --last;
    if (first == last) return 0;
    int lines = 1;
    for (std::size_t i = first; i < last; ++i) {
        if (description[i] == '\r' && i + 1 < last && description[i + 1] == '\n') ++i;
        if (description[i] == '\r' || description[i] == '\n') ++lines;
    }
    return lines;
}

int DescriptionHeight(int lines, int textSize) {
    const float perLine = static_cast<float>(textSize) / 7.0f;
    const long double extra = static_cast<long double>(lines - 1) * perLine + 0.5L;
    return lines * textSize + 8 + static_cast<int>(std::nearbyint(extra));
}

void AddTextOverlays(const recImgItems& slide, int W, int H, XmlElement& slideElement) {
    const int band = BandHeight(H);
    const int size = TextSize(H);
    const int top = TopMargin(H);
    const bool hasTitle = !slide.Title.empty();
    const bool hasDescription = !slide.Description.empty();
    const int descHeight =
        hasDescription ? DescriptionHeight(DescriptionLineCount(slide.Description), size) : 0;
    const std::string color = ColorDigits(slide.TextColor);

    XmlElement& rects = slideElement.Append("draw_rect");
    if (hasTitle) {
        rects.Append("rect")
            .Set("y", top)
            .Set("height", band)
            .Set("width", W)
            .Set("fill_alpha", "75")
            .Set("fill_color", "FFFFFF")
            .Set("line_alpha", "0")
            .Set("line_color", "A1A1A1")
            .Set("line_thickness", "0");
    }
    if (hasDescription) {
        rects.Append("rect")
            .Set("y", H - descHeight)
            .Set("height", descHeight)
            .Set("width", W)
            .Set("fill_alpha", "75")
            .Set("fill_color", "FFFFFF")
            .Set("line_alpha", "0")
            .Set("line_thickness", "0");
    }

    XmlElement& texts = slideElement.Append("draw_text");
    if (hasTitle) {
        XmlElement& text = texts.Append("text");
        text.Set("y", top + 1)
            .Set("height", band)
            .Set("align", "center")
            .Set("bold", "true")
            .Set("size", size)
            .Set("color", color);
        text.SetText(slide.Title);
    }
    if (hasDescription) {
        XmlElement& text = texts.Append("text");
        text.Set("y", H - descHeight + 1)
            .Set("height", descHeight + 8)
            .Set("align", "center")
            .Set("bold", "true")
            .Set("size", size)
            .Set("color", color);
        text.SetText(ReplaceCrLfByCr(slide.Description));
    }
}

std::string LinkUrl(const std::string& link) {
    if (StartsWithNoCase(link, "http://") || StartsWithNoCase(link, "https://")) return link;
    return "http://" + link;
}

void AddLinkAreas(int W, int H, bool preview, bool targetBlank, XmlElement& slideElement,
                  const std::string& link) {
    XmlElement& element = slideElement.Append("link");
    if (link.empty()) return;
    XmlElement& area = element.Append("area");
    area.Set("x", "0");
    // The created show's area starts just below the top edge; the preview's at 0.
    if (!preview) area.Set("y", std::lround(H * 0.048 - 0.6));
    area.Set("width", W).Set("height", H).Set("url", LinkUrl(link));
    if (targetBlank) area.Set("target", "_blank");
}

}  // namespace lumetra
