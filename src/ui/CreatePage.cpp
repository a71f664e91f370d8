// The create page: the preview of the whole show, the page to write and
// the Create button.

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/Application.h"
#include "app/Platform.h"
#include "lang/LangKeys.h"
#include "player/PlayerView.h"
#include "ui/ClickableLabel.h"
#include "ui/PageControls.h"
#include "ui/TfrmMain.h"

namespace lumetra::ui {

using namespace pages;

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

void TfrmMain::showOutputFile() {
    if (auto* output = findChild<QLineEdit*>("txtOutput"))
        output->setText(QString::fromStdString(app_.project.Settings.OutputFile));
}

}  // namespace lumetra::ui
