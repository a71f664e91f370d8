// The effect demonstration of the image page: the core writes the two-picture
// show, the demonstration player plays it, and Timer1's phases switch between
// the still picture and the player.

#include <QComboBox>

#include "app/Application.h"
#include "app/EffectDemoTimer.h"
#include "app/Platform.h"
#include "generator/EffectDemo.h"
#include "player/PlayerView.h"
#include "ui/ClickableLabel.h"
#include "ui/PictureWidgets.h"
#include "ui/TfrmMain.h"

namespace lumetra::ui {

void TfrmMain::PlayEffectDemo(bool firstRun) {
    if (firstRun) {
        demoDesert_ = true;
    } else {
        imgEffectDemoCanvas_->setImage(QImage(QString::fromStdString(
            (app_.dataFolder() / "gui" / (demoDesert_ ? "desert.jpg" : "beach.jpg")).string())));
    }
    const int effect = std::max(cboEffectsIn_->currentIndex(), 0);
    const std::string address =
        WriteEffectDemo(app_, platform::instanceTempFolder(), effect, demoDesert_);
    timer1_.stop();
    hideDemoPlayer();
    demoPictureShown_ = false;
    FlashPlayerControl2_->setMovie(address);
    timer1_.setInterval(firstRun ? kDemoStartupInterval : kDemoUserInterval);
    timer1_.start();
    demoDesert_ = !demoDesert_;
    if (!firstRun) btnPlayDemo_->setEnabled(false);
}

bool TfrmMain::demoCanvasShown() const {
    return !panEffectDemoCanvas_->isHidden();
}

void TfrmMain::Timer1Timer() {
    const DemoTimerTick tick = Timer1Tick(timer1_.interval());
    if (tick.newInterval) timer1_.setInterval(tick.newInterval);
    if (tick.showPlayer) showDemoPlayer(tick.hideCanvas);
    if (tick.stopTimer) timer1_.stop();
    if (tick.refreshControlStates) SetControlStates();
    if (tick.showCanvasHidePlayer) hideDemoPlayer();
}

// The player is shown once both its phase has come and it has painted its
// first picture, so a slow first load never shows an empty view.
void TfrmMain::showDemoPlayer(bool hideCanvas) {
    if (!demoPictureShown_ || FlashPlayerControl2_->rendererDied()) {
        demoShowPending_ = true;
        demoHideCanvasPending_ = demoHideCanvasPending_ || hideCanvas;
        return;
    }
    raiseDemoPlayer(hideCanvas);
}

// The player's widget stays on the screen under the still picture while it is
// "hidden": a web view that is hidden stops its page's timers, and the player
// would never reach its first picture.
void TfrmMain::raiseDemoPlayer(bool hideCanvas) {
    demoPlayerShown_ = true;
    FlashPlayerControl2_->show();
    FlashPlayerControl2_->raise();
    if (hideCanvas) panEffectDemoCanvas_->hide();
}

void TfrmMain::hideDemoPlayer() {
    demoShowPending_ = false;
    demoHideCanvasPending_ = false;
    demoPlayerShown_ = false;
    FlashPlayerControl2_->stackUnder(panEffectDemoCanvas_);
    panEffectDemoCanvas_->show();
}

void TfrmMain::demoPlayerSlideShown(int index) {
    if (index != 0) return;
    demoPictureShown_ = true;
    if (!demoShowPending_) return;
    const bool hideCanvas = demoHideCanvasPending_;
    demoShowPending_ = false;
    demoHideCanvasPending_ = false;
    raiseDemoPlayer(hideCanvas);
}

void TfrmMain::demoPlayerTerminated() {
    // The still picture stands in for the player from now on.
    hideDemoPlayer();
    FlashPlayerControl2_->hide();
    playerInstalled_ = false;
    lblFlashNotFound_->show();
}

}  // namespace lumetra::ui
