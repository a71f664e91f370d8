// The wizard's frame and its five pages (FormCreate): each control at its
// place with its objectName and its built-in German text, which
// TranslateForm replaces when the window is shown.

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include "publish/window/SelectAllOnFocus.h"
#include "publish/window/TfrmFTP.h"
#include "ui/ClickableLabel.h"
#include "ui/Geometry.h"
#include "ui/PageControls.h"
#include "ui/PictureWidgets.h"
#include "ui/WidgetStyle.h"

namespace lumetra::ui {

namespace {

const QColor kNavy(0x1F, 0x3A, 0x68);
const QColor kLinkBlue(0x00, 0x33, 0xCC);
const QColor kHintGrey(0x55, 0x5E, 0x6B);

constexpr int kPageLeft = 142;
constexpr int kPageTop = 70;
constexpr int kPageWidth = 333;
constexpr int kPageHeight = 315;
constexpr int kFieldLeft = 104;
constexpr int kFieldWidth = kPageWidth - kFieldLeft;

QFrame* page(QWidget* window, const char* name) {
    return filledPanel(window, name, {kPageLeft, kPageTop, kPageWidth, kPageHeight},
                       window->palette().color(QPalette::Window));
}

QLabel* text(QWidget* parent, const char* name, QRect rect, const char* german) {
    auto* label = place<QLabel>(parent, name, rect.x(), rect.y(), rect.width(), rect.height());
    label->setText(german);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QLineEdit* field(QWidget* page, const char* name, const char* labelName, int y, const char* german,
                 int width = kFieldWidth) {
    auto* edit = place<QLineEdit>(page, name, kFieldLeft, y, width, 21);
    auto* label = place<QLabel>(page, labelName, 0, y + 3, kFieldLeft - 4, 16);
    label->setText(german);
    label->setBuddy(edit);
    return edit;
}

}  // namespace

void TfrmFTP::buildFrame() {
    panHeader_ = filledPanel(this, "panHeader", {0, 0, width(), 58}, Qt::white);
    Label2_ = place<QLabel>(panHeader_, "Label2", 14, 9, 400, 20);
    Label2_->setText("FTP-Assistent");
    QFont title = Label2_->font();
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() * 1.25);
    Label2_->setFont(title);
    Label3_ = place<QLabel>(panHeader_, "Label3", 14, 32, 400, 16);
    Label3_->setText("Dieser Assistent hilft Ihnen, Ihre Diashow zu übertragen.");
    auto* picture = place<PictureWidget>(panHeader_, "imgHeader", 432, 9, 40, 40);
    picture->setArt("imgFTPHeader");
    separator(this, "Bevel1", 58);

    panLeft_ = filledPanel(this, "panLeft", {0, 60, 130, 333}, kNavy);
    const char* names[3] = {"lblLeft1", "lblLeft2", "lblLeft3"};
    const char* german[3] = {"FTP-Verbindung", "Verzeichnisauswahl", "Datenübertragung"};
    for (int i = 0; i < 3; ++i) {
        lblLeft_[i] = place<QLabel>(panLeft_, names[i], 12, 18 + 26 * i, 114, 18);
        lblLeft_[i]->setText(german[i]);
        setTextColour(lblLeft_[i], Qt::white);
    }

    separator(this, "Bevel2", 393);
    imgSecurity_ = place<PictureWidget>(this, "imgSecurity", 12, 408, 16, 16);
    imgSecurity_->hide();
    cmdNext_ = place<QPushButton>(this, "cmdNext", 249, 403, 110, 25);
    cmdNext_->setText("Weiter >");
    setBold(cmdNext_);
    cmdNext_->setDefault(true);
    cmdCancel_ = place<QPushButton>(this, "cmdCancel", 365, 403, 110, 25);
    cmdCancel_->setText("Abbrechen");
    cmdCancel_->setAutoDefault(false);

    buildConnectionPage();
    buildFolderPage();
    buildSyncPage();
    buildTransferPage();
    buildResultPage();
}

void TfrmFTP::buildConnectionPage() {
    panStep1_ = page(this, "panStep1");
    text(panStep1_, "Label4", {0, 0, kPageWidth, 44},
         "Geben Sie die Zugangsdaten des FTP-Servers ein, auf den Ihre zuletzt erstellte "
         "Diashow übertragen werden soll.");
    txtFTPHost_ = field(panStep1_, "txtFTPHost", "lblFTPHost", 50, "FTP-Server:", 160);
    txtFTPPort_ = place<QLineEdit>(panStep1_, "txtFTPPort", kPageWidth - 35, 50, 35, 21);
    txtFTPPort_->setMaxLength(5);
    txtFTPPort_->setText("21");
    auto* portLabel = place<QLabel>(panStep1_, "lblFTPPort", kFieldLeft + 166, 53, 28, 16);
    portLabel->setText("Port:");
    portLabel->setBuddy(txtFTPPort_);
    txtFTPUser_ = field(panStep1_, "txtFTPUser", "lblFTPUser", 76, "Benutzername:");
    txtFTPPass_ = field(panStep1_, "txtFTPPass", "lblFTPPass", 102, "Passwort:");
    txtFTPPass_->setEchoMode(QLineEdit::Password);
    txtFTPSubDir_ = field(panStep1_, "txtFTPSubDir", "lblFTPSubDir", 128, "Unterverzeichnis:");
    txtFTPSubDir_->setText("/");
    cboEncryption_ = place<QComboBox>(panStep1_, "cboEncryption", kFieldLeft, 154, kFieldWidth, 21);
    lblEncryption_ = place<QLabel>(panStep1_, "lblEncryption", 0, 157, kFieldLeft - 4, 16);
    lblEncryption_->setText("Verschlüsselung:");
    lblEncryption_->setBuddy(cboEncryption_);
    chkSaveFTP_ = place<QCheckBox>(panStep1_, "chkSaveFTP", kFieldLeft, 180, kFieldWidth, 18);
    chkSaveFTP_->setText("Zugangsdaten merken");
    txtHTTP_ = field(panStep1_, "txtHTTP", "lblHTTPField", 208, "Ihre Homepage:");
    lblHTTP_ = text(panStep1_, "lblHTTP", {kFieldLeft, 233, kFieldWidth, 80}, "");
    setTextColour(lblHTTP_, kHintGrey);
}

void TfrmFTP::buildFolderPage() {
    panStep2_ = page(this, "panStep2");
    text(panStep2_, "lblSelectDir", {0, 0, kPageWidth, 30},
         "Wählen Sie das Verzeichnis, in das die Galeriedateien übertragen werden sollen:");
    jvlstFtpDirListing_ =
        place<QListWidget>(panStep2_, "jvlstFtpDirListing", 0, 34, kPageWidth, 226);
    jvlstFtpDirListing_->setIconSize(QSize(16, 16));
    jvlstFtpDirListing_->setUniformItemSizes(true);
    jvlstFtpDirListing_->installEventFilter(this);
    auto* label = place<QLabel>(panStep2_, "lblTargetDir", 0, 268, kPageWidth, 16);
    label->setText("Gewähltes Verzeichnis:");
    txtTargetDir_ = place<QLineEdit>(panStep2_, "txtTargetDir", 0, 286, kPageWidth, 21);
    label->setBuddy(txtTargetDir_);
    txtTargetDir_->setReadOnly(true);
    setFieldBackground(txtTargetDir_, palette().color(QPalette::Window));
}

void TfrmFTP::buildSyncPage() {
    panStepSync_ = page(this, "panStepSync");
    text(panStepSync_, "lblSyncInfo", {0, 0, kPageWidth, 44},
         "Einige Bilddateien wurden bereits in das gewählte Verzeichnis übertragen.");
    optSyncTrue_ = place<QRadioButton>(panStepSync_, "optSyncTrue", 0, 52, kPageWidth, 18);
    optSyncTrue_->setText("Synchronisieren");
    setBold(optSyncTrue_);
    optSyncTrue_->setChecked(true);
    lblSyncTrue_ = text(panStepSync_, "lblSyncTrue", {18, 72, kPageWidth - 18, 80}, "");
    optSyncFalse_ = place<QRadioButton>(panStepSync_, "optSyncFalse", 0, 160, kPageWidth, 18);
    optSyncFalse_->setText("Nicht synchronisieren");
    setBold(optSyncFalse_);
    text(panStepSync_, "lblSyncFalse", {18, 180, kPageWidth - 18, 44},
         "Es werden alle Bilddateien übertragen, auch wenn sich diese bereits auf dem Server "
         "befinden.");
}

void TfrmFTP::buildTransferPage() {
    panStep3_ = page(this, "panStep3");
    text(panStep3_, "Label5", {0, 0, kPageWidth, 44},
         "Ihre Diashow wird nun auf den Server übertragen.");
    lblAct_ = text(panStep3_, "lblAct", {0, 60, kPageWidth, 30}, "Aktuelle Datei: ");
    prgActFile_ = place<QProgressBar>(panStep3_, "prgActFile", 0, 94, kPageWidth, 16);
    text(panStep3_, "lblPrgAllFiles", {0, 124, kPageWidth, 16}, "Gesamtfortschritt:");
    prgAllFiles_ = place<QProgressBar>(panStep3_, "prgAllFiles", 0, 142, kPageWidth, 16);
    for (QProgressBar* bar : {prgActFile_, prgAllFiles_}) {
        bar->setTextVisible(false);
        bar->setRange(0, 1);
        bar->setValue(0);
    }
}

void TfrmFTP::buildResultPage() {
    panStepHTML_ = page(this, "panStepHTML");
    lblTransferOK_ = text(panStepHTML_, "lblTransferOK", {0, 0, kPageWidth, 16},
                          "Die Galerie wurde erfolgreich übertragen.");
    setBold(lblTransferOK_);
    lblTransferOK_->hide();

    imgShowLink_ = place<PictureWidget>(panStepHTML_, "imgShowLink", 0, 26, 16, 16);
    imgShowLink_->setArt("imgShowLink");
    txtLinkShow_ = place<QLineEdit>(panStepHTML_, "txtLinkShow", 20, 25, kPageWidth - 48, 18);
    txtLinkShow_->setReadOnly(true);
    txtLinkShow_->setFrame(false);
    txtLinkShow_->setCursor(Qt::PointingHandCursor);
    QPalette link = txtLinkShow_->palette();
    link.setColor(QPalette::Base, palette().color(QPalette::Window));
    link.setColor(QPalette::Text, kLinkBlue);
    txtLinkShow_->setPalette(link);
    QFont underlined = txtLinkShow_->font();
    underlined.setUnderline(true);
    txtLinkShow_->setFont(underlined);
    btnCopyLink_ =
        pages::pictureButton(panStepHTML_, "btnCopyLink", kPageWidth - 22, 23, 22, 22, "btnCopy");

    auto* header = text(panStepHTML_, "lblEmbedHeader", {0, 52, kPageWidth, 16},
                        "Möchten Sie Ihre Diashow in eine Webseite einbinden?");
    setBold(header);
    text(panStepHTML_, "lblHTMLSrc", {0, 70, kPageWidth, 28},
         "Fügen Sie diesen HTML-Code in eine Webseite ein, damit Ihre Diashow darin angezeigt "
         "wird:");
    txtHTMLSrc_ = place<QPlainTextEdit>(panStepHTML_, "txtHTMLSrc", 0, 98, kPageWidth, 189);
    txtHTMLSrc_->setReadOnly(true);
    txtHTMLSrc_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtHTMLSrc_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // Courier New's metrics, as Debian ships them.
    QFont code("Liberation Mono");
    code.setStyleHint(QFont::Monospace);
    code.setPointSizeF(font().pointSizeF());
    txtHTMLSrc_->setFont(code);
    btnCopyHTMLSrc_ = pages::pictureButton(panStepHTML_, "btnCopyHTMLSrc", kPageWidth - 22, 291, 22,
                                           22, "btnCopy");

    lblRelativeHTML_ = text(panStepHTML_, "lblRelativeHTML", {0, 226, kPageWidth - 30, 62}, "");
    lblHTMLEditorLink_ =
        place<ClickableLabel>(panStepHTML_, "lblHTMLEditorLink", 0, 295, kPageWidth - 30, 16);
    lblHTMLEditorLink_->setText("Benötigen Sie Hilfe bei der Einbindung? Klicken Sie hier!");
    styleAsLink(lblHTMLEditorLink_, kLinkBlue);

    new SelectAllOnFocus(
        txtHTMLSrc_, [this] { txtHTMLSrcEnter(); }, [this] { txtHTMLSrcClick(); });
    new SelectAllOnFocus(
        txtLinkShow_, [this] { txtLinkShowEnter(); }, [this] { txtLinkShowClick(); });
}

void TfrmFTP::setResultLayout(bool linkMode) {
    imgShowLink_->setVisible(linkMode);
    txtLinkShow_->setVisible(linkMode);
    btnCopyLink_->setVisible(linkMode);
    lblRelativeHTML_->setVisible(!linkMode);
    txtHTMLSrc_->setFixedHeight(linkMode ? 189 : 119);
    btnCopyHTMLSrc_->move(btnCopyHTMLSrc_->x(), linkMode ? 291 : 221);
}

void TfrmFTP::connectHandlers() {
    connect(cmdNext_, &QPushButton::clicked, this, &TfrmFTP::cmdNextClick);
    connect(cmdCancel_, &QPushButton::clicked, this, &TfrmFTP::cmdCancelClick);
    connect(chkSaveFTP_, &QCheckBox::clicked, this, &TfrmFTP::chkSaveFTPClick);
    connect(txtFTPHost_, &QLineEdit::textChanged, this, &TfrmFTP::txtFTPHostChange);
    connect(txtFTPUser_, &QLineEdit::textChanged, this, &TfrmFTP::txtFTPUserChange);
    connect(txtFTPPass_, &QLineEdit::textChanged, this, &TfrmFTP::txtFTPPassChange);
    connect(txtFTPSubDir_, &QLineEdit::textChanged, this, &TfrmFTP::txtFTPSubDirChange);
    connect(txtFTPPort_, &QLineEdit::textChanged, this, &TfrmFTP::txtFTPPortChange);
    connect(txtHTTP_, &QLineEdit::textChanged, this, &TfrmFTP::txtHTTPChange);
    connect(cboEncryption_, &QComboBox::activated, this, &TfrmFTP::cboEncryptionChange);
    connect(jvlstFtpDirListing_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        jvlstFtpDirListingClick(jvlstFtpDirListing_->row(item));
    });
    connect(optSyncTrue_, &QRadioButton::clicked, this, &TfrmFTP::optSyncTrueClick);
    connect(optSyncFalse_, &QRadioButton::clicked, this, &TfrmFTP::optSyncFalseClick);
    connect(btnCopyHTMLSrc_, &PictureButton::clicked, this, &TfrmFTP::btnCopyHTMLSrcClick);
    connect(btnCopyLink_, &PictureButton::clicked, this, &TfrmFTP::btnCopyLinkClick);
    connect(lblHTMLEditorLink_, &ClickableLabel::clicked, this, &TfrmFTP::lblHTMLEditorLinkClick);
}

}  // namespace lumetra::ui
