#include "ui/TfrmMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QMimeData>
#include <QScreen>
#include <QShortcut>
#include <QTreeWidget>
#include <QUrl>
#include <filesystem>

#include "app/Application.h"
#include "app/Platform.h"
#include "app/ProjectFile.h"
#include "app/Services.h"
#include "generator/ShowSources.h"
#include "player/PlayerInstallation.h"
#include "player/PlayerView.h"
#include "ui/ClickableLabel.h"
#include "ui/Geometry.h"
#include "ui/HandlerBoundary.h"
#include "ui/PictureWidgets.h"
#include "ui/PreviewDecoder.h"
#include "ui/TfrmMiscProgress.h"
#include "ui/WidgetStyle.h"
#include "update/TfrmUpdate.h"

namespace lumetra::ui {

namespace fs = std::filesystem;

namespace {

constexpr int kClientWidth = 780;
constexpr int kClientHeight = 550;
constexpr int kPageLeft = 177;
constexpr int kPageTop = 100;

const char* const kTabArt[3] = {"imgMenuBildauswahl", "imgMenuEinstellungen", "imgMenuErstellen"};
const char* const kTabNames[3] = {"imgTab1", "imgTab2", "imgTab3"};
const char* const kTabCaptions[3] = {"lblMenuBildauswahl", "lblMenuEinstellungen",
                                     "lblMenuErstellen"};

QFrame* page(QWidget* parent, const char* name, int w, int h) {
    return filledPanel(parent, name, {kPageLeft, kPageTop, w, h}, Qt::white);
}

}  // namespace

TfrmMain::TfrmMain(Application& app, Options options)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                           Qt::MSWindowsFixedSizeDialogHint),
      app_(app),
      options_(std::move(options)) {
    // FormCreate.
    setObjectName("frmMain");
    setFixedSize(kClientWidth, kClientHeight);
    fillBackground(this, QColor(0xF5, 0xF5, 0xF5));
    setAcceptDrops(true);

    timer1_.setTimerType(Qt::PreciseTimer);
    timer1_.setInterval(100);
    previewDecoder_ = new PreviewDecoder(this);
    buildFrame();
    buildImagePage();
    buildSettingsPage();
    buildCreatePage();
    frmMiscProgress_ = new TfrmMiscProgress(app_, this);
    connectHandlers();
    connectImagePage();
    addShortcuts();
    SetTabImages(0);
    currentPage_ = 1;
    showPage(1);
    app_.project.setView(this);
}

TfrmMain::~TfrmMain() {
    app_.project.setView(nullptr);
}

void TfrmMain::buildFrame() {
    imgPanImage_ = place<PictureWidget>(this, "imgPanImage", 0, 0, kClientWidth, kClientHeight);
    imgPanImage_->setArt("imgBGde");
    imgMenuNew_ = place<PictureButton>(this, "imgMenuNew", 35, 95, 22, 22);
    imgMenuLoad_ = place<PictureButton>(this, "imgMenuLoad", 65, 95, 22, 22);
    imgMenuSave_ = place<PictureButton>(this, "imgMenuSave", 95, 95, 22, 22);
    imgMenuUpdate_ = place<PictureButton>(this, "imgMenuUpdate", 695, 25, 35, 31);
    QFont captionFont = font();
    captionFont.setPointSizeF(10);
    captionFont.setBold(true);
    for (int i = 0; i < 3; ++i) {
        imgTab_[i] = place<PictureWidget>(this, kTabNames[i], 1, 136 + 67 * i, 160, 64);
        imgTab_[i]->setCursor(Qt::PointingHandCursor);
        lblMenu_[i] = placeAuto<ClickableLabel>(this, kTabCaptions[i], 68, 159 + 67 * i);
        lblMenu_[i]->setFont(captionFont);
        lblMenu_[i]->setAlignment(Qt::AlignCenter);
        lblMenu_[i]->setAttribute(Qt::WA_TranslucentBackground);
        setTextColour(lblMenu_[i], QColor(0x00, 0x00, 0x80));
    }
    lblMenu_[0]->setText("Bildauswahl");
    lblMenu_[1]->setText("Einstellungen");
    lblMenu_[2]->setText("Erstellen");
    for (auto* label : lblMenu_) label->adjustSize();
    panImage_ = page(this, "panImage", 598, 441);
    panSettings_ = page(this, "panSettings", 589, 434);
    panCreate_ = page(this, "panCreate", 594, 441);
}

void TfrmMain::connectHandlers() {
    connect(imgMenuNew_, &QAbstractButton::clicked, this,
            [this] { run([&] { imgMenuNewClick(); }); });
    connect(imgMenuLoad_, &QAbstractButton::clicked, this,
            [this] { run([&] { imgMenuLoadClick(); }); });
    connect(imgMenuSave_, &QAbstractButton::clicked, this,
            [this] { run([&] { imgMenuSaveClick(); }); });
    connect(imgMenuUpdate_, &QAbstractButton::clicked, this,
            [this] { run([&] { imgMenuUpdateClick(); }); });
    const std::pair<PictureButton*, HoverTarget> buttons[] = {
        {imgMenuNew_, HoverTarget::New},
        {imgMenuLoad_, HoverTarget::Load},
        {imgMenuSave_, HoverTarget::Save},
        {imgMenuUpdate_, HoverTarget::Update}};
    for (auto [button, target] : buttons)
        connect(button, &PictureButton::mouseMoved, this,
                [this, target = target] { run([&] { imgMenuMouseMove(target); }); });
    for (int i = 0; i < 3; ++i) {
        auto click = [this, i] {
            run([&] {
                if (i == 0) imgTab1Click();
                if (i == 1) imgTab2Click();
                if (i == 2) imgTab3Click();
            });
        };
        connect(imgTab_[i], &PictureWidget::clicked, this, click);
        connect(lblMenu_[i], &ClickableLabel::clicked, this, click);
        auto move = [this, i] { run([&] { imgTabMouseMove(i + 1); }); };
        connect(imgTab_[i], &PictureWidget::mouseMoved, this, move);
        connect(lblMenu_[i], &ClickableLabel::mouseMoved, this, move);
    }
    connect(imgPanImage_, &PictureWidget::mouseMoved, this,
            [this] { run([&] { imgPanImageMouseMove(); }); });
    connect(&timer1_, &QTimer::timeout, this, [this] { run([&] { Timer1Timer(); }); });
    connect(lblFlashNotFound_, &ClickableLabel::clicked, this,
            [this] { run([&] { lblFlashNotFoundClick(); }); });
}

void TfrmMain::addShortcuts() {
    const std::pair<QKeySequence, void (TfrmMain::*)()> keys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_N), &TfrmMain::imgMenuNewClick},
        {QKeySequence(Qt::CTRL | Qt::Key_O), &TfrmMain::imgMenuLoadClick},
        {QKeySequence(Qt::CTRL | Qt::Key_S), &TfrmMain::imgMenuSaveClick},
    };
    for (auto [key, handler] : keys) {
        auto* shortcut = new QShortcut(key, this);
        connect(shortcut, &QShortcut::activated, this,
                [this, handler = handler] { run([&] { (this->*handler)(); }); });
    }
    auto* quit = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), this);
    connect(quit, &QShortcut::activated, this, [this] { run([&] { FormCloseQuery(); }); });
}

// ---------------------------------------------------------------- showing

bool TfrmMain::event(QEvent* e) {
    const bool handled = QWidget::event(e);
    // The window is on the screen before any web view starts.
    if (e->type() == QEvent::Paint && !webViewsScheduled_) {
        webViewsScheduled_ = true;
        // The start-up benchmark: the moment of the first paint, then the end.
        if (const char* report = std::getenv("LUMETRA_REPORT_FIRST_PAINT")) {
            timespec now{};
            clock_gettime(CLOCK_REALTIME, &now);
            std::fprintf(stderr, "first-paint %lld.%09ld\n", static_cast<long long>(now.tv_sec),
                         now.tv_nsec);
            if (std::string(report) == "exit") {
                QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
                return handled;
            }
        }
        if (options_.webViews)
            QTimer::singleShot(0, this, [this] { run([&] { createWebViews(); }); });
    }
    return handled;
}

void TfrmMain::createWebViews() {
    if (!playerInstalled_) return;
    FlashPlayerControl2_->createWebView();
    FlashPlayerControl1_->createWebView();
}

void TfrmMain::centreOnScreen() {
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
}

void TfrmMain::FormShow() {
    PlayEffectDemo(true);
    app_.project.LargeImageHintDeclined = false;
    playerInstalled_ = player::PlayerInstalled(app_.dataFolder());
    if (!playerInstalled_) flashPlayerNotice(false);
}

void TfrmMain::flashPlayerNotice(bool onDemand) {
    int counter = app_.settings.read(settings::kFlashWarning);
    if (!onDemand && counter != 0) return;
    ++counter;
    app_.settings.write(settings::kFlashWarning, counter);
    const std::string download = app_.GetLangString(lang::internet::kFlashDownload);
    if (app_.Message(lang::messages::kFlashNotFound, mb::kQuestionYesNo, {download}) == mb::IDYES)
        app_.services.openUrl(download + "&flashcheck=" + std::to_string(counter));
}

void TfrmMain::lblFlashNotFoundClick() {
    flashPlayerNotice(true);
}

// ---------------------------------------------------------------- pages

void TfrmMain::showPage(int page) {
    panImage_->setVisible(page == 1);
    panSettings_->setVisible(page == 2);
    panCreate_->setVisible(page == 3);
}

void TfrmMain::imgTab1Click() {
    if (!CheckPageChange(1)) return;
    currentPage_ = 1;
    showPage(1);
    SetTabImages(0);
}

void TfrmMain::imgTab2Click() {
    if (!CheckPageChange(2)) return;
    currentPage_ = 2;
    showPage(2);
    SetTabImages(1);
}

bool TfrmMain::CheckPageChange(int target) {
    Project& project = app_.project;
    app_.services.stopAudio();
    // No player keeps running behind the next page.
    FlashPlayerControl1_->loadBare();
    FlashPlayerControl1_->stop();
    FlashPlayerControl2_->loadBare();
    demoPictureShown_ = false;
    hideDemoPlayer();
    // A switch that a refusal makes itself checks no further: a missing
    // picture and a missing own music file would otherwise send the window
    // back and forth between pages 1 and 2 for ever.
    if (redirecting_) return true;
    struct Redirect {
        bool& flag;
        explicit Redirect(bool& f) : flag(f) { flag = true; }
        ~Redirect() { flag = false; }
    };
    if (target == 2 || target == 3) {
        const ShowSourcesCheck pictures = CheckShowPictures(project);
        if (pictures.result == ShowSourcesCheck::Result::NoPictures) {
            {
                Redirect r(redirecting_);
                imgTab1Click();
            }
            ReportShowSources(app_, pictures);
            return false;
        }
        if (pictures.result == ShowSourcesCheck::Result::MissingPicture) {
            {
                Redirect r(redirecting_);
                imgTab1Click();
            }
            lsvGFX_->setEnabled(false);
            ReportShowSources(app_, pictures);
            lsvGFX_->setEnabled(true);
            lsvGFX_->setFocus();
            update();
            return false;
        }
    }
    if (target == 2) {
        showAudioHint();
        return true;
    }
    if (project.Settings.audioMode == AudioMode::OwnFile) {
        const ShowSourcesCheck audio = CheckOwnAudio(project);
        if (audio.result == ShowSourcesCheck::Result::AudioEmptied) {
            // Own music without a file became no music: a change of the project.
            project.SetModified(true);
            showSettingsChanged();
            return true;
        }
        if (audio.result == ShowSourcesCheck::Result::MissingAudio) {
            {
                Redirect r(redirecting_);
                imgTab2Click();
            }
            ReportShowSources(app_, audio);
            return false;
        }
    }
    return true;
}

void TfrmMain::SetTabImages(int k) {
    lumetra::SetTabImages(hover_, k);
    applyHover();
}

void TfrmMain::applyHover() {
    for (int i = 0; i < 3; ++i)
        imgTab_[i]->setArt(QString("%1%2").arg(kTabArt[i]).arg(static_cast<int>(hover_.tabs[i])));
    imgMenuNew_->setArt(hover_.newHover ? "imgMenuNew1" : "imgMenuNew0");
    imgMenuLoad_->setArt(hover_.loadHover ? "imgMenuLoad1" : "imgMenuLoad0");
    imgMenuSave_->setArt(hover_.saveHover ? "imgMenuSave1" : "imgMenuSave0");
    imgMenuUpdate_->setArt(hover_.updateHover ? "imgMenuUpdate1" : "imgMenuUpdate0");
}

void TfrmMain::imgTabMouseMove(int tab) {
    MoveOver(hover_, static_cast<HoverTarget>(static_cast<int>(HoverTarget::Tab1) + tab - 1),
             currentPage_);
    applyHover();
}

void TfrmMain::imgMenuMouseMove(HoverTarget target) {
    MoveOver(hover_, target, currentPage_);
    applyHover();
}

void TfrmMain::imgPanImageMouseMove() {
    MoveOver(hover_, HoverTarget::Background, currentPage_);
    applyHover();
}

void TfrmMain::leaveEvent(QEvent* event) {
    run([&] { imgPanImageMouseMove(); });
    QWidget::leaveEvent(event);
}

// ---------------------------------------------------------------- project commands

bool TfrmMain::askSaveChanges() {
    Project& project = app_.project;
    if (!project.Modified()) return true;
    switch (app_.Message(lang::messages::kSaveChanges, mb::kQuestion)) {
        case mb::IDYES:
            if (!project.ProjectFileName.empty() && platform::fileExists(project.ProjectFileName))
                SaveProject(app_, project.ProjectFileName);
            else
                imgMenuSaveClick();
            return true;  // also when the Save dialog was cancelled
        case mb::IDNO:
            return true;
        default:
            return false;
    }
}

void TfrmMain::imgMenuNewClick() {
    if (!askSaveChanges()) return;
    NewProject(app_);
    imgTab1Click();
    lsvGFX_->setEnabled(false);
    lsvGFX_->setEnabled(true);
    lsvGFX_->setFocus();
    update();
}

void TfrmMain::imgMenuLoadClick() {
    if (!askSaveChanges()) return;
    FileDialogRequest request;
    request.filter = app_.GetLangString(lang::gui::kProjFileFilter);
    const auto chosen = app_.services.openFiles(request, false);
    if (chosen.empty()) return;
    LoadProject(app_, chosen.front());
}

void TfrmMain::imgMenuSaveClick() {
    FileDialogRequest request;
    request.filter = app_.GetLangString(lang::gui::kProjFileFilter);
    request.defaultExtension = "lmx";
    const auto chosen = app_.services.saveFile(request);
    if (!chosen) return;
    SaveProject(app_, *chosen);
}

void TfrmMain::imgMenuUpdateClick() {
    // Made for this use and released when it closes.
    TfrmUpdate frmUpdate(app_, this);
    frmUpdate.showModal();
}

// ---------------------------------------------------------------- closing

void TfrmMain::closeEvent(QCloseEvent* event) {
    // The window ends the program itself when closing may go on.
    event->ignore();
    run([&] { FormCloseQuery(); });
}

bool TfrmMain::FormCloseQuery() {
    lsvGFX_->setEnabled(false);
    bool goOn = false;
    try {
        goOn = askSaveChanges();
    } catch (...) {
        lsvGFX_->setEnabled(true);
        throw;
    }
    if (!goOn) {
        lsvGFX_->setEnabled(true);
        return false;
    }
    // A preview build stops at its next slide and ends the closing itself.
    if (previewBuilding_) {
        closeAfterBuild_ = true;
        return true;
    }
    finishClosing();
    return true;
}

void TfrmMain::finishClosing() {
    timer1_.stop();
    musicPreview_.stop();
    musicPreview_.removeLeftovers();
    try {
        platform::removeInstanceTempFolder();
    } catch (const std::exception&) {
        // A temporary folder that cannot be removed is no reason to stay.
    }
    if (options_.terminate)
        options_.terminate();
    else
        QCoreApplication::quit();
}

// ---------------------------------------------------------------- project view

void TfrmMain::titleChanged(const std::string& title) {
    setWindowTitle(QString::fromStdString(title));
}

void TfrmMain::addHintShown(bool visible) {
    panAddHint_->setVisible(visible);
    SetControlStates();
}

// ---------------------------------------------------------------- drag and drop

void TfrmMain::dragEnterEvent(QDragEnterEvent* event) {
    if (currentPage_ == 1 && event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TfrmMain::dropEvent(QDropEvent* event) {
    std::vector<std::string> files;
    std::vector<std::string> folders;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (!url.isLocalFile()) continue;
        const std::string path = url.toLocalFile().toStdString();
        std::error_code ec;
        (fs::is_directory(path, ec) ? folders : files).push_back(path);
    }
    event->acceptProposedAction();
    run([&] {
        if (!files.empty()) addFiles(files);
        for (const std::string& folder : folders) addFolder(folder);
    });
}

}  // namespace lumetra::ui
