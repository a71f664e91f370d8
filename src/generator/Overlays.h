#pragma once
// Title and description bands and the clickable link area of a slide. All
// sizes follow from the stage height H so the bands scale with the show.

#include <cstdint>
#include <string>
#include <string_view>

#include "app/Project.h"

namespace lumetra {

class XmlElement;

// Band height B: H × 0.06 to the nearest integer, an exact half rounding down
// (the player was always given the value of the 32-bit float just below
// 0.06), limited to 18 … 44.
int BandHeight(int H);
// Text size T = B − 8.
int TextSize(int H);
// H × 0.05 to the nearest integer, halves to the even neighbour, limited to 18 … 44.
int TopMargin(int H);
// Lines left after trimming blanks and control characters at both ends; a
// line ends at CR LF, CR or LF.
int DescriptionLineCount(std::string_view description);
// n × T + 8 + round((n − 1) × (T / 7) + 0.5), T / 7 as a 32-bit float, halves to even.
int DescriptionHeight(int lines, int textSize);

// Appends draw_rect and draw_text (both always, empty without texts).
void AddTextOverlays(const recImgItems& slide, int W, int H, XmlElement& slideElement);

// Appends link, with one area when link is not empty.
void AddLinkAreas(int W, int H, bool preview, bool targetBlank, XmlElement& slideElement,
                  const std::string& link);

// The link as the player gets it: "http://" is put in front unless it
// already starts with "http://" or "https://" in any letter case.
std::string LinkUrl(const std::string& link);

}  // namespace lumetra
