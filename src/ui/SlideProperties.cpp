// The slide property fields of the image page: every edit goes at once into
// all selected slides, and the rows show what changed.

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTreeWidget>

#include "app/Application.h"
#include "app/Services.h"
#include "lang/Messages.h"
#include "ui/ClickableLabel.h"
#include "ui/TfrmMain.h"

namespace lumetra::ui {

namespace {

// The field shows line breaks as the platform's; slides keep CR LF.
std::string toSlideText(const QString& text) {
    std::string out;
    for (char c : text.toStdString()) {
        if (c == '\n')
            out += "\r\n";
        else if (c != '\r')
            out += c;
    }
    return out;
}

QString toFieldText(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
    return QString::fromStdString(out);
}

}  // namespace

template <typename Edit>
void TfrmMain::editSelected(Edit&& edit) {
    Project& project = app_.project;
    if (project.Loading()) return;
    project.SetModified(true);
    const std::vector<int> rows = selectedRows();
    for (auto it = rows.rbegin(); it != rows.rend(); ++it)
        edit(std::size_t(*it), project.ImgItems[std::size_t(*it)]);
}

void TfrmMain::fillFields(const recImgItems& slide) {
    const QString title = QString::fromStdString(slide.Title);
    if (txtImgTitle_->text() != title) txtImgTitle_->setText(title);
    const QString description = toFieldText(slide.Description);
    if (txtImgDesc_->toPlainText() != description) txtImgDesc_->setPlainText(description);
    const QString link = QString::fromStdString(slide.Link);
    if (txtImgLink_->text() != link) txtImgLink_->setText(link);
    panTextColor_->setColor(std::uint32_t(slide.TextColor));
    txtDuration_->setValue(slide.Duration / 1000);
    if (slide.EffectIn >= 0 && slide.EffectIn < cboEffectsIn_->count())
        cboEffectsIn_->setCurrentIndex(slide.EffectIn);
}

void TfrmMain::txtImgTitleChange() {
    const std::string text = txtImgTitle_->text().toStdString();
    editSelected([&](std::size_t, recImgItems& slide) { slide.Title = text; });
}

void TfrmMain::txtImgDescChange() {
    const std::string text = toSlideText(txtImgDesc_->toPlainText());
    editSelected([&](std::size_t, recImgItems& slide) { slide.Description = text; });
}

void TfrmMain::txtImgLinkChange() {
    const std::string text = txtImgLink_->text().toStdString();
    editSelected([&](std::size_t, recImgItems& slide) { slide.Link = text; });
}

void TfrmMain::txtDurationChange(const QString& text) {
    if (app_.project.Loading()) return;
    bool ok = false;
    const int seconds = text.trimmed().toInt(&ok);
    if (text.trimmed().isEmpty() || !ok) return;  // an empty field changes nothing
    const int clamped = std::clamp(seconds, 1, 9999);
    editSelected([&](std::size_t row, recImgItems& slide) {
        slide.Duration = clamped * 1000;
        rewriteRow(row);
    });
}

void TfrmMain::cboEffectsInClick(int index) {
    if (app_.project.Loading()) return;
    editSelected([&](std::size_t row, recImgItems& slide) {
        slide.EffectIn = index;
        rewriteRow(row);
    });
    PlayEffectDemo(false);
}

void TfrmMain::cboEffectsInChange(int) {
    if (app_.project.Loading()) return;
    app_.project.SetModified(true);
}

void TfrmMain::panTextColorClick() {
    const auto chosen = app_.services.chooseColor(panTextColor_->color());
    if (!chosen) return;
    Project& project = app_.project;
    if (project.Loading()) return;
    project.SetModified(true);
    panTextColor_->setColor(*chosen);
    editSelected([&](std::size_t, recImgItems& slide) { slide.TextColor = std::int32_t(*chosen); });
}

void TfrmMain::imgEffectInfoClick() {
    app_.Message(lang::messages::kImgEffectInfo, mb::kInformation,
                 {std::to_string(selectedRows().size())});
}

void TfrmMain::btnPlayDemoClick() {
    PlayEffectDemo(false);
}

}  // namespace lumetra::ui
