#pragma once
// Which picture each tab and command button of the main window shows, as the
// pointer moves over them (there is no leave event: moving over the
// background ends a hover, and so does leaving the window).

namespace lumetra {

enum class TabPicture { Active = 0, Hover = 1, Idle = 2 };

struct HoverState {
    TabPicture tabs[3] = {TabPicture::Active, TabPicture::Idle, TabPicture::Idle};
    bool newHover = false, loadHover = false, saveHover = false, updateHover = false;
    bool operator==(const HoverState&) const = default;
};

enum class HoverTarget { New, Load, Save, Update, Tab1, Tab2, Tab3, Background };

// SetTabImages(k): the tab of page k+1 active, the others idle; any other k
// changes nothing.
void SetTabImages(HoverState& state, int k);

// The pointer moved over target while currentPage (1 to 3) is shown.
void MoveOver(HoverState& state, HoverTarget target, int currentPage);

}  // namespace lumetra
