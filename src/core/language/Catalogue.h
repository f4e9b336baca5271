#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace servo {

// One language's translations as a gettext PO file gives them: each English text (msgid) with
// its translation, or its plural forms. Fuzzy and untranslated entries are left out, so that
// their English shows instead.
class Catalogue {
public:
    // Reads a PO file's text; `language` ("de", "ru") chooses the plural rule.
    static Catalogue fromPo(std::string_view po, std::string_view language);

    // The translation of an English text, or nullptr.
    const std::string* find(std::string_view english) const;
    // The plural form for `count` of an entry with a plural, or nullptr.
    const std::string* findPlural(std::string_view singular, long count) const;
    std::size_t size() const { return texts_.size(); }
    // The header's "Plural-Forms:" value, as the file states it.
    const std::string& pluralForms() const { return pluralForms_; }

    // Which plural form a count takes in a language: English, German and Spanish 0 for one,
    // else 1; French 0 for 0 and 1; Russian 0, 1 or 2 by the last digits.
    static std::size_t pluralIndex(std::string_view language, long count);
    // The Plural-Forms header each language's file must state.
    static std::string pluralFormsOf(std::string_view language);

private:
    std::map<std::string, std::string, std::less<>> texts_;
    std::map<std::string, std::vector<std::string>, std::less<>> plurals_;
    std::string language_;
    std::string pluralForms_;
};

// A PO file's entries as written, for the catalogue checks: every msgid with its msgid_plural,
// translations and flags.
struct PoEntry {
    std::string id;
    std::string idPlural;
    std::vector<std::string> translations; // msgstr, or msgstr[0], [1], ...
    bool fuzzy = false;
    bool cFormat = false;
};
std::vector<PoEntry> readPoEntries(std::string_view po);

} // namespace servo
