#include "generator/PreviewPlayer.h"

#include <cmath>

namespace lumetra {

namespace {

// Nearest integer, halves to the even neighbour.
int RoundEven(double value) {
    return static_cast<int>(std::nearbyint(value));
}

}  // namespace

PlayerPlacement FitPreviewPlayer(int w, int h, int panelWidth, int panelHeight) {
    const int pw = panelWidth - 2;
    const int ph = panelHeight - 2;
    if (pw <= 0 || ph <= 0) return {0, 0, 0, 0};
    if (w <= pw && h <= ph)
        return {RoundEven((panelWidth - w) / 2.0), RoundEven((panelHeight - h) / 2.0), w, h};
    const bool widthLimits =
        h <= ph || (w > pw && static_cast<double>(w) / pw > static_cast<double>(h) / ph);
    // The ratio is held as a 32-bit float, which decides some roundings by a hair.
    if (widthLimits) {
        const float ratio = static_cast<float>(w) / static_cast<float>(pw);
        const int height = RoundEven(h / static_cast<double>(ratio) + 0.5);
        return {1, RoundEven((panelHeight - height) / 2.0), pw, height};
    }
    const float ratio = static_cast<float>(h) / static_cast<float>(ph);
    const int width = RoundEven(w / static_cast<double>(ratio) + 0.5);
    return {RoundEven((panelWidth - width) / 2.0), 1, width, ph};
}

}  // namespace lumetra
