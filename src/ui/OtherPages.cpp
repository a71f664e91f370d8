// The controls of the settings and create pages at their places, translated
// with the window. Their handlers come with those pages; until then the show
// settings they edit keep the project's values.

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "app/Application.h"
#include "app/Platform.h"
#include "lang/LangKeys.h"
#include "player/PlayerView.h"
#include "ui/ClickableLabel.h"
#include "ui/Geometry.h"
#include "ui/PictureWidgets.h"
#include "ui/TfrmMain.h"
#include "ui/TranslateForm.h"

namespace lumetra::ui {

namespace {

QLabel* groupHeading(QWidget* page, const char* name, const char* icon, int top, const char* text) {
    auto* picture =
        place<PictureWidget>(page, (std::string(name) + "Icon").c_str(), 8, top + 4, 24, 24);
    picture->setArt(icon);
    auto* label = placeAuto<QLabel>(page, name, 40, top + 9);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    label->setText(text);
    label->adjustSize();
    return label;
}

QLabel* subHeading(QWidget* page, const char* name, int x, int y, const char* text) {
    auto* label = placeAuto<QLabel>(page, name, x, y);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    label->setText(text);
    label->adjustSize();
    return label;
}

template <typename W>
W* captioned(QWidget* page, const char* name, int x, int y, int w, const char* text) {
    auto* widget = place<W>(page, name, x, y, w, 18);
    widget->setText(text);
    return widget;
}

PictureButton* pictureButton(QWidget* page, const char* name, int x, int y, int w, int h,
                             const char* art) {
    auto* button = place<PictureButton>(page, name, x, y, w, h);
    button->setArt(art);
    button->setHoverFrame(true);
    return button;
}

void labelled(QWidget* page, QWidget* field, const char* name, int x, int y, int w,
              const char* text) {
    auto* label = place<QLabel>(page, name, x, y, w, 16);
    label->setText(text);
    label->setBuddy(field);
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
    panPreview_->setAutoFillBackground(true);
    QPalette grey = panPreview_->palette();
    grey.setColor(QPalette::Window, QColor(0xE4, 0xE7, 0xEC));
    panPreview_->setPalette(grey);
    player::PlayerView::Config preview;
    preview.loop = true;
    preview.contextMenu = true;
    FlashPlayerControl1_ = new player::PlayerView(preview, panPreview_);
    FlashPlayerControl1_->setObjectName("FlashPlayerControl1");
    FlashPlayerControl1_->setGeometry(1, 1, 579, 344);
    FlashPlayerControl1_->hide();
    auto* output = place<QLineEdit>(p, "txtOutput", 0, 393, 386, 19);
    labelled(p, output, "lblOutput", 0, 375, 386, "Diashow speichern unter:");
    pictureButton(p, "btnOutput", 390, 391, 21, 21, "btnOutput");
    auto* create = place<QPushButton>(p, "btnCreate", 447, 373, 134, 63);
    create->setText("Diashow erstellen");
    QFont bold = create->font();
    bold.setBold(true);
    create->setFont(bold);
    create->setCursor(Qt::PointingHandCursor);
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
    text("txtOutput", s.OutputFile);
}

}  // namespace lumetra::ui
