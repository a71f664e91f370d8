#pragma once
// The texts of each window as data: which language keys go to which control
// property, in which order they are looked up, and how special rows pick or
// combine their texts. The window layer only maps control names to widgets;
// everything that decides a text lives here, so it can be tested headless.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lang/LangKeys.h"

namespace lumetra {
class Language;
}

namespace lumetra::lang {

// A key of a table row. An empty section means the window's own section.
struct TextKey {
    std::string_view section;
    std::string_view key;
    friend bool operator==(const TextKey&, const TextKey&) = default;
};

enum class Property {
    ApplicationTitle,  // the application's title (main window only)
    Caption,           // visible text of a label, button, check box, radio button; of the
                       // window's title bar when the control name is empty
    Label,             // caption of the label that belongs to a text field
    Hint,              // tooltip
    Entries,           // list entries, one per key, in order; the first becomes selected
    ColumnCaption,     // caption of column `column` of a list view
};

// Which of a row's keys are looked up.
enum class Pick {
    Each,        // every key, in order
    ByFitting,   // one key, FittingHintKey of FitImages and the fitting list's selected entry
    GermanOnly,  // every key when the language is "Deutsch"; otherwise none, and the text is empty
};

// How the looked-up texts become the property's text.
enum class Compose {
    AsIs,           // the text (Entries: each text an entry)
    JoinWithBlank,  // the texts joined by one blank
    LineBreaks,     // every "%br%" becomes a line break
    ShowNames,      // "%1%" becomes the page's file name, "%2%" the data folder's name
};

struct TranslationRow {
    std::string_view control;  // objectName; empty for the window itself
    Property property;
    std::vector<TextKey> keys;
    Pick pick = Pick::Each;
    Compose compose = Compose::AsIs;
    int column = 0;             // ColumnCaption only
    Tokens tokens = kNoTokens;  // placeholders each key's text carries (replaced here or later)
};

struct TranslationTable {
    std::string_view window;
    std::vector<TranslationRow> rows;
};

// The tables of frmMain, frmFTP, frmFTPNewDir, frmDialog, frmMiscProgress, frmUpdate.
const std::vector<TranslationTable>& TranslationTables();
// The table of a window; names compare exactly. Null for any other name.
const TranslationTable* FindTranslationTable(std::string_view window);

// The selection list whose reset by its Entries row precedes the fitting hint.
inline constexpr std::string_view kFittingList = "cboEditImg1";

// What the rows depend on besides the language file.
struct TranslationState {
    std::string language;        // CurrentLanguage at translation time
    bool fitImages = false;      // FitImages
    int fittingEntry = 0;        // selected entry of the fitting list before translation
    std::string pageFileName;    // frmDialog: the output file's name with ".html"
    std::string dataFolderName;  // frmDialog: SafeShowName + GUI/DataDirName
};

// One row with the keys it looks up, sections filled in, in lookup order.
struct PlannedRow {
    const TranslationRow* row;
    std::vector<TextKey> lookups;
};

// The rows of a window in order, with their lookups; empty for an unknown window.
std::vector<PlannedRow> PlanTranslation(std::string_view window, const TranslationState& state);
// All lookups of a window's translation, in order (one per lookup, repeats included).
std::vector<TextKey> TranslationLookups(std::string_view window, const TranslationState& state);

// The text (or the entries) one row gives its control.
struct TranslatedText {
    std::string_view control;
    Property property;
    int column;
    std::vector<std::string> texts;  // Entries: one per entry; otherwise exactly one
};

using TextLookup = std::function<std::string(const TextKey&)>;

// Combines a row's looked-up texts (in lookup order) as its Compose says.
std::vector<std::string> ComposeTexts(const TranslationRow& row,
                                      const std::vector<std::string>& texts,
                                      const TranslationState& state);

// Translates one window: every planned row, looked up through lookup.
std::vector<TranslatedText> TranslateTexts(std::string_view window, const TranslationState& state,
                                           const TextLookup& lookup);

// Sets CurrentLanguage as the translation of a window does: a given language
// becomes current (and is stored in the settings when it is "Deutsch" or
// "English"); without one, an unknown language is read from the settings
// exactly as the first lookup would.
void SettleTranslationLanguage(Language& language, const std::string& newLanguage);

// Translates one window with the language's lookups (state.language is taken
// from the language after settling it).
std::vector<TranslatedText> TranslateTexts(Language& language, std::string_view window,
                                           TranslationState state,
                                           const std::string& newLanguage = {});

// The main window's artwork for the language: background picture, picture of
// the empty list and the horizontal position of the three page captions.
struct MainWindowArtwork {
    std::string_view background;
    std::string_view addHint;
    int tabCaptionLeft;
};
std::optional<MainWindowArtwork> MainWindowArtworkFor(std::string_view language);

}  // namespace lumetra::lang
