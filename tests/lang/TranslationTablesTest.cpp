#include "lang/TranslationTables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/Settings.h"
#include "app/SettingsKeys.h"
#include "lang/Language.h"
#include "support/ScriptedServices.h"
#include "support/TestFolder.h"

namespace lumetra::lang {
namespace {

namespace fs = std::filesystem;

const char* const kWindows[] = {"frmMain",   "frmFTP",          "frmFTPNewDir",
                                "frmDialog", "frmMiscProgress", "frmUpdate"};

std::string name(const TextKey& k) {
    return std::string(k.section) + "/" + std::string(k.key);
}

// A lookup that answers "section/key", so every text shows where it came from.
std::string echo(const TextKey& k) {
    return name(k);
}

TranslationState stateFor(std::string language) {
    TranslationState s;
    s.language = std::move(language);
    return s;
}

const TranslatedText* find(const std::vector<TranslatedText>& texts, std::string_view control,
                           Property property) {
    for (const auto& t : texts)
        if (t.control == control && t.property == property) return &t;
    return nullptr;
}

TEST(TranslationTablesTest, WindowsAreFoundByTheirExactName) {
    for (const char* window : kWindows) EXPECT_NE(FindTranslationTable(window), nullptr) << window;
    for (const char* other : {"frmmain", "FRMFTP", "frmMain ", "frmOther", ""}) {
        SCOPED_TRACE(other);
        EXPECT_EQ(FindTranslationTable(other), nullptr);
        int calls = 0;
        auto texts = TranslateTexts(other, stateFor("Deutsch"), [&](const TextKey&) {
            ++calls;
            return std::string("x");
        });
        EXPECT_TRUE(texts.empty());
        EXPECT_EQ(calls, 0);
    }
}

TEST(TranslationTablesTest, LookupCountsPerWindow) {
    struct {
        const char* window;
        std::size_t german, english;
    } cases[] = {
        // About a hundred for the main window; the editor link only in German.
        {"frmMain", 106, 106}, {"frmFTP", 36, 35},        {"frmFTPNewDir", 5, 5},
        {"frmDialog", 9, 9},   {"frmMiscProgress", 2, 2}, {"frmUpdate", 16, 16},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.window);
        EXPECT_EQ(TranslationLookups(c.window, stateFor("Deutsch")).size(), c.german);
        EXPECT_EQ(TranslationLookups(c.window, stateFor("English")).size(), c.english);
    }
}

TEST(TranslationTablesTest, MainWindowOrderStartsWithTitleTabsHintsAndEffectNames) {
    auto lookups = TranslationLookups("frmMain", stateFor("English"));
    ASSERT_GE(lookups.size(), 54u);
    std::vector<std::string> head;
    for (std::size_t i = 0; i < 8; ++i) head.push_back(name(lookups[i]));
    EXPECT_EQ(head, (std::vector<std::string>{
                        "GUI/Title", "frmMain/lblMenuBildauswahl", "frmMain/lblMenuEinstellungen",
                        "frmMain/lblMenuErstellen", "frmMain/imgMenuUpdate", "frmMain/imgMenuNew",
                        "frmMain/imgMenuLoad", "frmMain/imgMenuSave"}));
    for (int n = 0; n < kEffectCount; ++n)
        EXPECT_EQ(name(lookups[8 + static_cast<std::size_t>(n)]),
                  "TransitionEffectNames/" + std::to_string(n));
    EXPECT_EQ(name(lookups[53]), "frmMain/lblBildauswahl");
    EXPECT_EQ(name(lookups.back()), "frmMain/lblFlashNotFound");
}

TEST(TranslationTablesTest, SharedKeysAreLookedUpOncePerControl) {
    struct {
        const char* window;
        TextKey key;
        std::vector<std::string_view> controls;
    } cases[] = {
        {"frmMain", {"frmMain", "PlayButtonHint"}, {"btnAudioPlay1", "btnAudioPlaySel"}},
        {"frmFTP", {"frmFTP", "btnCopyHTMLSrcHint"}, {"btnCopyLink", "btnCopyHTMLSrc"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string_view> controls;
        for (const auto& planned : PlanTranslation(c.window, stateFor("Deutsch")))
            for (const auto& k : planned.lookups)
                if (k == c.key) controls.push_back(planned.row->control);
        EXPECT_EQ(controls, c.controls) << name(c.key);
    }
}

TEST(TranslationTablesTest, FittingHintPicksOneKey) {
    struct {
        bool fitImages;
        int fitMode;
        const char* key;
    } direct[] = {
        {false, 0, "lblImgEditInfo0"},  {false, 2, "lblImgEditInfo0"},
        {true, 0, "lblImgEditInfo1a"},  {true, 1, "lblImgEditInfo1b"},
        {true, 2, "lblImgEditInfo1c"},  {true, 9, "lblImgEditInfo1a"},
        {true, -1, "lblImgEditInfo1a"},
    };
    for (const auto& c : direct)
        EXPECT_EQ(FittingHintKey(c.fitImages, c.fitMode).key, c.key) << c.fitImages << c.fitMode;

    // Translating fills the fitting list first, which selects its first
    // entry, so the hint never describes the mode selected before.
    for (const auto& c : direct) {
        TranslationState state = stateFor("Deutsch");
        state.fitImages = c.fitImages;
        state.fittingEntry = c.fitMode;
        auto plan = PlanTranslation("frmMain", state);
        auto list = std::find_if(plan.begin(), plan.end(), [](const PlannedRow& p) {
            return p.row->control == "cboEditImg1";
        });
        auto hint = std::find_if(plan.begin(), plan.end(), [](const PlannedRow& p) {
            return p.row->control == "lblImgEditInfo";
        });
        ASSERT_TRUE(list != plan.end() && hint != plan.end());
        EXPECT_LT(list, hint);
        ASSERT_EQ(hint->lookups.size(), 1u);
        EXPECT_EQ(hint->lookups[0].key, c.fitImages ? "lblImgEditInfo1a" : "lblImgEditInfo0");
    }
}

TEST(TranslationTablesTest, EditorLinkCaptionOnlyInGerman) {
    for (const char* language : {"Deutsch", "English", ""}) {
        SCOPED_TRACE(language);
        std::vector<std::string> looked;
        auto texts = TranslateTexts("frmFTP", stateFor(language), [&](const TextKey& k) {
            looked.push_back(name(k));
            return echo(k);
        });
        const auto* caption = find(texts, "lblHTMLEditorLink", Property::Caption);
        const auto* hint = find(texts, "lblHTMLEditorLink", Property::Hint);
        ASSERT_TRUE(caption && hint);
        bool german = std::string(language) == "Deutsch";
        EXPECT_EQ(caption->texts[0], german ? "frmFTP/lblHTMLEditorLink" : "");
        EXPECT_EQ(std::count(looked.begin(), looked.end(), "frmFTP/lblHTMLEditorLink"),
                  german ? 1 : 0);
        EXPECT_EQ(hint->texts[0], "frmFTP/lblHTMLEditorLinkHint Internet/HTMLIntegration");
    }
}

TEST(TranslationTablesTest, ComposedTexts) {
    TranslationState state = stateFor("Deutsch");
    state.pageFileName = "Mein-Urlaub.html";
    state.dataFolderName = "Mein-Urlaub_dateien";
    struct {
        const char* window;
        std::string_view control;
        std::string text;
        std::string expected;
    } cases[] = {
        {"frmDialog", "lblDialog3", "Kopieren Sie %1% und %2%.",
         "Kopieren Sie Mein-Urlaub.html und Mein-Urlaub_dateien."},
        {"frmDialog", "lblDialog3", "%1%%1% %2%%2% %3%",
         "Mein-Urlaub.htmlMein-Urlaub.html Mein-Urlaub_dateienMein-Urlaub_dateien %3%"},
        {"frmFTP", "lblHTTP", "Adresse:%br%Beispiel%br%", "Adresse:\nBeispiel\n"},
        // Filled with its numbers later, by the synchronisation page.
        {"frmFTP", "lblSyncTrue", "%1% MB%br%%3%", "%1% MB%br%%3%"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        auto texts = TranslateTexts(c.window, state, [&](const TextKey& k) {
            return k.key == c.control ? c.text : std::string("x");
        });
        const auto* t = find(texts, c.control, Property::Caption);
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(t->texts, std::vector<std::string>{c.expected});
    }
    // A page whose name holds "%2%" keeps it: the names are inserted once.
    state.pageFileName = "50%2%.html";
    auto texts = TranslateTexts("frmDialog", state, [](const TextKey&) { return "%1% / %2%"; });
    EXPECT_EQ(find(texts, "lblDialog3", Property::Caption)->texts[0],
              "50%2%.html / Mein-Urlaub_dateien");
}

TEST(TranslationTablesTest, ListsKeepTheirEntryCountWhenTextsAreMissing) {
    auto texts = TranslateTexts("frmMain", stateFor("Deutsch"), [](const TextKey& k) {
        return k.key == "3" ? std::string() : std::string("x");
    });
    const auto* effects = find(texts, "cboEffectsIn", Property::Entries);
    const auto* fitting = find(texts, "cboEditImg1", Property::Entries);
    ASSERT_TRUE(effects && fitting);
    EXPECT_EQ(effects->texts.size(), 45u);
    EXPECT_EQ(effects->texts[3], "");
    EXPECT_EQ(fitting->texts, (std::vector<std::string>{"x", "x", "x"}));
}

TEST(TranslationTablesTest, TextsGoToTheirControls) {
    struct {
        const char* window;
        std::string_view control;
        Property property;
        int column;
        const char* text;
    } cases[] = {
        {"frmMain", "", Property::ApplicationTitle, 0, "GUI/Title"},
        {"frmMain", "lsvGFX", Property::ColumnCaption, 1, "frmMain/Col1"},
        {"frmMain", "txtImgTitle", Property::Label, 0, "frmMain/txtImgTitle"},
        {"frmMain", "btnAdd", Property::Hint, 0, "frmMain/btnAddHint"},
        {"frmMain", "btnAudioSelect", Property::Hint, 0, "frmMain/btnAudioSelect"},
        {"frmFTP", "", Property::Caption, 0, "frmFTP/Caption"},
        {"frmFTPNewDir", "", Property::Caption, 0, "frmFTPNewDir/Caption"},
        {"frmDialog", "", Property::Caption, 0, "frmDialog/Title"},
        {"frmMiscProgress", "Label2", Property::Caption, 0, "frmMiscProgress/Status"},
        {"frmUpdate", "lblDownload", Property::Caption, 0, "frmUpdate/lblDownload"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        auto texts = TranslateTexts(c.window, stateFor("Deutsch"), echo);
        auto it = std::find_if(texts.begin(), texts.end(), [&](const TranslatedText& t) {
            return t.control == c.control && t.property == c.property && t.column == c.column;
        });
        ASSERT_NE(it, texts.end());
        EXPECT_EQ(it->texts, std::vector<std::string>{c.text});
    }
}

class TranslateWithFilesTest : public ::testing::Test {
  protected:
    test::TestFolder dir;
    test::ScriptedServices services;
    Settings settings{dir / "Settings.ini"};
    Language lang{settings, services, dir / "program"};

    void SetUp() override {
        fs::create_directories(dir / "program");
        fs::copy(fs::path(LUMETRA_SOURCE_DIR) / "lng", dir / "program" / "lng",
                 fs::copy_options::recursive);
    }
};

TEST_F(TranslateWithFilesTest, SettlingTheLanguage) {
    struct {
        const char* stored;
        const char* given;
        const char* current;
        const char* storedAfter;
    } cases[] = {
        {"English", "", "English", "English"},
        {"english", "", "", "english"},  // exact spelling only
        {"Deutsch", "English", "English", "English"},
        {"English", "Klingon", "Klingon", "English"},  // kept for the run, not stored
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.stored) + "/" + c.given);
        Language fresh{settings, services, dir / "program"};
        settings.write(settings::kLanguage, c.stored);
        SettleTranslationLanguage(fresh, c.given);
        EXPECT_EQ(fresh.CurrentLanguage(), c.current);
        EXPECT_EQ(settings.read(settings::kLanguage), c.storedAfter);
    }
    // Once known, the language stays for the run.
    settings.write(settings::kLanguage, "English");
    SettleTranslationLanguage(lang, "");
    settings.write(settings::kLanguage, "Deutsch");
    SettleTranslationLanguage(lang, "");
    EXPECT_EQ(lang.CurrentLanguage(), "English");
}

// Every window, in both languages, with the delivered files: no text is
// missing and every placeholder that translation fills is gone.
TEST_F(TranslateWithFilesTest, EveryWindowTranslatesSilently) {
    for (const char* language : {"Deutsch", "English"}) {
        Language fresh{settings, services, dir / "program"};
        settings.write(settings::kLanguage, language);
        for (const char* window : kWindows) {
            SCOPED_TRACE(std::string(language) + " " + window);
            TranslationState state;
            state.fitImages = true;
            state.pageFileName = "Show.html";
            state.dataFolderName = "Show_data";
            auto texts = TranslateTexts(fresh, window, state);
            EXPECT_EQ(fresh.CurrentLanguage(), language);
            for (const auto& t : texts) {
                for (const auto& s : t.texts) {
                    bool emptyOnPurpose = t.control == "lblHTMLEditorLink" &&
                                          t.property == Property::Caption &&
                                          std::string(language) != "Deutsch";
                    EXPECT_EQ(s.empty(), emptyOnPurpose) << t.control;
                }
            }
            const auto* http = find(texts, "lblHTTP", Property::Caption);
            if (http) {
                EXPECT_EQ(http->texts[0].find("%br%"), std::string::npos);
            }
            const auto* dialog = find(texts, "lblDialog3", Property::Caption);
            if (dialog) {
                EXPECT_NE(dialog->texts[0].find("\"Show.html\""), std::string::npos);
                EXPECT_NE(dialog->texts[0].find("\"Show_data\""), std::string::npos);
            }
        }
    }
    for (const auto& m : services.messages) ADD_FAILURE() << m.text;
}

}  // namespace
}  // namespace lumetra::lang
