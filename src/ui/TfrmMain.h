#pragma once
// The main window: the frame with its three pages, the tabs and command
// buttons, the project commands and closing (TfrmMain.cpp); the image page
// with its list, preview and slide properties (ImagePage.cpp,
// SlideProperties.cpp); the effect demonstration (EffectDemoPlayer.cpp).
// The settings page (SettingsPage.cpp) and the create page (CreatePage.cpp).
// The window mirrors the project of the Application into its widgets and
// forwards every event to a handler; the rules live in the core.

#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/HoverPictures.h"
#include "app/Project.h"
#include "app/SlideList.h"
#include "generator/MusicPreview.h"
#include "ui/HandlerBoundary.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;
class QTreeWidget;
class QFrame;
class QDialog;

namespace lumetra {
class Application;
}
namespace lumetra::player {
class PlayerView;
}

namespace lumetra::ui {

class ClickableLabel;
class ColorSwatch;
class PictureButton;
class PictureWidget;
class PreviewDecoder;
class TfrmMiscProgress;

class TfrmMain : public QWidget, public ProjectView {
    Q_OBJECT

  public:
    struct Options {
        // The web views are made after the first paint; tests without a web
        // view leave this off and drive the players' events themselves.
        bool webViews = true;
        // Ends the program once closing may go on (the event loop's quit by default).
        std::function<void()> terminate;
    };
    TfrmMain(Application& app, Options options);
    ~TfrmMain() override;

    // Start-up: TranslateForm("frmMain") and FormShow are called by the caller.
    void FormShow();
    // Centred on the screen when first shown.
    void centreOnScreen();
    // FormCloseQuery; true when the program ends.
    bool FormCloseQuery();

    int CurrentPage() const { return currentPage_; }
    bool CheckPageChange(int target);
    void SetTabImages(int k);
    void SetControlStates();
    void AddSlideRow(std::size_t index);
    void PlayEffectDemo(bool firstRun);
    // The web views, made once; called after the first paint.
    void createWebViews();
    bool playerInstalled() const { return playerInstalled_; }
    // Adds pictures as the add commands do, after their dialogs (also drops).
    void addFiles(const std::vector<std::string>& paths);
    void addFolder(const std::string& folder);

    const HoverState& hoverState() const { return hover_; }
    QTimer& timer1() { return timer1_; }
    player::PlayerView* demoPlayer() const { return FlashPlayerControl2_; }
    player::PlayerView* previewPlayer() const { return FlashPlayerControl1_; }
    PreviewDecoder& previewDecoder() const { return *previewDecoder_; }
    TfrmMiscProgress* progressWindow() const { return frmMiscProgress_; }
    bool demoStartsWithDesert() const { return demoDesert_; }
    // The demonstration player is in front of the still picture.
    bool demoPlayerShown() const { return demoPlayerShown_; }
    bool demoCanvasShown() const;

    // ProjectView: the core tells what changed.
    void slideRowsCleared() override;
    void slideRowAppended(std::size_t index) override;
    void firstSlideSelected() override;
    void showSettingsChanged() override;
    void titleChanged(const std::string& title) override;
    void addHintShown(bool visible) override;

  public slots:
    void imgTab1Click();
    void imgTab2Click();
    void imgTab3Click();
    void imgMenuNewClick();
    void imgMenuLoadClick();
    void imgMenuSaveClick();
    void imgMenuUpdateClick();
    void imgTabMouseMove(int tab);
    void imgMenuMouseMove(HoverTarget target);
    void imgPanImageMouseMove();
    void Timer1Timer();
    void btnAddClick();
    void btnAddDirClick();
    void btnRemoveClick();
    void btnUpClick();
    void btnDownClick();
    void btnSelAllClick();
    void lsvGFXSelectItem(int row, bool selected);
    void txtImgTitleChange();
    void txtImgDescChange();
    void txtImgLinkChange();
    void txtDurationChange(const QString& text);
    void cboEffectsInClick(int index);
    void cboEffectsInChange(int index);
    void panTextColorClick();
    void imgEffectInfoClick();
    void btnPlayDemoClick();

    // Settings page (SettingsPage.cpp).
    void optAudioNoneClick();
    void cboMusicChange();
    void btnAudioPlay1Click();
    void txtAudioChange();
    void txtAudioEnter();
    void txtAudioExit();
    void btnAudioSelectClick();
    void btnAudioPlaySelClick();
    void chkAudioLoopClick();
    void chkEditImgClick();
    void cboEditImg1Change();
    void txtEditImgFixXChange();
    void txtEditImgFixYChange();
    void chkTrimClick();
    void chkRandomOrderClick();
    void chkNavBarClick();
    void chkLoopClick();
    void optBGNoneClick();
    void panBGColorClick();

    // Create page (CreatePage.cpp).
    void lblFlashNotFoundClick();
    void txtOutputChange();
    void btnOutputClick();
    void btnCreateClick();

  public:
    // Sizes and places the preview player for a show of w x h in panPreview.
    void SetFlashPlayer(int w, int h);
    // The preview is being built (the window is disabled meanwhile).
    bool previewBuilding() const { return previewBuilding_; }
    // Opens the publishing wizard from the completion dialog; while empty the
    // dialog offers no publishing.
    std::function<void()> openPublishWizard;
    // Shows a modal dialog and returns its result (QDialog::exec unless set;
    // tests drive the dialog through it).
    std::function<int(QDialog&)> runModalDialog;
    // Tests: every preview build draws its random parts from this seed, as
    // lumetra-make --seed does.
    void seedPreviews(std::uint64_t seed) { previewSeed_ = seed; }

  public slots:
    // The demonstration player showed a slide (its lumetra:slide event).
    void demoPlayerSlideShown(int index);
    void demoPlayerTerminated();

  protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Building (FormCreate).
    void buildFrame();
    void buildImagePage();
    void buildSettingsPage();
    void buildCreatePage();
    // The create page's txtOutput shows OutputFile.
    void showOutputFile();
    void connectHandlers();
    void connectImagePage();
    void addShortcuts();
    // Runs handler through the handler boundary.
    template <typename F>
    void run(F&& handler) {
        guarded(app_, std::forward<F>(handler));
    }

    void showPage(int page);
    void applyHover();
    bool askSaveChanges();
    void flashPlayerNotice(bool onDemand);
    std::vector<int> selectedRows() const;
    RowSelection rowSelection() const;
    void setRowSelection(const RowSelection& selection);
    void rewriteRow(std::size_t index);
    void fillFields(const recImgItems& slide);
    void enableFields(bool enabled);
    void requestPreview(const std::string& path);
    void previewDecoded(unsigned number, const QString& path, const QImage& image, bool ok);
    void showDemoPlayer(bool hideCanvas);
    void hideDemoPlayer();
    void raiseDemoPlayer(bool hideCanvas);
    std::string effectName(int index);
    template <typename Edit>
    void editSelected(Edit&& edit);
    void addSlides(const std::vector<std::string>& paths);

    Application& app_;
    Options options_;
    int currentPage_ = 1;
    HoverState hover_;
    bool redirecting_ = false;
    bool playerInstalled_ = false;
    bool webViewsScheduled_ = false;
    bool demoDesert_ = true;
    bool demoShowPending_ = false;
    bool demoPictureShown_ = false;  // the player painted slide 0 since its last load
    bool demoPlayerShown_ = false;
    bool demoHideCanvasPending_ = false;
    std::string addGfxFolder_;  // dlgAddGFX's initial folder
    unsigned previewNumber_ = 0;
    QTimer timer1_;
    PreviewDecoder* previewDecoder_ = nullptr;
    TfrmMiscProgress* frmMiscProgress_ = nullptr;

    // Frame.
    PictureWidget* imgPanImage_;
    PictureButton *imgMenuNew_, *imgMenuLoad_, *imgMenuSave_, *imgMenuUpdate_;
    PictureWidget* imgTab_[3];
    ClickableLabel* lblMenu_[3];
    QFrame *panImage_, *panSettings_, *panCreate_;
    // Image page.
    QLabel *lblBildauswahl_, *lblBildvorschau_, *lblBildeigenschaften_;
    QTreeWidget* lsvGFX_;
    QWidget* panAddHint_;
    PictureWidget* imgAddHint_;
    PictureButton *btnAdd_, *btnAddDir_, *btnRemove_, *btnUp_, *btnDown_, *btnSelAll_;
    QFrame* panPreviewFrame_;
    PictureWidget* imgPreview_;
    PictureWidget* imgImgNotFound_;
    QPlainTextEdit* txtImgNotFound_;
    QLabel *lblDuration_, *lblDuration2_, *lblImgDesc_, *lblTextColor_;
    QSpinBox* txtDuration_;
    QLineEdit *txtImgTitle_, *txtImgLink_;
    QLabel *lblImgTitle_, *lblImgLink_;
    QPlainTextEdit* txtImgDesc_;
    ColorSwatch* panTextColor_;
    QLabel *lblUebergangseffekt_, *lblEffektvorschau_;
    QComboBox* cboEffectsIn_;
    PictureButton* imgEffectInfo_;
    QWidget* panEffectDemoCanvas_;
    PictureWidget* imgEffectDemoCanvas_;
    player::PlayerView* FlashPlayerControl2_;
    PictureButton* btnPlayDemo_;
    // Settings page (SettingsPage.cpp).
    void connectSettingsPage();
    // The music buttons: the one whose music plays shows a stop symbol.
    void showPlaying(PictureButton* button);
    bool PlayLibraryTrack(const std::string& path);
    // Keeps the allowed characters of edit; beeps when it removed any.
    void FilterDigits(QLineEdit* edit, std::string_view allowed);
    void fixedSizeChange(const char* field, std::string ShowSettings::*value);
    // The fitting rule: the fixed-size fields' visibility, and the hint text.
    void applyFittingVisibility();
    void applyFittingHint();
    // A show that does not start by itself always has its navigation bar.
    void applyAutostartRule();
    // The own-music field shows its hint text while empty.
    void showAudioHint();
    // Its play button shows while the field names a file that is there.
    void showAudioPlayButton();
    MusicPreview musicPreview_{app_};
    PictureButton* playingButton_ = nullptr;

    // Create page (CreatePage.cpp).
    ClickableLabel* lblFlashNotFound_;
    QFrame* panPreview_;
    player::PlayerView* FlashPlayerControl1_;
    QLineEdit* txtOutput_ = nullptr;
    bool previewBuilding_ = false;
    bool closeAfterBuild_ = false;  // closing waits for the build to stop
    std::optional<std::uint64_t> previewSeed_;
    void connectCreatePage();
    bool askLargeImages();
    void buildPreview();
    void startPreviewPlayer(const std::string& address, std::vector<std::string> pending);
    void openCompletionDialog();
    // The end of closing: the temporary folder removed, the program ended.
    void finishClosing();
};

}  // namespace lumetra::ui
