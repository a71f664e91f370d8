// The settings page: music, picture fitting and the show's options. Its
// controls edit the project's show settings: every change of a control, the
// program's own included, runs its handler, which writes the control's value
// into the settings and applies the page's rules. The window fills the
// controls from the settings (NewProject, LoadProject) with Loading set, so
// filling never counts as an edit.

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>
#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "app/Application.h"
#include "app/Platform.h"
#include "app/Services.h"
#include "app/SettingsFields.h"
#include "lang/LangKeys.h"
#include "lang/Messages.h"
#include "ui/ClickableLabel.h"
#include "ui/FocusWatcher.h"
#include "ui/PageControls.h"
#include "ui/PictureWidgets.h"
#include "ui/TfrmMain.h"
#include "ui/TranslateForm.h"
#include "ui/WidgetStyle.h"

namespace lumetra::ui {

using namespace pages;

namespace {

template <typename W = QAbstractButton>
W* control(QWidget* page, const char* name) {
    W* widget = page->findChild<W*>(name);
    if (!widget) throw std::logic_error(std::string("The settings page has no control ") + name);
    return widget;
}

bool isChecked(QWidget* page, const char* name) {
    return control(page, name)->isChecked();
}

std::string textOf(QWidget* page, const char* name) {
    return control<QLineEdit>(page, name)->text().toStdString();
}

}  // namespace

void TfrmMain::buildSettingsPage() {
    QWidget* p = panSettings_;
    groupHeading(p, "lblAudioHeader", "imgAudioHeader", 0, "Hintergrundmusik einbinden");
    auto* none = captioned<QRadioButton>(p, "optAudioNone", 40, 30, 95, "(Keine)");
    auto* library = captioned<QRadioButton>(p, "optAudio1", 140, 30, 320, "Diese Musik einfügen:");
    auto* own =
        captioned<QRadioButton>(p, "optAudioSel", 140, 76, 320, "Eigene Audiodatei verwenden:");
    auto* audioGroup = new QButtonGroup(p);
    for (auto* b : {none, library, own}) audioGroup->addButton(b);
    place<QComboBox>(p, "cboMusic", 158, 50, 301, 21);
    pictureButton(p, "btnAudioPlay1", 465, 52, 20, 20, "btnAudioPlay");
    place<QLineEdit>(p, "txtAudio", 160, 96, 301, 21);
    pictureButton(p, "btnAudioSelect", 465, 94, 22, 22, "btnAudioSelect");
    pictureButton(p, "btnAudioPlaySel", 490, 94, 20, 20, "btnAudioPlay")->hide();
    captioned<QCheckBox>(p, "chkAudioLoop", 140, 120, 420, "Hintergrundmusik wiederholen");

    groupHeading(p, "lblImgEditHeader", "imgImgEditHeader", 142, "Bildanpassung");
    auto* fit = captioned<QCheckBox>(p, "chkEditImg", 45, 172, 420, "Bildabmessungen optimieren:");
    setBold(fit);
    place<QComboBox>(p, "cboEditImg1", 63, 193, 206, 21);
    auto* fixX = place<QLineEdit>(p, "txtEditImgFixX", 343, 194, 57, 19);
    labelled(p, fixX, "lblEditImgFixX", 280, 196, 60, "Breite:");
    auto* fixY = place<QLineEdit>(p, "txtEditImgFixY", 455, 194, 57, 19);
    labelled(p, fixY, "lblEditImgFixY", 405, 196, 48, "Höhe:");
    for (QWidget* w : {static_cast<QWidget*>(fixX), static_cast<QWidget*>(fixY)}) {
        w->hide();
        FieldLabel(p, w)->hide();
    }
    place<PictureWidget>(p, "imgImgEditInfo", 48, 223, 16, 16)->setArt("imgEffectInfo");
    auto* info = place<QLabel>(p, "lblImgEditInfo", 70, 223, 451, 26);
    info->setWordWrap(true);
    info->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    captioned<QCheckBox>(p, "chkTrim", 45, 247, 471, "");

    groupHeading(p, "lblMiscSettingsHeader", "imgMiscSettingsHeader", 275,
                 "Sonstige Einstellungen");
    subHeading(p, "lblMiscSet1", 45, 310, "Erweiterte Funktionen");
    captioned<QCheckBox>(p, "chkAutostart", 45, 330, 255, "Diashow automatisch starten");
    captioned<QCheckBox>(p, "chkNavBar", 45, 350, 255, "Diashow mit Navigationsmenü ausstatten");
    captioned<QCheckBox>(p, "chkLoop", 45, 370, 255, "Diashow nach Ende wiederholen");
    captioned<QCheckBox>(p, "chkLinkTargetBlank", 45, 390, 255,
                         "Links in neuem Fenster/Tab öffnen");
    captioned<QCheckBox>(p, "chkRandomOrder", 45, 410, 255, "Zufällige Bildreihenfolge");
    subHeading(p, "lblBGColor", 305, 310, "Hintergrundfarbe");
    auto* bgNone = captioned<QRadioButton>(p, "optBGNone", 305, 330, 280,
                                           "Keine Hintergrundfarbe (transparent)");
    auto* bgColor = captioned<QRadioButton>(p, "optBGColor", 305, 350, 280,
                                            "Diese Hintergrundfarbe verwenden:");
    auto* bgGroup = new QButtonGroup(p);
    bgGroup->addButton(bgNone);
    bgGroup->addButton(bgColor);
    place<ColorSwatch>(p, "panBGColor", 324, 371, 210, 18)->setCursor(Qt::PointingHandCursor);
    connectSettingsPage();
}

void TfrmMain::connectSettingsPage() {
    QWidget* p = panSettings_;
    // A radio button's handler runs when it becomes checked; a check box's
    // whenever it changes.
    auto onChecked = [this, p](const char* name, void (TfrmMain::*handler)()) {
        connect(control(p, name), &QAbstractButton::toggled, this, [this, handler](bool on) {
            if (on) run([&] { (this->*handler)(); });
        });
    };
    auto onToggled = [this, p](const char* name, void (TfrmMain::*handler)()) {
        connect(control(p, name), &QAbstractButton::toggled, this,
                [this, handler] { run([&] { (this->*handler)(); }); });
    };
    auto onClicked = [this, p](const char* name, void (TfrmMain::*handler)()) {
        connect(control(p, name), &QAbstractButton::clicked, this,
                [this, handler] { run([&] { (this->*handler)(); }); });
    };
    auto onText = [this, p](const char* name, void (TfrmMain::*handler)()) {
        connect(control<QLineEdit>(p, name), &QLineEdit::textChanged, this,
                [this, handler] { run([&] { (this->*handler)(); }); });
    };
    // A list's handler runs when the person chooses an entry, the one shown
    // included; the program's own choices come from the settings.
    auto onChoice = [this, p](const char* name, void (TfrmMain::*handler)()) {
        connect(control<QComboBox>(p, name), &QComboBox::activated, this,
                [this, handler] { run([&] { (this->*handler)(); }); });
    };
    for (const char* name : {"optAudioNone", "optAudio1", "optAudioSel"})
        onChecked(name, &TfrmMain::optAudioNoneClick);
    onChoice("cboMusic", &TfrmMain::cboMusicChange);
    onClicked("btnAudioPlay1", &TfrmMain::btnAudioPlay1Click);
    onText("txtAudio", &TfrmMain::txtAudioChange);
    auto* focus = new FocusWatcher(control<QLineEdit>(p, "txtAudio"));
    connect(focus, &FocusWatcher::entered, this, [this] { run([&] { txtAudioEnter(); }); });
    connect(focus, &FocusWatcher::left, this, [this] { run([&] { txtAudioExit(); }); });
    onClicked("btnAudioSelect", &TfrmMain::btnAudioSelectClick);
    onClicked("btnAudioPlaySel", &TfrmMain::btnAudioPlaySelClick);
    onToggled("chkAudioLoop", &TfrmMain::chkAudioLoopClick);
    onToggled("chkEditImg", &TfrmMain::chkEditImgClick);
    onChoice("cboEditImg1", &TfrmMain::cboEditImg1Change);
    onText("txtEditImgFixX", &TfrmMain::txtEditImgFixXChange);
    onText("txtEditImgFixY", &TfrmMain::txtEditImgFixYChange);
    onToggled("chkTrim", &TfrmMain::chkTrimClick);
    for (const char* name : {"chkRandomOrder", "chkAutostart", "chkLinkTargetBlank"})
        onToggled(name, &TfrmMain::chkRandomOrderClick);
    onToggled("chkNavBar", &TfrmMain::chkNavBarClick);
    onToggled("chkLoop", &TfrmMain::chkLoopClick);
    for (const char* name : {"optBGNone", "optBGColor"}) onChecked(name, &TfrmMain::optBGNoneClick);
    connect(control<ColorSwatch>(p, "panBGColor"), &ColorSwatch::clicked, this,
            [this] { run([&] { panBGColorClick(); }); });
    // Music that ends by itself gives its button the play symbol back.
    app_.services.setAudioEndedHandler([window = QPointer<TfrmMain>(this)] {
        if (window) window->showPlaying(nullptr);
    });
}

void TfrmMain::showSettingsChanged() {
    // Filling the controls from the settings is no edit. The handlers write
    // every control they see change into the settings, so the controls are
    // filled from a copy.
    const Project::LoadingScope loading(app_.project);
    const ShowSettings s = app_.project.Settings;
    QWidget* p = panSettings_;
    auto check = [p](const char* name, bool on) { control(p, name)->setChecked(on); };
    auto text = [p](const char* name, const std::string& value) {
        control<QLineEdit>(p, name)->setText(QString::fromStdString(value));
    };
    if (s.audioMode == AudioMode::NotSet) {
        // A project may leave the group without a choice.
        auto* group = control(p, "optAudioNone")->group();
        group->setExclusive(false);
        for (QAbstractButton* b : group->buttons()) b->setChecked(false);
        group->setExclusive(true);
    } else {
        check("optAudioNone", s.audioMode == AudioMode::None);
        check("optAudio1", s.audioMode == AudioMode::Library);
        check("optAudioSel", s.audioMode == AudioMode::OwnFile);
    }
    auto* music = control<QComboBox>(p, "cboMusic");
    if (music->count() != int(app_.musicTitles.size())) {
        // No handler runs: only a person's choice of a title is one.
        music->clear();
        for (const std::string& title : app_.musicTitles)
            music->addItem(QString::fromStdString(title));
    }
    music->setCurrentIndex(music->findText(QString::fromStdString(s.MusicTitle)));
    text("txtAudio", s.AudioFile.empty() ? app_.project.AudioFileHint : s.AudioFile);
    showAudioPlayButton();
    check("chkAudioLoop", s.AudioLoop);
    check("chkEditImg", s.FitImages);
    auto* fitting = control<QComboBox>(p, "cboEditImg1");
    if (s.FitMode >= 0 && s.FitMode < fitting->count()) fitting->setCurrentIndex(s.FitMode);
    text("txtEditImgFixX", s.FitWidth);
    text("txtEditImgFixY", s.FitHeight);
    applyFittingVisibility();
    applyFittingHint();
    check("chkTrim", s.Trim);
    check("chkLoop", s.Loop);
    check("chkRandomOrder", s.RandomOrder);
    check("chkNavBar", s.NavBar);
    check("optBGNone", s.BackgroundTransparent);
    check("optBGColor", !s.BackgroundTransparent);
    control<ColorSwatch>(p, "panBGColor")->setColor(std::uint32_t(s.BackgroundColor));
    check("chkLinkTargetBlank", s.LinkTargetBlank);
    check("chkAutostart", s.Autostart);
    applyAutostartRule();
    showOutputFile();
}

// ---------------------------------------------------------------- rules

void TfrmMain::applyFittingVisibility() {
    const bool visible =
        FixedSizeFieldsVisible(isChecked(panSettings_, "chkEditImg"),
                               control<QComboBox>(panSettings_, "cboEditImg1")->currentIndex());
    for (const char* name : {"txtEditImgFixX", "txtEditImgFixY"}) {
        auto* field = control<QLineEdit>(panSettings_, name);
        field->setVisible(visible);
        if (QLabel* label = FieldLabel(this, field)) label->setVisible(visible);
    }
}

void TfrmMain::applyFittingHint() {
    const lang::LangKey key =
        lang::FittingHintKey(isChecked(panSettings_, "chkEditImg"),
                             control<QComboBox>(panSettings_, "cboEditImg1")->currentIndex());
    control<QLabel>(panSettings_, "lblImgEditInfo")
        ->setText(QString::fromStdString(app_.GetLangString(key)));
}

void TfrmMain::applyAutostartRule() {
    const bool autostart = isChecked(panSettings_, "chkAutostart");
    auto* navBar = control(panSettings_, "chkNavBar");
    if (!autostart) navBar->setChecked(true);
    navBar->setEnabled(autostart);
}

void TfrmMain::FilterDigits(QLineEdit* edit, std::string_view allowed) {
    const FilteredText filtered =
        FilterAllowed(edit->text().toStdString(), allowed, edit->cursorPosition());
    if (!filtered.changed) return;
    edit->setText(QString::fromStdString(filtered.text));
    // The change handler may have put "1" into an emptied field meanwhile.
    edit->setCursorPosition(std::min(filtered.caret, int(edit->text().size())));
    app_.services.beep();
}

void TfrmMain::showAudioHint() {
    auto* field = control<QLineEdit>(panSettings_, "txtAudio");
    if (field->text().isEmpty()) field->setText(QString::fromStdString(app_.project.AudioFileHint));
}

// ---------------------------------------------------------------- music

void TfrmMain::optAudioNoneClick() {
    ShowSettings& s = app_.project.Settings;
    if (isChecked(panSettings_, "optAudioNone"))
        s.audioMode = AudioMode::None;
    else if (isChecked(panSettings_, "optAudio1"))
        s.audioMode = AudioMode::Library;
    else if (isChecked(panSettings_, "optAudioSel"))
        s.audioMode = AudioMode::OwnFile;
    else
        s.audioMode = AudioMode::NotSet;
    app_.project.SetModified(true);
}

void TfrmMain::cboMusicChange() {
    musicPreview_.stop();
    app_.project.Settings.MusicTitle =
        control<QComboBox>(panSettings_, "cboMusic")->currentText().toStdString();
    if (app_.project.Loading()) return;
    app_.project.SetModified(true);
    control(panSettings_, "optAudio1")->setChecked(true);
}

void TfrmMain::showPlaying(PictureButton* button) {
    playingButton_ = button;
    for (const char* name : {"btnAudioPlay1", "btnAudioPlaySel"}) {
        auto* play = control<PictureButton>(panSettings_, name);
        play->setArt(play == button ? "btnAudioStop" : "btnAudioPlay");
    }
}

bool TfrmMain::PlayLibraryTrack(const std::string& path) {
    return musicPreview_.PlayLibraryTrack(path);
}

void TfrmMain::btnAudioPlay1Click() {
    auto* button = control<PictureButton>(panSettings_, "btnAudioPlay1");
    if (playingButton_ == button) {
        musicPreview_.stop();
        return;
    }
    // An empty music library has no title to play.
    auto* music = control<QComboBox>(panSettings_, "cboMusic");
    if (music->currentIndex() < 0) return;
    if (PlayLibraryTrack(musicPreview_.libraryFile(music->currentText().toStdString()).string()))
        showPlaying(button);
}

void TfrmMain::showAudioPlayButton() {
    const std::string path =
        OwnAudioPath(textOf(panSettings_, "txtAudio"), app_.project.AudioFileHint);
    std::error_code ec;
    control(panSettings_, "btnAudioPlaySel")
        ->setVisible(!path.empty() && platform::fileExists(path) &&
                     !std::filesystem::is_directory(path, ec));
}

void TfrmMain::txtAudioChange() {
    Project& project = app_.project;
    showAudioPlayButton();
    const std::string path = OwnAudioPath(textOf(panSettings_, "txtAudio"), project.AudioFileHint);
    // The hint and the empty field both mean no file: swapping them on entering
    // and leaving the field is no edit.
    const bool changed = project.Settings.AudioFile != path;
    project.Settings.AudioFile = path;
    if (project.Loading()) return;
    if (changed) project.SetModified(true);
    if (!path.empty()) control(panSettings_, "optAudioSel")->setChecked(true);
}

void TfrmMain::txtAudioEnter() {
    auto* field = control<QLineEdit>(panSettings_, "txtAudio");
    if (field->text().toStdString() == app_.project.AudioFileHint) field->clear();
}

void TfrmMain::txtAudioExit() {
    showAudioHint();
}

void TfrmMain::btnAudioSelectClick() {
    FileDialogRequest request;
    request.filter = app_.GetLangString(lang::gui::kAudio);
    const std::vector<std::string> chosen = app_.services.openFiles(request, false);
    if (chosen.empty()) return;
    control<QLineEdit>(panSettings_, "txtAudio")->setText(QString::fromStdString(chosen.front()));
}

void TfrmMain::btnAudioPlaySelClick() {
    auto* button = control<PictureButton>(panSettings_, "btnAudioPlaySel");
    if (playingButton_ == button) {
        musicPreview_.stop();
        return;
    }
    const std::string text = textOf(panSettings_, "txtAudio");
    const std::string path = OwnAudioPath(text, app_.project.AudioFileHint);
    if (path.empty() || !platform::fileExists(path)) {
        app_.Message(lang::messages::kAudioDoesntExist, mb::kError, {text});
        return;
    }
    if (musicPreview_.PlayOwnFile(path)) showPlaying(button);
}

void TfrmMain::chkAudioLoopClick() {
    app_.project.Settings.AudioLoop = isChecked(panSettings_, "chkAudioLoop");
    app_.project.SetModified(true);
}

// ---------------------------------------------------------------- fitting

void TfrmMain::chkEditImgClick() {
    app_.project.Settings.FitImages = isChecked(panSettings_, "chkEditImg");
    app_.project.SetModified(true);
    applyFittingVisibility();
    applyFittingHint();
}

void TfrmMain::cboEditImg1Change() {
    const int index = control<QComboBox>(panSettings_, "cboEditImg1")->currentIndex();
    if (index >= 0) app_.project.Settings.FitMode = index;
    applyFittingVisibility();
    if (app_.project.Loading()) return;
    app_.project.SetModified(true);
    // Choosing a fitting method switches fitting on.
    control(panSettings_, "chkEditImg")->setChecked(true);
    applyFittingHint();
}

void TfrmMain::fixedSizeChange(const char* name, std::string ShowSettings::*value) {
    if (!app_.project.Loading()) app_.project.SetModified(true);
    auto* field = control<QLineEdit>(panSettings_, name);
    FilterDigits(field, kDigits);
    if (field->text().isEmpty()) field->setText("1");
    app_.project.Settings.*value = field->text().toStdString();
}

void TfrmMain::txtEditImgFixXChange() {
    fixedSizeChange("txtEditImgFixX", &ShowSettings::FitWidth);
}

void TfrmMain::txtEditImgFixYChange() {
    fixedSizeChange("txtEditImgFixY", &ShowSettings::FitHeight);
}

void TfrmMain::chkTrimClick() {
    app_.project.Settings.Trim = isChecked(panSettings_, "chkTrim");
    app_.project.SetModified(true);
}

// ---------------------------------------------------------------- other options

void TfrmMain::chkRandomOrderClick() {
    ShowSettings& s = app_.project.Settings;
    s.RandomOrder = isChecked(panSettings_, "chkRandomOrder");
    s.Autostart = isChecked(panSettings_, "chkAutostart");
    s.LinkTargetBlank = isChecked(panSettings_, "chkLinkTargetBlank");
    applyAutostartRule();
    app_.project.SetModified(true);
}

void TfrmMain::chkNavBarClick() {
    app_.project.Settings.NavBar = isChecked(panSettings_, "chkNavBar");
    app_.project.SetModified(true);
}

void TfrmMain::chkLoopClick() {
    app_.project.Settings.Loop = isChecked(panSettings_, "chkLoop");
    app_.project.SetModified(true);
}

void TfrmMain::optBGNoneClick() {
    app_.project.Settings.BackgroundTransparent = isChecked(panSettings_, "optBGNone");
    app_.project.SetModified(true);
}

void TfrmMain::panBGColorClick() {
    auto* swatch = control<ColorSwatch>(panSettings_, "panBGColor");
    const std::optional<std::uint32_t> chosen = app_.services.chooseColor(swatch->color());
    if (!chosen) return;
    app_.project.SetModified(true);
    swatch->setColor(*chosen);
    app_.project.Settings.BackgroundColor = std::int32_t(*chosen);
    control(panSettings_, "optBGColor")->setChecked(true);
}

}  // namespace lumetra::ui
