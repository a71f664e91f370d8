#include "app/HoverPictures.h"

namespace lumetra {

void SetTabImages(HoverState& state, int k) {
    if (k < 0 || k > 2) return;
    for (int i = 0; i < 3; ++i) state.tabs[i] = i == k ? TabPicture::Active : TabPicture::Idle;
}

void MoveOver(HoverState& state, HoverTarget target, int currentPage) {
    switch (target) {
        case HoverTarget::New:
        case HoverTarget::Load:
        case HoverTarget::Save:
            state.newHover = target == HoverTarget::New;
            state.loadHover = target == HoverTarget::Load;
            state.saveHover = target == HoverTarget::Save;
            break;
        case HoverTarget::Update:
            state.updateHover = true;
            break;
        case HoverTarget::Tab1:
        case HoverTarget::Tab2:
        case HoverTarget::Tab3: {
            const int n = static_cast<int>(target) - static_cast<int>(HoverTarget::Tab1) + 1;
            SetTabImages(state, currentPage - 1);
            if (n != currentPage) state.tabs[n - 1] = TabPicture::Hover;
            break;
        }
        case HoverTarget::Background:
            state.newHover = state.loadHover = state.saveHover = state.updateHover = false;
            SetTabImages(state, currentPage - 1);
            break;
    }
}

}  // namespace lumetra
