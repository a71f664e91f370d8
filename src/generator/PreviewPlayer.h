#pragma once
// Where the preview player sits in its panel: the show at its own size when
// it fits, else scaled down to fit with its proportions kept.

namespace lumetra {

struct PlayerPlacement {
    int left, top, width, height;
    bool operator==(const PlayerPlacement&) const = default;
};

// The built-in preview panel of the create page.
inline constexpr int kPreviewPanelWidth = 581;
inline constexpr int kPreviewPanelHeight = 346;

// Places a w × h show in a panel (one pixel of border on each side).
PlayerPlacement FitPreviewPlayer(int w, int h, int panelWidth = kPreviewPanelWidth,
                                 int panelHeight = kPreviewPanelHeight);

}  // namespace lumetra
