#pragma once
// The phases of the effect demonstration's timer (Timer1): its interval tells
// the phase. 349 ms: the start-up run; 350 ms: a run the user asked for;
// 2100 ms: the player has played, the still picture returns.

namespace lumetra {

inline constexpr int kDemoStartupInterval = 349;
inline constexpr int kDemoUserInterval = 350;
inline constexpr int kDemoPlayInterval = 2100;

struct DemoTimerTick {
    bool stopTimer = false;
    int newInterval = 0;  // 0: keep the interval
    bool showPlayer = false;
    bool hideCanvas = false;
    bool showCanvasHidePlayer = false;
    bool refreshControlStates = false;
};

// What a tick at interval does (Timer1Timer); any other interval does nothing.
DemoTimerTick Timer1Tick(int interval);

}  // namespace lumetra
