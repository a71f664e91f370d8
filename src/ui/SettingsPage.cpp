// The settings page: music, picture fitting and the show's options. Its
// controls edit the project's show settings; the window mirrors those back.

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "app/Application.h"
#include "app/Platform.h"
#include "lang/LangKeys.h"
#include "ui/ClickableLabel.h"
#include "ui/PageControls.h"
#include "ui/PictureWidgets.h"
#include "ui/TfrmMain.h"
#include "ui/TranslateForm.h"

namespace lumetra::ui {

using namespace pages;

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
    QFont bold = fit->font();
    bold.setBold(true);
    fit->setFont(bold);
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
    place<ColorSwatch>(p, "panBGColor", 324, 371, 210, 18);
}

void TfrmMain::showSettingsChanged() {
    // The settings and create pages show the project's show settings; their
    // editing comes with those pages.
    const ShowSettings& s = app_.project.Settings;
    auto check = [this](const char* name, bool on) {
        if (auto* b = findChild<QAbstractButton*>(name)) b->setChecked(on);
    };
    auto text = [this](const char* name, const std::string& value) {
        if (auto* e = findChild<QLineEdit*>(name)) e->setText(QString::fromStdString(value));
    };
    for (QButtonGroup* group : panSettings_->findChildren<QButtonGroup*>()) {
        // A project may leave a group without a choice.
        group->setExclusive(false);
        for (QAbstractButton* b : group->buttons()) b->setChecked(false);
        group->setExclusive(true);
    }
    if (s.audioMode != AudioMode::NotSet) {
        check("optAudioNone", s.audioMode == AudioMode::None);
        check("optAudio1", s.audioMode == AudioMode::Library);
        check("optAudioSel", s.audioMode == AudioMode::OwnFile);
    }
    if (auto* music = findChild<QComboBox*>("cboMusic")) {
        if (music->count() != int(app_.musicTitles.size())) {
            music->clear();
            for (const std::string& title : app_.musicTitles)
                music->addItem(QString::fromStdString(title));
        }
        music->setCurrentIndex(music->findText(QString::fromStdString(s.MusicTitle)));
    }
    text("txtAudio", s.AudioFile.empty() ? app_.project.AudioFileHint : s.AudioFile);
    if (auto* play = findChild<QWidget*>("btnAudioPlaySel"))
        play->setVisible(!s.AudioFile.empty() && platform::fileExists(s.AudioFile));
    check("chkAudioLoop", s.AudioLoop);
    check("chkEditImg", s.FitImages);
    if (auto* fitting = findChild<QComboBox*>("cboEditImg1"))
        if (s.FitMode >= 0 && s.FitMode < fitting->count()) fitting->setCurrentIndex(s.FitMode);
    text("txtEditImgFixX", s.FitWidth);
    text("txtEditImgFixY", s.FitHeight);
    // The fixed-size fields and their labels show only for fitting to a given size.
    for (const char* name : {"txtEditImgFixX", "txtEditImgFixY"}) {
        QWidget* field = findChild<QWidget*>(name);
        field->setVisible(s.FitImages && s.FitMode == 2);
        if (QLabel* label = FieldLabel(this, field)) label->setVisible(!field->isHidden());
    }
    if (auto* info = findChild<QLabel*>("lblImgEditInfo"); info && !info->text().isEmpty())
        info->setText(QString::fromStdString(
            app_.GetLangString(lang::FittingHintKey(s.FitImages, s.FitMode))));
    check("chkTrim", s.Trim);
    check("chkLoop", s.Loop);
    check("chkNavBar", s.NavBar);
    findChild<QWidget*>("chkNavBar")->setEnabled(NavBarEditable(s));
    check("chkRandomOrder", s.RandomOrder);
    check("chkLinkTargetBlank", s.LinkTargetBlank);
    check("chkAutostart", s.Autostart);
    check("optBGNone", s.BackgroundTransparent);
    check("optBGColor", !s.BackgroundTransparent);
    findChild<ColorSwatch*>("panBGColor")->setColor(std::uint32_t(s.BackgroundColor));
    showOutputFile();
}

}  // namespace lumetra::ui
