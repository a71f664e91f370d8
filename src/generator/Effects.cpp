#include "generator/Effects.h"

#include <array>

#include "generator/XmlDocument.h"

namespace lumetra {

namespace {

constexpr std::array<const char*, 35> kTransitionTypes = {
    nullptr,  // 0: random, replaced by the drawn effect before writing
    "none",
    "dissolve",
    "cover_right",
    "cover_left",
    "cover_down",
    "cover_up",
    "push_right",
    "push_left",
    "push_down",
    "push_up",
    "fade_to_black",
    "fade_to_white",
    "spin",
    "drop",
    "reveal_right",
    "reveal_left",
    "reveal_down",
    "reveal_up",
    "squeeze_right",
    "squeeze_left",
    "squeeze_down",
    "squeeze_up",
    "squeeze_right",
    "squeeze_left",
    "squeeze_down",
    "squeeze_up",
    "pivot_left_top_up",
    "pivot_left_top_down",
    "pivot_right_top_up",
    "pivot_right_top_down",
    "pivot_left_bottom_up",
    "pivot_left_bottom_down",
    "pivot_right_bottom_up",
    "pivot_right_bottom_down",
};

constexpr int kFirstMotion = 35;
constexpr int kDissolve = 2;

void AddMotion(int effect, XmlElement& motion) {
    // 35 … 39 zoom in from the full size, 40 … 44 from five times; each group
    // runs through no turn, half and full turns to the left, then to the right.
    const int step = (effect - kFirstMotion) % 5;
    motion.Set("start_zoom", effect < kFirstMotion + 5 ? "1" : "500");
    static constexpr std::array<const char*, 5> kRotation = {nullptr, "-180", "-360", "180", "360"};
    if (kRotation[step]) motion.Set("start_rotation", kRotation[step]);
}

}  // namespace

void AddTransition(int effect, int seconds, XmlElement& slide) {
    if (effect < kFirstMotion) {
        XmlElement& transition = slide.Append("transition");
        transition.Set("duration", seconds);
        if (effect > 0) transition.Set("type", kTransitionTypes[effect]);
        if (IsStackEffect(effect)) transition.Set("stack", "true");
        return;
    }
    XmlElement& motion = slide.Append("motion");
    motion.Set("duration", seconds);
    if (effect >= kEffectCount) return;
    AddMotion(effect, motion);
    AddTransition(kDissolve, seconds, slide);
}

int TrimEffect(int effect) {
    if (effect >= 19 && effect <= 22) return effect - 12;
    if (effect >= 23 && effect <= 26) return effect - 16;
    return effect;
}

bool IsStackEffect(int effect) {
    return effect >= 23 && effect <= 26;
}

}  // namespace lumetra
