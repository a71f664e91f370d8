// The create page: the preview of the whole show, the page to write and
// the Create button, and the completion dialog after Create.

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <filesystem>

#include "app/Application.h"
#include "app/Platform.h"
#include "app/Services.h"
#include "generator/CreateFlow.h"
#include "generator/HtmlColor.h"
#include "generator/PictureBridge.h"
#include "generator/ShowDescription.h"
#include "generator/ShowLock.h"
#include "generator/ShowNames.h"
#include "lang/LangKeys.h"
#include "player/PlayerView.h"
#include "ui/ClickableLabel.h"
#include "ui/PageControls.h"
#include "ui/QtColor.h"
#include "ui/TfrmDialog.h"
#include "ui/TfrmMain.h"
#include "ui/TfrmMiscProgress.h"
#include "ui/WidgetStyle.h"

namespace lumetra::ui {

using namespace pages;
namespace fs = std::filesystem;

namespace {

// Unwinds a preview build that closing the window stopped.
struct PreviewStopped {};

// The preview plays as soon as the picture it shows first is written; the
// others reach the player as they are written.
struct EarlyStart {
    std::string address;             // the player's address for the preview
    std::vector<std::string> names;  // each slide's picture in the description
    std::vector<bool> written;
    std::size_t first = 0;  // the slide the show plays first
    bool started = false;

    // Once the description is written: what it plays and where.
    void describe(const Project& project, const fs::path& temp) {
        address = PreviewPlayerAddress(PreviewPagePath(project, temp));
        names = SlideOutputNames(project.ImgItems);
        written.assign(names.size(), false);
        const std::vector<int> order = PlayOrder(project);
        first = order.empty() ? 0 : std::size_t(order.front());
    }
    std::vector<std::string> pending() const {
        std::vector<std::string> still;
        for (std::size_t i = 0; i < names.size(); ++i)
            if (!written[i]) still.push_back(names[i]);
        return still;
    }
};

}  // namespace

void TfrmMain::buildCreatePage() {
    QWidget* p = panCreate_;
    subHeading(p, "lblPreview", 0, 2, "Vorschau Ihrer Diashow:");
    lblFlashNotFound_ = place<ClickableLabel>(p, "lblFlashNotFound", 231, 2, 350, 16);
    lblFlashNotFound_->setAlignment(Qt::AlignRight | Qt::AlignTop);
    lblFlashNotFound_->setText("Benötigen Sie Hilfe bei der Einbindung? Klicken Sie hier!");
    lblFlashNotFound_->setStyleSheet("color:#1A4FD6;text-decoration:underline;");
    lblFlashNotFound_->hide();
    panPreview_ = place<QFrame>(p, "panPreview", 0, 20, 581, 346);
    panPreview_->setFrameShape(QFrame::Panel);
    panPreview_->setFrameShadow(QFrame::Sunken);
    fillBackground(panPreview_, QColor(0xE4, 0xE7, 0xEC));
    player::PlayerView::Config preview;
    preview.loop = true;
    preview.contextMenu = true;
    FlashPlayerControl1_ = new player::PlayerView(preview, panPreview_);
    FlashPlayerControl1_->setObjectName("FlashPlayerControl1");
    FlashPlayerControl1_->setGeometry(1, 1, 579, 344);
    FlashPlayerControl1_->hide();
    txtOutput_ = place<QLineEdit>(p, "txtOutput", 0, 393, 386, 19);
    labelled(p, txtOutput_, "lblOutput", 0, 375, 386, "Diashow speichern unter:");
    pictureButton(p, "btnOutput", 390, 391, 21, 21, "btnOutput");
    auto* create = place<QPushButton>(p, "btnCreate", 447, 373, 134, 63);
    create->setText("Diashow erstellen");
    setBold(create);
    create->setCursor(Qt::PointingHandCursor);
    connectCreatePage();
}

void TfrmMain::connectCreatePage() {
    // Programmatic changes count as well (Create's safe name marks the project changed).
    connect(txtOutput_, &QLineEdit::textChanged, this, [this] { run([&] { txtOutputChange(); }); });
    connect(findChild<PictureButton*>("btnOutput"), &QAbstractButton::clicked, this,
            [this] { run([&] { btnOutputClick(); }); });
    connect(findChild<QPushButton*>("btnCreate"), &QAbstractButton::clicked, this,
            [this] { run([&] { btnCreateClick(); }); });
}

void TfrmMain::showOutputFile() {
    if (txtOutput_) txtOutput_->setText(QString::fromStdString(app_.project.Settings.OutputFile));
}

void TfrmMain::txtOutputChange() {
    Project& project = app_.project;
    if (project.Loading()) return;
    project.Settings.OutputFile = txtOutput_->text().toStdString();
    project.SetModified(true);
}

// ---------------------------------------------------------------- the preview

void TfrmMain::imgTab3Click() {
    if (!CheckPageChange(3)) return;
    const ShowSettings& settings = app_.project.Settings;
    fillBackground(panPreview_, settings.BackgroundTransparent
                                    ? QColor(Qt::white)
                                    : ToQColor(std::uint32_t(settings.BackgroundColor)));
    lblFlashNotFound_->setVisible(!playerInstalled_);
    ComputeImageExtents(app_.project);
    if (!askLargeImages()) return;
    currentPage_ = 3;
    showPage(3);
    FlashPlayerControl1_->hide();
    SetTabImages(2);
    buildPreview();
}

bool TfrmMain::askLargeImages() {
    Project& project = app_.project;
    if (!LargeImageQuestionDue(project)) return true;
    switch (app_.Message(lang::messages::kResizeLargeImg, mb::kQuestion)) {
        case mb::IDYES: {
            FitToLargeImageBox(project.Settings);
            project.SetModified(true);
            // The settings page mirrors the settings; filling it is no edit.
            Project::LoadingScope loading(project);
            showSettingsChanged();
            return true;
        }
        case mb::IDNO:
            project.LargeImageHintDeclined = true;
            return true;
        default:
            return false;
    }
}

void TfrmMain::SetFlashPlayer(int w, int h) {
    const PlayerPlacement placed =
        FitPreviewPlayer(w, h, panPreview_->width(), panPreview_->height());
    FlashPlayerControl1_->setGeometry(placed.left, placed.top, placed.width, placed.height);
}

void TfrmMain::buildPreview() {
    Project& project = app_.project;
    repaint();
    setEnabled(false);
    frmMiscProgress_->showWaiting();
    frmMiscProgress_->setMaximum(int(project.ImgItems.size()));
    frmMiscProgress_->setPosition(0);
    previewBuilding_ = true;
    struct Restore {
        TfrmMain* w;
        ~Restore() {
            w->previewBuilding_ = false;
            w->setEnabled(true);
            w->frmMiscProgress_->hide();
        }
    } restore{this};

    const fs::path temp = platform::instanceTempFolder();
    EarlyStart start;
    // All events: a close request counts as user input and must come
    // through. The disabled window takes no clicks or keys meanwhile.
    const auto stopWhenClosing = [this] {
        if (closeAfterBuild_) throw PreviewStopped{};
    };
    const auto keepPainting = [&] {
        QApplication::processEvents();
        stopWhenClosing();
    };
    BuildHooks hooks;
    hooks.documentsWritten = [&] {
        const StageSize size = ShowStageSize(project);
        SetFlashPlayer(size.W, size.H);
        start.describe(project, temp);
    };
    hooks.pictureWritten = [&](std::size_t slide) {
        if (slide >= start.written.size()) return;
        start.written[slide] = true;
        if (start.started) {
            FlashPlayerControl1_->pictureReady(start.names[slide]);
        } else if (slide == start.first) {
            startPreviewPlayer(start.address, start.pending());
            start.started = true;
        }
    };
    hooks.progress = [&](std::size_t done) {
        frmMiscProgress_->setPosition(int(done));
        keepPainting();
    };
    // While the workers convert, the window lives in its event loop (the web
    // view needs many quick turns of it to load the preview); a worker that
    // finishes a slide wakes the loop.
    hooks.waiting = [&] {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        stopWhenClosing();
    };
    hooks.wake = [] {
        if (QAbstractEventDispatcher* loop = QAbstractEventDispatcher::instance(qApp->thread()))
            loop->wakeUp();
    };
    if (previewSeed_) SeedShowRandom(*previewSeed_);
    try {
        BuildPreview(app_, temp, hooks, PreviewPanel{panPreview_->width(), panPreview_->height()});
        if (closeAfterBuild_) throw PreviewStopped{};  // asked while a message was up
    } catch (...) {
        if (!closeAfterBuild_) {
            // The preview plays what was written; nothing waits for the rest.
            FlashPlayerControl1_->releasePictures();
            throw;
        }
        closeAfterBuild_ = false;
        FlashPlayerControl1_->loadBare();
        finishClosing();
        return;
    }
    setEnabled(true);
    frmMiscProgress_->hide();
    repaint();
    // A preview without its description still plays what there is.
    if (!start.started)
        startPreviewPlayer(PreviewPlayerAddress(PreviewPagePath(project, temp)), {});
    else
        FlashPlayerControl1_->releasePictures();
}

void TfrmMain::startPreviewPlayer(const std::string& address, std::vector<std::string> pending) {
    const ShowSettings& settings = app_.project.Settings;
    FlashPlayerControl1_->setBackgroundColor(
        settings.BackgroundTransparent ? "" : ColorToHtml(settings.BackgroundColor).substr(1));
    FlashPlayerControl1_->loadBare();
    FlashPlayerControl1_->show();
    FlashPlayerControl1_->setLoop(settings.Loop);
    FlashPlayerControl1_->setPendingPictures(std::move(pending));
    FlashPlayerControl1_->setMovie(address);
}

// ---------------------------------------------------------------- the page and Create

void TfrmMain::btnOutputClick() {
    FileDialogRequest request;
    request.filter = app_.GetLangString(lang::gui::kHTMLFilter);
    request.initialPath = fs::path(txtOutput_->text().toStdString()).parent_path().string();
    // The project extension, as the save command has it; the page rule mends it.
    request.defaultExtension = "lmx";
    const std::optional<std::string> chosen = app_.services.saveFile(request);
    if (!chosen) return;
    txtOutput_->setText(QString::fromStdString(PagePathFromSaveDialog(*chosen)));
}

void TfrmMain::btnCreateClick() {
    Project& project = app_.project;
    const std::string page = AnchoredOutputFile(app_, txtOutput_->text().toStdString());
    txtOutput_->setText(QString::fromStdString(CreatedOutputFile(app_, page)));
    project.Settings.OutputFile = txtOutput_->text().toStdString();
    CreateResult created;
    {
        // One build of a show at a time, as lumetra-make holds it.
        const fs::path dataFolder = CreatedDataFolder(app_);
        if (!EnsureFolderFor(app_, dataFolder / "picture.jpg")) return;
        ShowLock lock;
        if (!ShowLock::TryAcquire(dataFolder, lock)) {
            app_.Message(lang::messages::kShowBusy, mb::kWarning, {project.Settings.OutputFile});
            return;
        }
        created = CreateShow(app_);
    }
    showOutputFile();
    if (!created) return;
    if (!created.unreadablePictures.empty()) {
        std::string list;
        for (const std::string& path : created.unreadablePictures)
            list += (list.empty() ? "" : "\n") + path;
        app_.Message(lang::messages::kShowIncomplete, mb::kWarning, {list});
    }
    openCompletionDialog();
}

void TfrmMain::openCompletionDialog() {
    TfrmDialog dialog(app_, txtOutput_->text().toStdString(), this);
    dialog.openPublishWizard = openPublishWizard;
    if (runModalDialog)
        runModalDialog(dialog);
    else
        dialog.exec();
}

}  // namespace lumetra::ui
