#include "ui/TranslateForm.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QTreeWidget>

#include "app/Application.h"
#include "ui/PictureWidgets.h"
#include "ui/QtText.h"

namespace lumetra::ui {

namespace {

using lang::Property;

QWidget* findControl(QWidget* window, std::string_view name) {
    return window->findChild<QWidget*>(QString::fromUtf8(name.data(), qsizetype(name.size())));
}

void setCaption(QWidget* window, QWidget* control, const QString& text) {
    if (!control) {
        window->setWindowTitle(text);
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(text);
        if (label->property("autoSize").toBool()) label->adjustSize();
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setText(text);
    }
}

void setEntries(QWidget* control, const std::vector<std::string>& texts) {
    auto* list = qobject_cast<QComboBox*>(control);
    if (!list) return;
    // Filling the list is no edit of the user: no change handler runs.
    const QSignalBlocker quiet(list);
    list->clear();
    for (const std::string& text : texts) list->addItem(q(text));
    list->setCurrentIndex(texts.empty() ? -1 : 0);
}

void apply(Application& app, QWidget* window, const lang::TranslatedText& t) {
    const QString text = t.texts.empty() ? QString() : q(t.texts.front());
    QWidget* control = t.control.empty() ? nullptr : findControl(window, t.control);
    if (!t.control.empty() && !control && t.property != Property::ApplicationTitle) return;
    switch (t.property) {
        case Property::ApplicationTitle:
            app.language.setApplicationTitle(t.texts.empty() ? "" : t.texts.front());
            break;
        case Property::Caption:
            setCaption(window, control, text);
            break;
        case Property::Label:
            if (QLabel* label = FieldLabel(window, control)) label->setText(text);
            break;
        case Property::Hint:
            control->setToolTip(text);
            if (qobject_cast<PictureButton*>(control) || qobject_cast<PictureWidget*>(control))
                control->setAccessibleName(text);
            break;
        case Property::Entries:
            setEntries(control, t.texts);
            break;
        case Property::ColumnCaption:
            if (auto* list = qobject_cast<QTreeWidget*>(control))
                list->headerItem()->setText(t.column, text);
            break;
    }
}

void applyMainArtwork(QWidget* window, const std::string& language) {
    const auto artwork = lang::MainWindowArtworkFor(language);
    if (!artwork) return;
    if (auto* background = window->findChild<PictureWidget*>("imgPanImage"))
        background->setArt(q(std::string(artwork->background)));
    if (auto* hint = window->findChild<PictureWidget*>("imgAddHint"))
        hint->setArt(q(std::string(artwork->addHint)));
    for (const char* name : {"lblMenuBildauswahl", "lblMenuEinstellungen", "lblMenuErstellen"})
        if (QWidget* label = window->findChild<QWidget*>(name))
            label->move(artwork->tabCaptionLeft, label->y());
}

}  // namespace

QLabel* FieldLabel(QWidget* window, QWidget* field) {
    if (!field) return nullptr;
    for (QLabel* label : window->findChildren<QLabel*>())
        if (label->buddy() == field) return label;
    return nullptr;
}

void TranslateForm(Application& app, QWidget* window, const std::string& formName,
                   lang::TranslationState state, const std::string& newLanguage) {
    lang::SettleTranslationLanguage(app.language, newLanguage);
    state.language = app.language.CurrentLanguage();
    if (formName == "frmMain") {
        state.fitImages = app.project.Settings.FitImages;
        const auto* fitting = window->findChild<QComboBox*>(QString(lang::kFittingList.data()));
        state.fittingEntry = fitting ? fitting->currentIndex() : app.project.Settings.FitMode;
        applyMainArtwork(window, state.language);
    }
    const auto texts = lang::TranslateTexts(formName, state, [&app](const lang::TextKey& k) {
        return app.language.GetLangString(std::string(k.section), std::string(k.key));
    });
    for (const auto& t : texts) apply(app, window, t);
}

}  // namespace lumetra::ui
