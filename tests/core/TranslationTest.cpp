#include "core/language/Translation.h"
#include "core/commands/Commands.h"
#include "core/language/Catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace servo::testing {
namespace {

constexpr const char* SamplePo = R"(# a comment
msgid ""
msgstr ""
"Language: ru\n"
"Plural-Forms: nplurals=3; plural=(n%10==1 && n%100!=11 ? 0 : n%10>=2 && n%10<=4 && "
"(n%100<10 || n%100>=20) ? 1 : 2);\n"

#: src/core/commands/Commands.cpp
msgid "&Run"
msgstr "&Пуск"

#, fuzzy
msgid "Panic/&Stop"
msgstr "Стоп"

msgid "Grid"
msgstr ""

#, c-format
msgid "Line one\n"
"and \"two\""
msgstr "Строка\n"
"и \"две\""

msgid "%s cycle"
msgid_plural "%s cycles"
msgstr[0] "%s цикл"
msgstr[1] "%s цикла"
msgstr[2] "%s циклов"
)";

TEST(Catalogue, KeepsTranslatedEntriesAndLeavesOutFuzzyAndEmptyOnes) {
    const Catalogue catalogue = Catalogue::fromPo(SamplePo, "ru");
    ASSERT_NE(catalogue.find("&Run"), nullptr);
    EXPECT_EQ(*catalogue.find("&Run"), "&Пуск");
    EXPECT_EQ(catalogue.find("Panic/&Stop"), nullptr);
    EXPECT_EQ(catalogue.find("Grid"), nullptr);
    ASSERT_NE(catalogue.find("Line one\nand \"two\""), nullptr);
    EXPECT_EQ(*catalogue.find("Line one\nand \"two\""), "Строка\nи \"две\"");
    EXPECT_EQ(catalogue.pluralForms(), Catalogue::pluralFormsOf("ru"));
    const std::vector<PoEntry> entries = readPoEntries(SamplePo);
    ASSERT_EQ(entries.size(), 6u);
    EXPECT_TRUE(entries[2].fuzzy);
    EXPECT_TRUE(entries[4].cFormat);
    EXPECT_EQ(entries[5].idPlural, "%s cycles");
}

TEST(Catalogue, PluralFormsFollowEachLanguagesRule) {
    const Catalogue catalogue = Catalogue::fromPo(SamplePo, "ru");
    const std::pair<long, const char*> russian[] = {
        {1, "%s цикл"},  {2, "%s цикла"},  {5, "%s циклов"},   {11, "%s циклов"},
        {21, "%s цикл"}, {22, "%s цикла"}, {112, "%s циклов"}, {0, "%s циклов"}};
    for (const auto& [count, form] : russian) {
        ASSERT_NE(catalogue.findPlural("%s cycle", count), nullptr);
        EXPECT_EQ(*catalogue.findPlural("%s cycle", count), form) << count;
    }
    EXPECT_EQ(Catalogue::pluralIndex("fr", 0), 0u);
    EXPECT_EQ(Catalogue::pluralIndex("fr", 2), 1u);
    EXPECT_EQ(Catalogue::pluralIndex("de", 0), 1u);
    EXPECT_EQ(Catalogue::pluralIndex("es", 1), 0u);
}

TEST(Translation, FillsPlaceholdersInTurnOrByNumber) {
    EXPECT_EQ(filled("Target at %s, %s", {"x", "y"}), "Target at x, y");
    EXPECT_EQ(filled("%2$s before %1$s, 100%%", {"a", "b"}), "b before a, 100%");
    EXPECT_EQ(filled("%d stays", {"x"}), "%d stays");
}

TEST(Translation, ChoosesTheFirstPreferredLanguageItSpeaks) {
    const std::pair<std::vector<std::string>, const char*> cases[] = {{{"ja", "fr-CA", "de"}, "fr"},
                                                                      {{"ru_RU.UTF-8"}, "ru"},
                                                                      {{"pt:es:de"}, "es"},
                                                                      {{"ja", "zh"}, "en"},
                                                                      {{}, "en"},
                                                                      {{"DE-at"}, "de"}};
    for (const auto& [preferences, code] : cases) {
        EXPECT_EQ(preferredLanguage(preferences), code);
    }
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
        unsetenv(name);
    }
    setenv("LANG", "es_ES.UTF-8", 1);
    setenv("LC_MESSAGES", "ja_JP.UTF-8", 1); // no catalogue: the next setting decides
    EXPECT_EQ(languageOfEnvironment(), "es");
    setenv("LANGUAGE", "ru:de", 1);
    EXPECT_EQ(languageOfEnvironment(), "ru");
    setenv("LC_ALL", "C", 1);
    unsetenv("LANGUAGE");
    EXPECT_EQ(languageOfEnvironment(), "en");
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
        unsetenv(name);
    }
}

TEST(Translation, AnUnknownLanguageIsEnglishAndEnglishIsTheSource) {
    EXPECT_FALSE(setLanguage("xx"));
    EXPECT_STREQ(languageCode(), "en");
    EXPECT_STREQ(tr("&Run"), "&Run");
    EXPECT_EQ(trn("%s cycle", "%s cycles", 2), "%s cycles");
    for (const Language& language : languages()) {
        EXPECT_TRUE(setLanguage(language.code)) << language.code;
        if (std::string(language.code) != "en") {
            EXPECT_NE(catalogueSource(language.code), "") << language.code;
            EXPECT_EQ(
                Catalogue::fromPo(catalogueSource(language.code), language.code).pluralForms(),
                Catalogue::pluralFormsOf(language.code))
                << language.code;
        }
    }
    setLanguage("en");
}

} // namespace
} // namespace servo::testing

namespace servo::testing {
namespace {

std::string fileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// The placeholders of a text, in order: "%s", "%2$s", "%%" left out.
std::vector<std::string> placeholders(const std::string& text) {
    std::vector<std::string> found;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '%' && text[i + 1] == '%') {
            ++i;
        } else if (text[i] == '%') {
            const std::size_t end = text.find('s', i);
            found.push_back(text.substr(i, end - i + 1));
            i = end;
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

TEST(Catalogues, EachIsCompleteWithTheSourcesPlaceholdersAndLineEnds) {
    const std::vector<PoEntry> source =
        readPoEntries(fileText(SERVO_SOURCE_DIR "/po/servo-simulator.pot"));
    ASSERT_GT(source.size(), 100u);
    for (const Language& language : languages()) {
        if (std::string(language.code) == "en") {
            continue;
        }
        std::map<std::string, PoEntry> translated;
        for (PoEntry& entry : readPoEntries(catalogueSource(language.code))) {
            translated[entry.id] = std::move(entry);
        }
        EXPECT_EQ(translated.size(), source.size())
            << language.code << ": entries not in the sources";
        for (const PoEntry& english : source) {
            if (english.id.empty()) {
                continue;
            }
            const auto found = translated.find(english.id);
            ASSERT_NE(found, translated.end()) << language.code << " lacks " << english.id;
            const PoEntry& entry = found->second;
            EXPECT_FALSE(entry.fuzzy) << language.code << ": " << english.id;
            ASSERT_FALSE(entry.translations.empty()) << language.code << ": " << english.id;
            for (const std::string& text : entry.translations) {
                EXPECT_FALSE(text.empty())
                    << language.code << " leaves untranslated: " << english.id;
                EXPECT_EQ(placeholders(text), placeholders(english.id))
                    << language.code << ": " << english.id;
                EXPECT_EQ(text.ends_with('\n'), english.id.ends_with('\n'))
                    << language.code << ": " << english.id;
            }
        }
    }
}

// A mnemonic is a key of its own on the language's keyboards: a letter a to z, or in Russian
// a Cyrillic letter of the Russian layout; no accented letter, which is a plain key on no
// Spanish or French keyboard.
bool plainKey(const std::string& mnemonic, bool cyrillic) {
    if (mnemonic.size() == 1) {
        return mnemonic[0] >= 'a' && mnemonic[0] <= 'z';
    }
    // UTF-8 of a small Cyrillic letter: а to я (U+0430..U+044F) or ё (U+0451).
    const bool cyrillicLetter =
        mnemonic.size() == 2 &&
        ((mnemonic >= "\u0430" && mnemonic <= "\u044f") || mnemonic == "\u0451");
    return cyrillic && cyrillicLetter;
}

// One menu as an edition shows it: each entry's English caption (a submenu counts once, by its
// own caption), with `recording` the Record item's caption while a recording runs.
std::vector<const char*> menuEntries(const std::vector<MenuItem>& items, Edition edition,
                                     bool recording) {
    std::vector<const char*> entries;
    const char* submenu = nullptr;
    for (const MenuItem& item : items) {
        if (item.command == Command::Quit || !shownIn(item, edition) ||
            (item.submenu != nullptr && item.submenu == submenu)) {
            continue; // in no menu, in the other edition's only, or a submenu already counted
        }
        submenu = item.submenu;
        entries.push_back(item.submenu != nullptr                        ? item.submenu
                          : recording && item.command == Command::Record ? StopRecordingCaption
                                                                         : item.caption.c_str());
    }
    return entries;
}

// In each language, each menu as each edition shows it: an entry with a mnemonic in English has
// one, on a plain key, and no two entries share one. The Language submenu names each language
// in its own words, each with a mnemonic of its own.
TEST(Catalogues, MnemonicsArePlainKeysThatDifferWithinEachMenuInEveryLanguage) {
    for (const Language& language : languages()) {
        setLanguage(language.code);
        const bool russian = std::string(language.code) == "ru";
        for (const Edition edition : {Edition::Desktop, Edition::Page}) {
            for (const auto* items : {&menuBarItems(), &labMenuItems()}) {
                for (const bool recording : {false, true}) {
                    std::set<std::string> mnemonics;
                    for (const char* english : menuEntries(*items, edition, recording)) {
                        const std::string mnemonic = mnemonicOf(tr(english));
                        const std::string where = std::string(language.code) + ": " + tr(english);
                        EXPECT_TRUE(mnemonic.empty() || plainKey(mnemonic, russian)) << where;
                        EXPECT_FALSE(mnemonic.empty() && !mnemonicOf(english).empty()) << where;
                        EXPECT_TRUE(mnemonic.empty() || mnemonics.insert(mnemonic).second) << where;
                    }
                }
            }
        }
    }
    setLanguage("en");
    std::set<std::string> languageMnemonics;
    for (const Language& language : languages()) {
        const std::string mnemonic = mnemonicOf(language.name);
        EXPECT_TRUE(plainKey(mnemonic, true)) << language.name;
        EXPECT_TRUE(languageMnemonics.insert(mnemonic).second) << language.name;
    }
}

TEST(Catalogues, PlainKeysAreLettersOfTheKeyboard) {
    EXPECT_TRUE(plainKey(mnemonicOf("Plus &lent"), false));
    EXPECT_FALSE(plainKey(mnemonicOf("Contraste &élevé"), false));
    EXPECT_FALSE(plainKey(mnemonicOf("M&ás lento"), false));
    EXPECT_FALSE(plainKey(mnemonicOf("&Пуск"), false));
    EXPECT_TRUE(plainKey(mnemonicOf("&Пуск"), true));
    EXPECT_TRUE(plainKey(mnemonicOf("&Ёлка"), true));
    EXPECT_FALSE(plainKey(mnemonicOf("&Écrire"), true));
    EXPECT_FALSE(plainKey(mnemonicOf("Language"), true));
}

} // namespace
} // namespace servo::testing
