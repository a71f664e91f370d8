// The image page of the main window: the slide list with its commands, the
// preview picture and the enable rules (SetControlStates).

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QHash>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTreeWidget>
#include <filesystem>

#include "app/Application.h"
#include "app/ControlStates.h"
#include "app/Platform.h"
#include "app/Services.h"
#include "app/SlideList.h"
#include "generator/PictureBridge.h"
#include "lang/Messages.h"
#include "player/PlayerView.h"
#include "ui/ClickableLabel.h"
#include "ui/Geometry.h"
#include "ui/HandlerBoundary.h"
#include "ui/PageControls.h"
#include "ui/PictureWidgets.h"
#include "ui/PreviewDecoder.h"
#include "ui/TfrmMain.h"
#include "ui/TfrmMiscProgress.h"

namespace lumetra::ui {

namespace fs = std::filesystem;

namespace {

constexpr int kPreviewWidth = 201;

// The demonstration's still pictures, read once each.
QImage StillPicture(const fs::path& file) {
    static QHash<QString, QImage> pictures;
    const QString key = QString::fromStdString(file.string());
    auto it = pictures.find(key);
    if (it == pictures.end()) it = pictures.insert(key, QImage(key));
    return *it;
}
constexpr int kPreviewHeight = 196;

PictureButton* listButton(QWidget* parent, const char* name, int y, const char* art) {
    auto* button = place<PictureButton>(parent, name, 359, y, 24, 24);
    button->setArt(art);
    button->setHoverFrame(true);
    return button;
}

}  // namespace

void TfrmMain::buildImagePage() {
    QWidget* p = panImage_;
    lblBildauswahl_ = pages::subHeading(p, "lblBildauswahl", 0, 8, "Bildauswahl");
    lblBildvorschau_ = pages::subHeading(p, "lblBildvorschau", 390, 8, "Bildvorschau");

    lsvGFX_ = place<QTreeWidget>(p, "lsvGFX", 0, 30, 357, 196);
    lsvGFX_->setColumnCount(3);
    lsvGFX_->setHeaderLabels({"Dateiname", "Übergangseffekt", "Dauer"});
    lsvGFX_->setColumnWidth(0, 140);
    lsvGFX_->setColumnWidth(1, 135);
    lsvGFX_->setColumnWidth(2, 55);
    lsvGFX_->setRootIsDecorated(false);
    lsvGFX_->setUniformRowHeights(true);
    lsvGFX_->setItemsExpandable(false);
    lsvGFX_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lsvGFX_->setSelectionBehavior(QAbstractItemView::SelectRows);
    lsvGFX_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lsvGFX_->setAllColumnsShowFocus(true);
    lsvGFX_->header()->setSectionsMovable(false);
    // The selection stays visible while the list has no focus.
    QPalette palette = lsvGFX_->palette();
    for (auto role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    lsvGFX_->setPalette(palette);
    lsvGFX_->installEventFilter(this);

    panAddHint_ = place<QWidget>(p, "panAddHint", 109, 59, 139, 138);
    imgAddHint_ = place<PictureWidget>(panAddHint_, "imgAddHint", 0, 0, 139, 138);
    imgAddHint_->setArt("imgAddHintDe");
    panAddHint_->setAttribute(Qt::WA_TransparentForMouseEvents);

    btnAdd_ = listButton(p, "btnAdd", 30, "btnAdd");
    btnAddDir_ = listButton(p, "btnAddDir", 64, "btnAddDir");
    btnRemove_ = listButton(p, "btnRemove", 98, "btnRemove");
    btnUp_ = listButton(p, "btnUp", 133, "btnUp");
    btnDown_ = listButton(p, "btnDown", 167, "btnDown");
    btnSelAll_ = listButton(p, "btnSelAll", 202, "btnSelAll");

    panPreviewFrame_ = place<QFrame>(p, "panPreviewFrame", 390, 30, kPreviewWidth, kPreviewHeight);
    panPreviewFrame_->setFrameShape(QFrame::Box);
    panPreviewFrame_->setStyleSheet(
        "#panPreviewFrame{border:1px solid #C9D3E0;background:#FAFBFD;}");
    imgPreview_ =
        place<PictureWidget>(panPreviewFrame_, "imgPreview", 0, 0, kPreviewWidth, kPreviewHeight);
    imgImgNotFound_ = place<PictureWidget>(panPreviewFrame_, "imgImgNotFound", 84, 12, 32, 32);
    imgImgNotFound_->setArt("imgImgNotFound");
    txtImgNotFound_ = place<QPlainTextEdit>(panPreviewFrame_, "txtImgNotFound", 10, 52, 180, 136);
    txtImgNotFound_->setReadOnly(true);
    txtImgNotFound_->setFocusPolicy(Qt::NoFocus);
    txtImgNotFound_->setFrameShape(QFrame::NoFrame);
    txtImgNotFound_->setStyleSheet("background:transparent;");
    imgImgNotFound_->hide();
    txtImgNotFound_->hide();

    lblBildeigenschaften_ = pages::subHeading(p, "lblBildeigenschaften", 0, 237, "Eigenschaften");
    txtDuration_ = place<QSpinBox>(p, "txtDuration", 100, 260, 56, 20);
    txtDuration_->setRange(1, 9999);
    txtDuration_->setValue(5);
    lblDuration_ = pages::labelled(p, txtDuration_, "lblDuration", 0, 262, 98, "Bildanzeigedauer:");
    lblDuration2_ = place<QLabel>(p, "lblDuration2", 162, 262, 90, 16);
    lblDuration2_->setText("Sekunden");
    txtImgTitle_ = place<QLineEdit>(p, "txtImgTitle", 100, 288, 257, 19);
    lblImgTitle_ = pages::labelled(p, txtImgTitle_, "lblImgTitle", 0, 289, 98, "Bildtitel:");
    txtImgDesc_ = place<QPlainTextEdit>(p, "txtImgDesc", 100, 315, 257, 53);
    txtImgDesc_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtImgDesc_->setTabChangesFocus(true);
    lblImgDesc_ = pages::labelled(p, txtImgDesc_, "lblImgDesc", 0, 316, 98, "Bildbeschreibung:");
    panTextColor_ = place<ColorSwatch>(p, "panTextColor", 101, 377, 255, 16);
    lblTextColor_ = pages::labelled(p, nullptr, "lblTextColor", 0, 377, 98, "Textfarbe:");
    txtImgLink_ = place<QLineEdit>(p, "txtImgLink", 100, 402, 257, 19);
    lblImgLink_ = pages::labelled(p, txtImgLink_, "lblImgLink", 0, 403, 98, "Link:");

    lblUebergangseffekt_ = pages::subHeading(p, "lblUebergangseffekt", 390, 237, "Übergangseffekt");
    cboEffectsIn_ = place<QComboBox>(p, "cboEffectsIn", 390, 260, 198, 21);
    cboEffectsIn_->setEditable(false);
    cboEffectsIn_->setMaxVisibleItems(16);
    imgEffectInfo_ = place<PictureButton>(p, "imgEffectInfo", 570, 237, 16, 16);
    imgEffectInfo_->setArt("imgEffectInfo");
    lblEffektvorschau_ = place<QLabel>(p, "lblEffektvorschau", 390, 296, 198, 16);
    lblEffektvorschau_->setText("Effektvorschau:");
    panEffectDemoCanvas_ = place<QWidget>(p, "panEffectDemoCanvas", 391, 316, 148, 104);
    imgEffectDemoCanvas_ =
        place<PictureWidget>(panEffectDemoCanvas_, "imgEffectDemoCanvas", 0, 0, 148, 104);
    player::PlayerView::Config demo;
    demo.loop = false;
    demo.transparent = true;
    demo.contextMenu = false;
    FlashPlayerControl2_ = new player::PlayerView(demo, p);
    FlashPlayerControl2_->setObjectName("FlashPlayerControl2");
    FlashPlayerControl2_->setGeometry(391, 316, 148, 104);
    FlashPlayerControl2_->stackUnder(panEffectDemoCanvas_);
    btnPlayDemo_ = place<PictureButton>(p, "btnPlayDemo", 545, 316, 41, 35);
    btnPlayDemo_->setArt("btnPlayDemo");
    btnPlayDemo_->setHoverFrame(true);
}

void TfrmMain::connectImagePage() {
    const std::pair<PictureButton*, void (TfrmMain::*)()> buttons[] = {
        {btnAdd_, &TfrmMain::btnAddClick},
        {btnAddDir_, &TfrmMain::btnAddDirClick},
        {btnRemove_, &TfrmMain::btnRemoveClick},
        {btnUp_, &TfrmMain::btnUpClick},
        {btnDown_, &TfrmMain::btnDownClick},
        {btnSelAll_, &TfrmMain::btnSelAllClick},
        {imgEffectInfo_, &TfrmMain::imgEffectInfoClick},
        {btnPlayDemo_, &TfrmMain::btnPlayDemoClick},
    };
    for (auto [button, handler] : buttons)
        connect(button, &QAbstractButton::clicked, this,
                [this, handler = handler] { run([&] { (this->*handler)(); }); });
    // Each changed row once, deselections before selections, rows ascending.
    connect(lsvGFX_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& selected, const QItemSelection& deselected) {
                auto rows = [](const QItemSelection& s) {
                    std::vector<int> out;
                    for (const QModelIndex& index : s.indexes())
                        if (index.column() == 0) out.push_back(index.row());
                    std::sort(out.begin(), out.end());
                    out.erase(std::unique(out.begin(), out.end()), out.end());
                    return out;
                };
                run([&] {
                    for (int row : rows(deselected)) lsvGFXSelectItem(row, false);
                    for (int row : rows(selected)) lsvGFXSelectItem(row, true);
                });
            });
    connect(txtImgTitle_, &QLineEdit::textChanged, this,
            [this] { run([&] { txtImgTitleChange(); }); });
    connect(txtImgDesc_, &QPlainTextEdit::textChanged, this,
            [this] { run([&] { txtImgDescChange(); }); });
    connect(txtImgLink_, &QLineEdit::textChanged, this,
            [this] { run([&] { txtImgLinkChange(); }); });
    connect(txtDuration_, &QSpinBox::textChanged, this,
            [this](const QString& text) { run([&] { txtDurationChange(text); }); });
    connect(cboEffectsIn_, &QComboBox::activated, this,
            [this](int index) { run([&] { cboEffectsInClick(index); }); });
    connect(cboEffectsIn_, &QComboBox::currentIndexChanged, this,
            [this](int index) { run([&] { cboEffectsInChange(index); }); });
    connect(panTextColor_, &ColorSwatch::clicked, this,
            [this] { run([&] { panTextColorClick(); }); });
    connect(previewDecoder_, &PreviewDecoder::decoded, this,
            [this](unsigned n, const QString& path, const QImage& image, bool ok) {
                run([&] { previewDecoded(n, path, image, ok); });
            });
    connect(FlashPlayerControl2_, &player::PlayerView::slideShown, this,
            [this](int index) { run([&] { demoPlayerSlideShown(index); }); });
    connect(FlashPlayerControl2_, &player::PlayerView::rendererTerminated, this,
            [this] { run([&] { demoPlayerTerminated(); }); });
    connect(FlashPlayerControl1_, &player::PlayerView::rendererTerminated, this, [this] {
        playerInstalled_ = false;
        lblFlashNotFound_->show();
    });
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lsvGFX_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Delete) {  // lsvGFXKeyDown
            run([&] { btnRemoveClick(); });
            return true;
        }
        if (key->matches(QKeySequence::SelectAll)) {
            run([&] { btnSelAllClick(); });
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// ---------------------------------------------------------------- rows

std::string TfrmMain::effectName(int index) {
    const lang::LangKey key = lang::EffectNameKey(index);
    return app_.language.GetLangString(std::string(key.section), std::string(key.key));
}

void TfrmMain::rewriteRow(std::size_t index) {
    const recImgItems& slide = app_.project.ImgItems[index];
    QTreeWidgetItem* item = lsvGFX_->topLevelItem(int(index));
    item->setText(0, QString::fromStdString(fs::path(slide.FileName).filename().string()));
    item->setText(1, QString::fromStdString(effectName(slide.EffectIn)));
    item->setText(2, QString::fromStdString(std::to_string(slide.Duration / 1000) + " " +
                                            app_.GetLangString(lang::frmMain::kSecondsShort)));
}

void TfrmMain::AddSlideRow(std::size_t index) {
    lsvGFX_->addTopLevelItem(new QTreeWidgetItem(QStringList{"", "", ""}));
    rewriteRow(index);
}

void TfrmMain::slideRowsCleared() {
    // NewProject and LoadProject: rows and property fields as for a new project.
    lsvGFX_->clear();
    txtImgTitle_->clear();
    txtImgDesc_->clear();
    txtImgLink_->clear();
    txtDuration_->setValue(5);
    imgPreview_->clear();
    previewDecoder_->cancel();
    cboEffectsIn_->setCurrentIndex(cboEffectsIn_->count() > 0 ? 0 : -1);
    panTextColor_->setColor(0xFFFFFF);
    SetControlStates();
}

void TfrmMain::slideRowAppended(std::size_t index) {
    AddSlideRow(index);
}

void TfrmMain::firstSlideSelected() {
    lsvGFX_->clearSelection();
    lsvGFX_->topLevelItem(0)->setSelected(true);
    lsvGFX_->setCurrentItem(lsvGFX_->topLevelItem(0), 0, QItemSelectionModel::NoUpdate);
}

std::vector<int> TfrmMain::selectedRows() const {
    std::vector<int> rows;
    const int n = lsvGFX_->topLevelItemCount();
    for (int i = 0; i < n; ++i)
        if (lsvGFX_->topLevelItem(i)->isSelected()) rows.push_back(i);
    return rows;
}

RowSelection TfrmMain::rowSelection() const {
    RowSelection selection(std::size_t(lsvGFX_->topLevelItemCount()), false);
    for (int row : selectedRows()) selection[std::size_t(row)] = true;
    return selection;
}

void TfrmMain::setRowSelection(const RowSelection& selection) {
    // Row by row, so every change raises the selection event as a click would.
    for (std::size_t i = 0; i < selection.size(); ++i) {
        QTreeWidgetItem* item = lsvGFX_->topLevelItem(int(i));
        if (item->isSelected() != selection[i]) item->setSelected(selection[i]);
    }
}

// ---------------------------------------------------------------- adding

void TfrmMain::addSlides(const std::vector<std::string>& paths) {
    Project& project = app_.project;
    const ImageSizeReader readSize = PictureSizeReader();
    frmMiscProgress_->showWaiting();
    frmMiscProgress_->setStatus(
        QString::fromStdString(app_.GetLangString(lang::messages::kLoadingImages)));
    frmMiscProgress_->setMaximum(int(paths.size()));
    frmMiscProgress_->setPosition(0);
    for (const std::string& path : paths) {
        frmMiscProgress_->stepIt();
        frmMiscProgress_->repaintNow();
        lsvGFX_->viewport()->update();
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        project.ImgItems.push_back(NewSlide(path, txtDuration_->value(), readSize));
        AddSlideRow(project.ImgItems.size() - 1);
    }
}

void TfrmMain::addFiles(const std::vector<std::string>& paths) {
    Project& project = app_.project;
    panAddHint_->hide();
    project.SetModified(true);
    update();
    setEnabled(false);
    struct Restore {
        TfrmMain* w;
        ~Restore() {
            w->setEnabled(true);
            w->frmMiscProgress_->hide();
        }
    } restore{this};
    addSlides(paths);
    setEnabled(true);
    frmMiscProgress_->hide();
    if (lsvGFX_->topLevelItemCount() > 0) {
        lsvGFX_->clearSelection();
        QTreeWidgetItem* last = lsvGFX_->topLevelItem(lsvGFX_->topLevelItemCount() - 1);
        last->setSelected(true);
        lsvGFX_->setCurrentItem(last, 0, QItemSelectionModel::NoUpdate);
        lsvGFX_->scrollToItem(last);
    }
    lsvGFX_->hide();
    lsvGFX_->show();
    SetControlStates();
}

void TfrmMain::btnAddClick() {
    FileDialogRequest request;
    request.filter = app_.GetLangString(lang::gui::kImgFileFilter);
    request.initialPath = addGfxFolder_;
    const std::vector<std::string> chosen = app_.services.openFiles(request, true);
    if (chosen.empty()) {
        addGfxFolder_.clear();
        return;
    }
    addFiles(chosen);
    addGfxFolder_ = fs::path(chosen.front()).parent_path().string();
}

void TfrmMain::addFolder(const std::string& folder) {
    Project& project = app_.project;
    project.SetModified(true);
    setEnabled(false);
    repaint();
    struct Restore {
        TfrmMain* w;
        ~Restore() {
            w->lsvGFX_->show();
            w->setEnabled(true);
            w->frmMiscProgress_->hide();
        }
    } restore{this};
    const std::vector<std::string> paths = FolderImageFiles(folder);
    addSlides(paths);
    lsvGFX_->hide();
    setEnabled(true);
    frmMiscProgress_->hide();
    lsvGFX_->show();
    if (lsvGFX_->topLevelItemCount() > 0) {
        lsvGFX_->clearSelection();
        QTreeWidgetItem* last = lsvGFX_->topLevelItem(lsvGFX_->topLevelItemCount() - 1);
        last->setSelected(true);
        lsvGFX_->setCurrentItem(last, 0, QItemSelectionModel::NoUpdate);
        lsvGFX_->scrollToItem(last);
        lsvGFX_->hide();
        lsvGFX_->show();
    }
    if (project.ImgItems.empty()) SetControlStates();
}

void TfrmMain::btnAddDirClick() {
    const auto folder =
        app_.services.chooseFolder(app_.GetLangString(lang::gui::kSelectDir), std::string());
    if (!folder) return;
    addFolder(*folder);
}

// ---------------------------------------------------------------- list commands

void TfrmMain::btnRemoveClick() {
    Project& project = app_.project;
    RowSelection selection = rowSelection();
    {
        // The rows go with their slides; the selection events of the removal
        // itself fill nothing.
        const QSignalBlocker quiet(lsvGFX_->selectionModel());
        for (int i = int(selection.size()) - 1; i >= 0; --i)
            if (selection[std::size_t(i)]) delete lsvGFX_->takeTopLevelItem(i);
    }
    const int select = RemoveSelectedSlides(project.ImgItems, selection);
    lsvGFX_->clearSelection();
    if (select < 0) {
        imgPreview_->clear();
        previewDecoder_->cancel();
    } else {
        QTreeWidgetItem* item = lsvGFX_->topLevelItem(select);
        item->setSelected(true);
        lsvGFX_->setCurrentItem(item, 0, QItemSelectionModel::NoUpdate);
    }
    project.SetModified(true);
    SetControlStates();
}

void TfrmMain::btnUpClick() {
    Project& project = app_.project;
    RowSelection selection = rowSelection();
    if (selection.empty() || selection.front()) return;
    project.SetModified(true);
    const auto changed = MoveSelectedSlidesUp(project.ImgItems, selection);
    for (std::size_t row : changed) rewriteRow(row);
    setRowSelection(selection);
    SetControlStates();
}

void TfrmMain::btnDownClick() {
    Project& project = app_.project;
    RowSelection selection = rowSelection();
    if (selection.empty() || selection.back()) return;
    project.SetModified(true);
    const auto changed = MoveSelectedSlidesDown(project.ImgItems, selection);
    for (std::size_t row : changed) rewriteRow(row);
    setRowSelection(selection);
    SetControlStates();
}

void TfrmMain::btnSelAllClick() {
    lsvGFX_->selectAll();
    SetControlStates();
}

// ---------------------------------------------------------------- selection

void TfrmMain::lsvGFXSelectItem(int row, bool selected) {
    Project& project = app_.project;
    Project::LoadingScope loading(project);
    const bool valid = row >= 0 && row < int(project.ImgItems.size());
    if (valid && selected) {
        const recImgItems& slide = project.ImgItems[std::size_t(row)];
        if (platform::fileExists(slide.FileName)) {
            txtImgNotFound_->hide();
            imgImgNotFound_->hide();
            imgPreview_->show();
            if (selectedRows().size() == 1) requestPreview(slide.FileName);
        } else {
            previewDecoder_->cancel();
            txtImgNotFound_->setPlainText(QString::fromStdString(
                MessageText(app_.language, lang::messages::kFileDoesntExist, {slide.FileName})));
            txtImgNotFound_->show();
            imgImgNotFound_->show();
            imgPreview_->hide();
            lsvGFX_->viewport()->update();
        }
    }
    if (valid) {
        fillFields(project.ImgItems[std::size_t(row)]);
        enableFields(true);
    }
    SetControlStates();
}

void TfrmMain::requestPreview(const std::string& path) {
    PreviewRequest request{path, imgPreview_->width(), imgPreview_->height(), devicePixelRatioF()};
    previewNumber_ = previewDecoder_->request(request);
}

void TfrmMain::previewDecoded(unsigned number, const QString& path, const QImage& image, bool ok) {
    if (number != previewNumber_) return;
    if (ok) {
        imgPreview_->setImage(image);
        return;
    }
    imgPreview_->clear();
    app_.Message(lang::messages::kImgErr, mb::kError, {path.toStdString()});
}

// ---------------------------------------------------------------- enable rules

void TfrmMain::enableFields(bool enabled) {
    for (QWidget* w : std::initializer_list<QWidget*>{
             lblBildeigenschaften_, lblImgDesc_, txtImgTitle_, lblImgTitle_, txtImgDesc_,
             txtImgLink_, lblImgLink_, lblDuration_, lblDuration2_, lblTextColor_, panTextColor_,
             cboEffectsIn_, lblBildvorschau_, lblUebergangseffekt_, lblEffektvorschau_})
        w->setEnabled(enabled);
}

void TfrmMain::SetControlStates() {
    const std::vector<int> rows = selectedRows();
    const int n = lsvGFX_->topLevelItemCount();
    const int s = int(rows.size());
    const bool first = s > 0 && rows.front() == 0;
    const bool last = s > 0 && rows.back() == n - 1;
    const ImagePageStates st = ControlStatesFor(s, n, first, last, demoDesert_);
    btnRemove_->setEnabled(st.removeEnabled);
    panAddHint_->setVisible(st.addHintVisible);
    btnUp_->setEnabled(st.upEnabled);
    btnDown_->setEnabled(st.downEnabled);
    btnSelAll_->setEnabled(st.selectAllEnabled);
    enableFields(st.fieldsEnabled);
    imgEffectInfo_->setVisible(st.effectInfoVisible);
    txtDuration_->setEnabled(st.durationAndDemo);
    btnPlayDemo_->setEnabled(st.durationAndDemo);
    panEffectDemoCanvas_->show();
    hideDemoPlayer();
    imgEffectDemoCanvas_->setImage(StillPicture(app_.dataFolder() / "gui" / st.stillPicture));
    if (st.resetFields) {
        imgPreview_->clear();
        previewDecoder_->cancel();
        txtDuration_->setValue(5);
        if (cboEffectsIn_->count() > 0) cboEffectsIn_->setCurrentIndex(0);
        txtImgTitle_->clear();
    }
}

}  // namespace lumetra::ui
