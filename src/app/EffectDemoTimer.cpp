#include "app/EffectDemoTimer.h"

namespace lumetra {

DemoTimerTick Timer1Tick(int interval) {
    DemoTimerTick tick;
    switch (interval) {
        case kDemoUserInterval:
            tick.newInterval = kDemoPlayInterval;
            tick.showPlayer = true;
            tick.hideCanvas = true;
            break;
        case kDemoStartupInterval:
            // Stays armed: it shows the player again at every tick until the
            // next demonstration re-arms the timer.
            tick.showPlayer = true;
            break;
        case kDemoPlayInterval:
            tick.stopTimer = true;
            tick.refreshControlStates = true;
            tick.showCanvasHidePlayer = true;
            break;
        default:
            break;
    }
    return tick;
}

}  // namespace lumetra
