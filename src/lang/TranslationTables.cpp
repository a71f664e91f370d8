#include "lang/TranslationTables.h"

#include "app/Settings.h"
#include "app/SettingsKeys.h"
#include "lang/Language.h"
#include "lang/Placeholders.h"

namespace lumetra::lang {

namespace {

using P = Property;

TranslationRow row(std::string_view control, Property property, std::string_view key) {
    return {control, property, {{{}, key}}};
}
TranslationRow caption(std::string_view control, std::string_view key) {
    return row(control, P::Caption, key);
}
// Most controls are named after their key.
TranslationRow caption(std::string_view control) {
    return caption(control, control);
}
TranslationRow label(std::string_view control) {
    return row(control, P::Label, control);
}
TranslationRow hint(std::string_view control, std::string_view key) {
    return row(control, P::Hint, key);
}
TranslationRow windowCaption(std::string_view key) {
    return caption("", key);
}

TranslationRow column(int index, std::string_view key) {
    TranslationRow r = row("lsvGFX", P::ColumnCaption, key);
    r.column = index;
    return r;
}

TranslationRow effectNames() {
    TranslationRow r{"cboEffectsIn", P::Entries, {}};
    for (std::string_view key : kEffectNameKeys) r.keys.push_back({kEffectNamesSection, key});
    return r;
}

std::vector<TranslationRow> mainRows() {
    TranslationRow fittingList{
        kFittingList,
        P::Entries,
        {{{}, "cboEditImg1_0"}, {{}, "cboEditImg1_1"}, {{}, "cboEditImg1_2"}}};
    TranslationRow fittingHint{"lblImgEditInfo",
                               P::Caption,
                               {{{}, frmMain::kLblImgEditInfo0.key},
                                {{}, frmMain::kLblImgEditInfo1a.key},
                                {{}, frmMain::kLblImgEditInfo1b.key},
                                {{}, frmMain::kLblImgEditInfo1c.key}},
                               Pick::ByFitting};
    return {
        {"", P::ApplicationTitle, {{gui::kTitle.section, gui::kTitle.key}}},
        caption("lblMenuBildauswahl"),
        caption("lblMenuEinstellungen"),
        caption("lblMenuErstellen"),
        hint("imgMenuUpdate", "imgMenuUpdate"),
        hint("imgMenuNew", "imgMenuNew"),
        hint("imgMenuLoad", "imgMenuLoad"),
        hint("imgMenuSave", "imgMenuSave"),
        effectNames(),
        caption("lblBildauswahl"),
        caption("lblBildvorschau"),
        hint("btnAdd", "btnAddHint"),
        hint("btnAddDir", "btnAddDirHint"),
        hint("btnRemove", "btnRemoveHint"),
        hint("btnUp", "btnUpHint"),
        hint("btnDown", "btnDownHint"),
        hint("btnSelAll", "btnSelAllHint"),
        caption("lblBildeigenschaften"),
        caption("lblDuration"),
        caption("lblDuration2"),
        label("txtImgTitle"),
        caption("lblImgDesc"),
        caption("lblTextColor"),
        label("txtImgLink"),
        caption("lblUebergangseffekt"),
        caption("lblEffektvorschau"),
        hint("btnPlayDemo", "btnPlayDemoHint"),
        column(0, "Col0"),
        column(1, "Col1"),
        column(2, "Col2"),
        caption("lblAudioHeader"),
        caption("optAudioNone"),
        caption("optAudio1"),
        caption("optAudioSel"),
        hint("btnAudioSelect", "btnAudioSelect"),
        hint("btnAudioPlay1", "PlayButtonHint"),
        hint("btnAudioPlaySel", "PlayButtonHint"),
        caption("chkAudioLoop"),
        caption("lblImgEditHeader"),
        caption("chkEditImg"),
        fittingList,
        label("txtEditImgFixX"),
        label("txtEditImgFixY"),
        fittingHint,
        caption("lblMiscSettingsHeader"),
        caption("lblMiscSet1"),
        caption("lblBGColor"),
        caption("chkLoop"),
        caption("chkNavBar"),
        caption("chkRandomOrder"),
        caption("optBGNone"),
        caption("optBGColor"),
        caption("chkTrim"),
        caption("chkLinkTargetBlank"),
        caption("chkAutostart"),
        label("txtOutput"),
        caption("btnCreate"),
        hint("btnOutput", "btnOutputHint"),
        caption("lblPreview"),
        caption("lblFlashNotFound"),
    };
}

std::vector<TranslationRow> ftpRows() {
    TranslationRow http = caption("lblHTTP");
    http.compose = Compose::LineBreaks;
    http.tokens = kTokenBreak;
    TranslationRow syncTrue = caption("lblSyncTrue");
    syncTrue.tokens = frmFTP::kLblSyncTrue.tokens;
    TranslationRow relative = caption("lblRelativeHTML");
    relative.tokens = frmFTP::kLblRelativeHTML.tokens;
    TranslationRow editorLink = caption("lblHTMLEditorLink");
    editorLink.pick = Pick::GermanOnly;
    TranslationRow editorLinkHint{
        "lblHTMLEditorLink",
        P::Hint,
        {{{}, "lblHTMLEditorLinkHint"},
         {internet::kHTMLIntegration.section, internet::kHTMLIntegration.key}},
        Pick::Each,
        Compose::JoinWithBlank};
    return {
        caption("cmdCancel"),
        caption("Label4"),
        caption("Label2"),
        caption("Label3"),
        caption("Label5"),
        caption("lblLeft1"),
        caption("lblLeft2"),
        caption("lblLeft3"),
        caption("lblAct"),
        caption("lblPrgAllFiles"),
        caption("lblTransferOK"),
        windowCaption("Caption"),
        caption("chkSaveFTP"),
        label("txtHTTP"),
        label("txtFTPHost"),
        label("txtFTPUser"),
        label("txtFTPPass"),
        label("txtFTPSubDir"),
        label("txtFTPPort"),
        caption("cmdNext"),
        label("txtTargetDir"),
        caption("lblSelectDir"),
        caption("lblSyncInfo"),
        caption("optSyncTrue"),
        caption("optSyncFalse"),
        syncTrue,
        caption("lblSyncFalse"),
        http,
        hint("btnCopyLink", "btnCopyHTMLSrcHint"),
        caption("lblHTMLSrc"),
        hint("btnCopyHTMLSrc", "btnCopyHTMLSrcHint"),
        editorLink,
        editorLinkHint,
        caption("lblEmbedHeader"),
        relative,
    };
}

std::vector<TranslationRow> newDirRows() {
    return {
        windowCaption("Caption"), label("txtDirName"),  label("txtDirPath"),
        caption("btnCreate"),     caption("btnCancel"),
    };
}

std::vector<TranslationRow> dialogRows() {
    TranslationRow names = caption("lblDialog3");
    names.compose = Compose::ShowNames;
    names.tokens = kToken1 | kToken2;
    return {
        windowCaption("Title"), caption("lblDialog1"), caption("lblDialog2"), names,
        caption("cmdOK"),       caption("cmdCancel"),  caption("chkBrowser"), caption("chkOpenDir"),
        caption("chkFTP"),
    };
}

std::vector<TranslationRow> progressRows() {
    return {windowCaption("Title"), caption("Label2", "Status")};
}

std::vector<TranslationRow> updateRows() {
    return {
        windowCaption("Caption"), caption("Label4"),      caption("Label1"),
        caption("Label6"),        caption("cmdCheck"),    caption("lblVers1"),
        caption("lblVers2"),      caption("lblStatus"),   caption("lblHistory"),
        caption("lblVersHist"),   caption("lblDownload"), caption("Label2"),
        caption("Label3"),        caption("cmdCancel"),   caption("lblLeft1"),
        caption("lblLeft2"),
    };
}

}  // namespace

const std::vector<TranslationTable>& TranslationTables() {
    static const std::vector<TranslationTable> tables{
        {"frmMain", mainRows()},
        {"frmFTP", ftpRows()},
        {"frmFTPNewDir", newDirRows()},
        {"frmDialog", dialogRows()},
        {"frmMiscProgress", progressRows()},
        {"frmUpdate", updateRows()},
    };
    return tables;
}

const TranslationTable* FindTranslationTable(std::string_view window) {
    for (const auto& table : TranslationTables())
        if (table.window == window) return &table;
    return nullptr;
}

std::vector<PlannedRow> PlanTranslation(std::string_view window, const TranslationState& state) {
    std::vector<PlannedRow> plan;
    const TranslationTable* table = FindTranslationTable(window);
    if (!table) return plan;
    int fittingEntry = state.fittingEntry;
    for (const auto& r : table->rows) {
        PlannedRow planned{&r, {}};
        auto add = [&](const TextKey& k) {
            planned.lookups.push_back({k.section.empty() ? table->window : k.section, k.key});
        };
        switch (r.pick) {
            case Pick::Each:
                for (const auto& k : r.keys) add(k);
                break;
            case Pick::GermanOnly:
                if (state.language == "Deutsch")
                    for (const auto& k : r.keys) add(k);
                break;
            case Pick::ByFitting: {
                LangKey k = FittingHintKey(state.fitImages, fittingEntry);
                add({k.section, k.key});
                break;
            }
        }
        // Filling a list selects its first entry; the fitting hint that follows
        // therefore describes mode 0.
        if (r.property == Property::Entries && r.control == kFittingList) fittingEntry = 0;
        plan.push_back(std::move(planned));
    }
    return plan;
}

std::vector<TextKey> TranslationLookups(std::string_view window, const TranslationState& state) {
    std::vector<TextKey> all;
    for (const auto& planned : PlanTranslation(window, state))
        all.insert(all.end(), planned.lookups.begin(), planned.lookups.end());
    return all;
}

std::vector<std::string> ComposeTexts(const TranslationRow& r,
                                      const std::vector<std::string>& texts,
                                      const TranslationState& state) {
    if (r.property == Property::Entries) return texts;
    std::string text;
    switch (r.compose) {
        case Compose::AsIs:
            if (!texts.empty()) text = texts.front();
            break;
        case Compose::JoinWithBlank:
            for (std::size_t i = 0; i < texts.size(); ++i) text += (i ? " " : "") + texts[i];
            break;
        case Compose::LineBreaks:
            if (!texts.empty()) text = ReplacePlaceholder(texts.front(), "%br%", kLineBreak);
            break;
        case Compose::ShowNames:
            // One pass, so a "%2%" inside the page's name is shown as it is.
            if (!texts.empty())
                text = ReplacePlaceholders(
                    texts.front(), {{"%1%", state.pageFileName}, {"%2%", state.dataFolderName}});
            break;
    }
    return {std::move(text)};
}

std::vector<TranslatedText> TranslateTexts(std::string_view window, const TranslationState& state,
                                           const TextLookup& lookup) {
    std::vector<TranslatedText> out;
    for (const auto& planned : PlanTranslation(window, state)) {
        std::vector<std::string> texts;
        texts.reserve(planned.lookups.size());
        for (const auto& k : planned.lookups) texts.push_back(lookup(k));
        const TranslationRow& r = *planned.row;
        out.push_back({r.control, r.property, r.column, ComposeTexts(r, texts, state)});
    }
    return out;
}

void SettleTranslationLanguage(Language& language, const std::string& newLanguage) {
    if (!newLanguage.empty()) {
        language.setCurrentLanguage(newLanguage);
        if (newLanguage == "Deutsch" || newLanguage == "English")
            language.settings().write(settings::kLanguage, newLanguage);
        return;
    }
    if (!language.CurrentLanguage().empty()) return;
    std::string wanted = language.settings().read(settings::kLanguage);
    if (wanted == "Deutsch" || wanted == "English") language.setCurrentLanguage(wanted);
}

std::vector<TranslatedText> TranslateTexts(Language& language, std::string_view window,
                                           TranslationState state, const std::string& newLanguage) {
    SettleTranslationLanguage(language, newLanguage);
    state.language = language.CurrentLanguage();
    return TranslateTexts(window, state, [&language](const TextKey& k) {
        return language.GetLangString(std::string(k.section), std::string(k.key));
    });
}

std::optional<MainWindowArtwork> MainWindowArtworkFor(std::string_view language) {
    if (language == "Deutsch") return MainWindowArtwork{"imgBGde", "imgAddHintDe", 59};
    if (language == "English") return MainWindowArtwork{"imgBGen", "imgAddHintEn", 68};
    return std::nullopt;
}

}  // namespace lumetra::lang
