#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

// Marks an English text for the catalogue where it is defined (a table's caption); it is
// translated where it is shown, with tr().
#define N_(text) text

namespace servo {

// The languages the program speaks: its code and its own name for itself.
struct Language {
    const char* code;
    const char* name; // '&' before its mnemonic in the Language submenu, unique among languages
};
// English first, then the catalogues shipped.
std::span<const Language> languages();

// The language texts are shown in from now on: a code of languages(); anything else is
// English (and gives false). A display setting: nothing the simulation computes, prints in a
// trace or writes in a file depends on it.
bool setLanguage(std::string_view code);
const char* languageCode();

// A text in the current language: its translation, or the English text itself. The result
// lives as long as the program.
const char* tr(const char* english);
std::string tr(const std::string& english);
// A text with a count: the plural form the count takes in the current language.
std::string trn(const char* singular, const char* plural, long count);
// A translated text with its placeholders filled: "%s" in turn, or "%1$s", "%2$s" by number.
std::string filled(std::string_view pattern, const std::vector<std::string>& values);

// The first language of a list of preferences that the program speaks, else "en": codes
// such as "de", "fr-CA", "ru_RU.UTF-8", or a LANGUAGE value ("de:fr").
std::string preferredLanguage(const std::vector<std::string>& preferences);
// As the C library's messages would choose: LANGUAGE, LC_ALL, LC_MESSAGES, LANG, in turn (a
// "C" or "POSIX" locale is English).
std::string languageOfEnvironment();

// A catalogue's PO text as the program was built with it, or an empty text.
std::string_view catalogueSource(std::string_view code);

} // namespace servo
