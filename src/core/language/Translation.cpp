#include "core/language/Translation.h"

#include "core/language/Catalogue.h"

#include <array>
#include <cstdlib>
#include <map>
#include <memory>

namespace servo {

// The PO files, compiled in (see the build).
struct CatalogueSource {
    const char* code;
    const char* po;
};
extern const std::span<const CatalogueSource> builtInCatalogues;

namespace {

constexpr std::array<Language, 5> Languages{{
    {"en", "&English"},
    {"de", "&Deutsch"},
    {"fr", "&Français"},
    {"es", "E&spañol"},
    {"ru", "&Русский"},
}};

struct Current {
    std::string code = "en";
    const Catalogue* catalogue = nullptr;
    std::map<std::string, std::unique_ptr<Catalogue>, std::less<>> loaded;
};

Current& current() {
    static Current state;
    return state;
}

// "ru_RU.UTF-8" -> "ru", "fr-CA" -> "fr".
std::string baseCode(std::string_view tag) {
    const std::size_t end = tag.find_first_of("_-.@");
    std::string code(tag.substr(0, end));
    for (char& c : code) {
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    return code;
}

bool speaks(const std::string& code) {
    for (const Language& language : Languages) {
        if (code == language.code) {
            return true;
        }
    }
    return false;
}

} // namespace

std::span<const Language> languages() {
    return Languages;
}

std::string_view catalogueSource(std::string_view code) {
    for (const CatalogueSource& source : builtInCatalogues) {
        if (code == source.code) {
            return source.po;
        }
    }
    return {};
}

bool setLanguage(std::string_view code) {
    Current& now = current();
    const std::string base = baseCode(code);
    const bool known = speaks(base) && code.size() == base.size();
    now.code = known ? base : "en";
    now.catalogue = nullptr;
    if (now.code != "en") {
        auto& slot = now.loaded[now.code];
        if (!slot) {
            slot =
                std::make_unique<Catalogue>(Catalogue::fromPo(catalogueSource(now.code), now.code));
        }
        now.catalogue = slot.get();
    }
    return known;
}

const char* languageCode() {
    return current().code.c_str();
}

const char* tr(const char* english) {
    const Catalogue* catalogue = current().catalogue;
    if (catalogue == nullptr || english == nullptr) {
        return english;
    }
    const std::string* translated = catalogue->find(english);
    return translated == nullptr ? english : translated->c_str();
}

std::string tr(const std::string& english) {
    return tr(english.c_str());
}

std::string trn(const char* singular, const char* plural, long count) {
    const Catalogue* catalogue = current().catalogue;
    if (catalogue != nullptr) {
        if (const std::string* form = catalogue->findPlural(singular, count)) {
            return *form;
        }
    }
    return count == 1 ? singular : plural;
}

std::string filled(std::string_view pattern, const std::vector<std::string>& values) {
    std::string text;
    std::size_t next = 0; // the value a plain "%s" takes
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%' || i + 1 >= pattern.size()) {
            text += pattern[i];
            continue;
        }
        if (pattern[i + 1] == '%') {
            text += '%';
            ++i;
            continue;
        }
        std::size_t index = next;
        std::size_t at = i + 1;
        if (pattern[at] >= '1' && pattern[at] <= '9' && pattern.substr(at + 1, 2) == "$s") {
            index = static_cast<std::size_t>(pattern[at] - '1');
            at += 2;
        } else if (pattern[at] == 's') {
            ++next;
        } else {
            text += pattern[i];
            continue;
        }
        text += index < values.size() ? values[index] : std::string();
        i = at;
    }
    return text;
}

std::string preferredLanguage(const std::vector<std::string>& preferences) {
    for (const std::string& preference : preferences) {
        std::size_t start = 0;
        while (start <= preference.size()) {
            std::size_t end = preference.find(':', start);
            end = end == std::string::npos ? preference.size() : end;
            const std::string code =
                baseCode(std::string_view(preference).substr(start, end - start));
            if (speaks(code)) {
                return code;
            }
            start = end + 1;
        }
    }
    return "en";
}

std::string languageOfEnvironment() {
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value == nullptr || *value == '\0') {
            continue;
        }
        const std::string setting = value;
        if (setting == "C" || setting == "POSIX" || setting.rfind("C.", 0) == 0) {
            return "en";
        }
        // A setting that names only languages without a catalogue leaves the choice to the next.
        const std::string code = preferredLanguage({setting});
        if (code != "en" || baseCode(setting) == "en") {
            return code;
        }
    }
    return "en";
}

} // namespace servo
