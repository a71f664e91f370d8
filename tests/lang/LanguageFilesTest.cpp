// Checks the delivered language files against every key the program asks for:
// a missing or misspelt key, a lost placeholder or a stray one would only show
// up at run time, as a "Dod ERR" box or a broken sentence.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "app/Encoding.h"
#include "app/IniFile.h"
#include "app/Settings.h"
#include "app/SettingsKeys.h"
#include "lang/LangKeys.h"
#include "lang/Language.h"
#include "lang/TranslationTables.h"
#include "support/ScriptedServices.h"
#include "support/TestFolder.h"

namespace lumetra::lang {
namespace {

namespace fs = std::filesystem;

const fs::path kLngFolder = fs::path(LUMETRA_SOURCE_DIR) / "lng";

std::string readText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::string lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return s;
}

std::string trimmed(const std::string& s) {
    auto b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(" \t\r") - b + 1);
}

using SectionKey = std::pair<std::string, std::string>;

struct Entry {
    std::string section, key, value;  // value as written after "="
    int line;
};

struct ParsedFile {
    std::vector<Entry> entries;
    std::vector<std::string> sections;
    std::vector<std::string> problems;
};

// A strict reading of the file: everything the lenient lookup would silently
// ignore or alter is reported as a problem.
ParsedFile parse(const std::string& text) {
    ParsedFile out;
    std::istringstream in(text);
    std::string line, section;
    std::set<std::string> seenSections;
    std::set<SectionKey> seenKeys;
    for (int n = 1; std::getline(in, line); ++n) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::string t = trimmed(line);
        if (t.empty() || t[0] == ';') continue;
        auto where = "line " + std::to_string(n) + ": ";
        if (t[0] == '[') {
            if (t.back() != ']') out.problems.push_back(where + "broken section line");
            section = trimmed(t.substr(1, t.size() - 2));
            if (!seenSections.insert(lower(section)).second)
                out.problems.push_back(where + "section again: " + section);
            out.sections.push_back(section);
            continue;
        }
        auto eq = line.find('=');
        if (eq == std::string::npos || section.empty()) {
            out.problems.push_back(where + "not a key line");
            continue;
        }
        Entry e{section, trimmed(line.substr(0, eq)), line.substr(eq + 1), n};
        if (!seenKeys.insert({lower(section), lower(e.key)}).second)
            out.problems.push_back(where + "key again (the later one is never read): " + e.key);
        if (e.value != trimmed(e.value))
            out.problems.push_back(where + "blanks around the text are dropped: " + e.key);
        const std::string& v = e.value;
        if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
            out.problems.push_back(where + "enclosing quotes are dropped: " + e.key);
        out.entries.push_back(std::move(e));
    }
    return out;
}

// Every key the program looks up, with the placeholders its text must carry.
std::map<SectionKey, Tokens> requiredKeys() {
    std::map<SectionKey, Tokens> keys;
    for (const auto& k : kKeysOutsideTranslation)
        keys[{std::string(k.section), std::string(k.key)}] |= k.tokens;
    for (int n = 0; n < kEffectCount; ++n) {
        LangKey k = EffectNameKey(n);
        keys[{std::string(k.section), std::string(k.key)}];
    }
    for (const auto& table : TranslationTables())
        for (const auto& row : table.rows)
            for (const auto& k : row.keys) {
                std::string section(k.section.empty() ? table.window : k.section);
                keys[{section, std::string(k.key)}] |= row.tokens;
            }
    return keys;
}

std::string tokenNames(Tokens t) {
    std::string s;
    for (const auto& token : kTokens)
        if (t & token.bit) s += std::string(token.text) + " ";
    return s.empty() ? "(none)" : s;
}

std::vector<std::string> split(const std::string& s, char sep) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        auto pos = s.find(sep, start);
        parts.push_back(s.substr(start, pos - start));
        if (pos == std::string::npos) return parts;
        start = pos + 1;
    }
}

class LanguageFileTest : public ::testing::TestWithParam<const char*> {
  protected:
    std::string language = GetParam();
    std::string text = readText(kLngFolder / (language + ".lng"));
    ParsedFile file = parse(text);

    std::string valueAt(const SectionKey& k) const {
        return ini::findValue(text, k.first, k.second).value_or("");
    }
    std::string value(const LangKey& k) const {
        return valueAt({std::string(k.section), std::string(k.key)});
    }
};

TEST_P(LanguageFileTest, IsWellFormedUtf8) {
    ASSERT_FALSE(text.empty()) << "missing " << language << ".lng";
    EXPECT_TRUE(IsValidUtf8(text));
    EXPECT_NE(text.rfind("\xEF\xBB\xBF", 0), 0u) << "no byte-order mark, the file is plain UTF-8";
    for (const auto& p : file.problems) ADD_FAILURE() << p;
    for (const auto& e : file.entries)
        EXPECT_LE(e.value.size(), ini::kMaxValueLength) << e.key << " would be cut";
}

TEST_P(LanguageFileTest, EveryKeyHasATextWithExactlyItsPlaceholders) {
    static const std::regex anyToken("%[A-Za-z0-9_]+%");
    for (const auto& [key, tokens] : requiredKeys()) {
        SCOPED_TRACE(key.first + "/" + key.second);
        std::string v = valueAt(key);
        EXPECT_FALSE(v.empty());
        EXPECT_EQ(tokenNames(TokensIn(v)), tokenNames(tokens)) << v;
        for (auto it = std::sregex_iterator(v.begin(), v.end(), anyToken);
             it != std::sregex_iterator(); ++it) {
            std::string found = it->str();
            bool known = std::any_of(kTokens.begin(), kTokens.end(),
                                     [&](const TokenInfo& t) { return t.text == found; });
            EXPECT_TRUE(known) << "unknown placeholder " << found;
        }
    }
}

TEST_P(LanguageFileTest, HoldsOnlyKeysTheProgramAsksFor) {
    auto required = requiredKeys();
    std::set<SectionKey> known;
    for (const auto& [k, tokens] : required) known.insert({lower(k.first), lower(k.second)});
    for (const auto& e : file.entries)
        EXPECT_TRUE(known.count({lower(e.section), lower(e.key)}))
            << "line " << e.line << ": stray key " << e.section << "/" << e.key;
}

TEST_P(LanguageFileTest, EffectNamesAreCompleteAndDistinct) {
    std::set<std::string> names;
    for (int n = 0; n < kEffectCount; ++n) {
        std::string name = value(EffectNameKey(n));
        EXPECT_FALSE(name.empty()) << "effect " << n;
        EXPECT_TRUE(names.insert(name).second) << "effect " << n << " repeats " << name;
    }
    EXPECT_TRUE(valueAt({"TransitionEffectNames", "45"}).empty());
}

TEST_P(LanguageFileTest, FileFiltersUseTheDescriptionPatternForm) {
    static const std::regex pattern(R"(\*\.[a-z0-9]+)");
    struct Case {
        LangKey key;
        std::set<std::string> firstPatterns;  // the list offered first
        std::set<std::string> allPatterns;    // every pattern of the filter
    };
    const std::set<std::string> pictures{"*.jpg", "*.jpeg", "*.png", "*.bmp",
                                         "*.gif", "*.tif",  "*.tiff"};
    const Case cases[] = {
        {gui::kImgFileFilter, pictures, pictures},
        {gui::kAudio, {"*.mp3"}, {"*.mp3"}},
        {gui::kHTMLFilter, {"*.html", "*.htm"}, {"*.html", "*.htm"}},
        {gui::kProjFileFilter, {"*.lmx"}, {"*.lmx"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.key.key));
        auto parts = split(value(c.key), '|');
        ASSERT_EQ(parts.size() % 2, 0u) << "description|patterns pairs";
        std::set<std::string> all;
        for (std::size_t i = 0; i < parts.size(); i += 2) {
            EXPECT_FALSE(trimmed(parts[i]).empty());
            EXPECT_EQ(parts[i].find(';'), std::string::npos) << parts[i];
            std::set<std::string> listed;
            for (const auto& p : split(parts[i + 1], ';')) {
                EXPECT_TRUE(std::regex_match(p, pattern)) << p;
                listed.insert(p);
                all.insert(p);
                // The description names what it offers.
                EXPECT_NE(parts[i].find(p), std::string::npos) << p << " in " << parts[i];
            }
            if (i == 0) {
                EXPECT_EQ(listed, c.firstPatterns);
            }
        }
        EXPECT_EQ(all, c.allPatterns);
    }
}

TEST_P(LanguageFileTest, NamesAndAddressesAreSafe) {
    EXPECT_EQ(value(gui::kTitle), "Lumetra");
    // The data folder's suffix ends up in file names and addresses unescaped.
    EXPECT_TRUE(std::regex_match(value(gui::kDataDirName), std::regex("[A-Za-z0-9_-]+")));
    for (const LangKey& k : {gui::kDefaultDir, gui::kDefaultShowName}) {
        std::string v = value(k);
        EXPECT_EQ(v.find_first_of("/\\:*?\"<>|%"), std::string::npos) << v;
        EXPECT_NE(v, ".");
        EXPECT_NE(v, "..");
    }
    // The comment texts sit inside "<!-- ... -->".
    for (const LangKey& k : {gui::kHTMLCommentStart, gui::kHTMLCommentEnd}) {
        EXPECT_EQ(value(k).find("--"), std::string::npos);
        EXPECT_EQ(value(k).find('>'), std::string::npos);
    }
    EXPECT_NE(value(gui::kHTMLCommentStart), value(gui::kHTMLCommentEnd));
    for (const LangKey& k : kAddressKeys) {
        std::string v = value(k);
        EXPECT_EQ(v.rfind(std::string(kInternetHost) + "/", 0), 0u) << k.key << ": " << v;
        EXPECT_EQ(v.find_first_of(" \t\"<>"), std::string::npos) << v;
    }
    // The program appends "&v=0" or "&v=1".
    EXPECT_NE(value(internet::kHTMLIntegration).find('?'), std::string::npos);
    EXPECT_EQ(std::string(kVersionFileAddress).rfind(std::string(kInternetHost) + "/", 0), 0u);
    // The start folder goes through the remote path rules unchanged.
    EXPECT_TRUE(std::regex_match(value(frmFTP::kDefaultDirName), std::regex("/[a-z0-9_-]+")));
}

TEST_P(LanguageFileTest, SpeaksOfTheBuiltInPreviewNotOfFlash) {
    for (const auto& e : file.entries)
        EXPECT_EQ(lower(e.value).find("flash"), std::string::npos) << e.key << ": " << e.value;
}

// Each lookup of a listed key through the program's own lookup stays silent.
TEST_P(LanguageFileTest, LookupsNeverReportAMissingKey) {
    test::TestFolder dir;
    fs::create_directories(dir / "program");
    fs::copy(kLngFolder, dir / "program" / "lng", fs::copy_options::recursive);
    test::ScriptedServices services;
    Settings settings{dir / "Settings.ini"};
    settings.write(settings::kLanguage, language);
    Language lang{settings, services, dir / "program"};
    for (const auto& [key, tokens] : requiredKeys())
        EXPECT_FALSE(GetLangString(lang, LangKey{key.first, key.second}).empty()) << key.second;
    EXPECT_EQ(lang.CurrentLanguage(), language);
    for (const auto& m : services.messages) ADD_FAILURE() << m.text;
}

INSTANTIATE_TEST_SUITE_P(Delivered, LanguageFileTest, ::testing::Values("Deutsch", "English"));

TEST(LanguageFilesTest, BothFilesHaveTheSameSectionsAndKeys) {
    auto keysOf = [](const std::string& language) {
        std::set<SectionKey> keys;
        for (const auto& e : parse(readText(kLngFolder / (language + ".lng"))).entries)
            keys.insert({e.section, e.key});
        return keys;
    };
    auto de = keysOf("Deutsch");
    auto en = keysOf("English");
    ASSERT_FALSE(de.empty());
    for (const auto& k : de)
        EXPECT_TRUE(en.count(k)) << "English lacks " << k.first << "/" << k.second;
    for (const auto& k : en)
        EXPECT_TRUE(de.count(k)) << "German lacks " << k.first << "/" << k.second;
}

// Transliterations betray a text typed without umlauts; umlauts in the English
// file betray a leftover German text.
TEST(LanguageFilesTest, EachFileUsesItsOwnLettering) {
    // Texts only: some key names are transliterated on purpose.
    auto textsOf = [](const std::string& language) {
        std::string all;
        for (const auto& e : parse(readText(kLngFolder / (language + ".lng"))).entries)
            all += e.value + "\n";
        return all;
    };
    std::string de = textsOf("Deutsch");
    std::string en = textsOf("English");
    for (const char* letter : {"ä", "ö", "ü", "ß", "Ü"})
        EXPECT_NE(de.find(letter), std::string::npos) << letter;
    for (const char* spelling :
         {"fuer", "ueber", "Ueber", "moechten", "koennen", "groess", "Groess", "waehl", "Waehl",
          "fueg", "oeffn", "schliess", "Schliess", "pruef", "Pruef", "hoeh", "Hoeh", "Aender"})
        EXPECT_EQ(de.find(spelling), std::string::npos) << spelling;
    for (const char* letter : {"ä", "ö", "ü", "ß", "Ä", "Ö", "Ü"})
        EXPECT_EQ(en.find(letter), std::string::npos) << letter;
}

// A key that the tables and the key list both name must agree on its placeholders.
TEST(LanguageFilesTest, TablesAndKeyListAgreeOnPlaceholders) {
    std::map<SectionKey, Tokens> listed;
    for (const auto& k : kKeysOutsideTranslation)
        listed[{std::string(k.section), std::string(k.key)}] = k.tokens;
    for (const auto& table : TranslationTables())
        for (const auto& row : table.rows)
            for (const auto& k : row.keys) {
                SectionKey key{std::string(k.section.empty() ? table.window : k.section),
                               std::string(k.key)};
                auto it = listed.find(key);
                if (it != listed.end()) {
                    EXPECT_EQ(tokenNames(it->second), tokenNames(row.tokens)) << key.second;
                }
            }
}

}  // namespace
}  // namespace lumetra::lang
