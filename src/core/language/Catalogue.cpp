#include "core/language/Catalogue.h"

#include <algorithm>

namespace servo {

namespace {

// The text of a PO string's quotes, C escapes undone.
std::string unquoted(std::string_view quoted) {
    const std::size_t open = quoted.find('"');
    const std::size_t close = quoted.rfind('"');
    if (open == std::string_view::npos || close <= open) {
        return {};
    }
    std::string text;
    for (std::size_t i = open + 1; i < close; ++i) {
        if (quoted[i] == '\\' && i + 1 < close) {
            const char next = quoted[++i];
            text += next == 'n' ? '\n' : next == 't' ? '\t' : next == 'r' ? '\r' : next;
        } else {
            text += quoted[i];
        }
    }
    return text;
}

std::string_view trimmed(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) {
        line.remove_suffix(1);
    }
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) {
        line.remove_prefix(1);
    }
    return line;
}

} // namespace

std::vector<PoEntry> readPoEntries(std::string_view po) {
    std::vector<PoEntry> entries;
    PoEntry entry;
    std::string* into = nullptr; // the string a continuation line adds to
    std::size_t start = 0;
    while (start < po.size()) {
        std::size_t end = po.find('\n', start);
        end = end == std::string_view::npos ? po.size() : end;
        const std::string_view line = trimmed(po.substr(start, end - start));
        start = end + 1;
        if (line.empty()) {
            continue;
        }
        // A comment or a msgid after translations begins the next entry.
        const bool begins = line.front() == '#' || line.rfind("msgctxt", 0) == 0 ||
                            (line.rfind("msgid", 0) == 0 && line.rfind("msgid_plural", 0) != 0);
        if (begins && !entry.translations.empty()) {
            entries.push_back(std::move(entry));
            entry = PoEntry{};
            into = nullptr;
        }
        if (line.front() == '#') {
            if (line.rfind("#,", 0) == 0) {
                entry.fuzzy = entry.fuzzy || line.find("fuzzy") != std::string_view::npos;
                entry.cFormat =
                    entry.cFormat || (line.find(" c-format") != std::string_view::npos &&
                                      line.find("no-c-format") == std::string_view::npos);
            }
        } else if (line.front() == '"') {
            if (into != nullptr) {
                *into += unquoted(line);
            }
        } else if (line.rfind("msgid_plural", 0) == 0) {
            entry.idPlural = unquoted(line);
            into = &entry.idPlural;
        } else if (line.rfind("msgid", 0) == 0) {
            entry.id = unquoted(line);
            into = &entry.id;
        } else if (line.rfind("msgstr", 0) == 0) {
            entry.translations.push_back(unquoted(line));
            into = &entry.translations.back();
        } else {
            into = nullptr; // msgctxt and anything else: not kept
        }
    }
    if (!entry.translations.empty()) {
        entries.push_back(std::move(entry));
    }
    return entries;
}

Catalogue Catalogue::fromPo(std::string_view po, std::string_view language) {
    Catalogue catalogue;
    catalogue.language_ = std::string(language);
    for (PoEntry& entry : readPoEntries(po)) {
        if (entry.id.empty()) {
            const std::string& header =
                entry.translations.empty() ? entry.id : entry.translations[0];
            const std::size_t at = header.find("Plural-Forms:");
            if (at != std::string::npos) {
                const std::size_t from = header.find_first_not_of(' ', at + 13);
                catalogue.pluralForms_ = header.substr(from, header.find('\n', from) - from);
            }
            continue;
        }
        const bool translated = !entry.translations.empty() &&
                                std::all_of(entry.translations.begin(), entry.translations.end(),
                                            [](const std::string& text) { return !text.empty(); });
        if (entry.fuzzy || !translated) {
            continue;
        }
        if (entry.idPlural.empty()) {
            catalogue.texts_.emplace(std::move(entry.id), std::move(entry.translations[0]));
        } else {
            catalogue.plurals_.emplace(std::move(entry.id), std::move(entry.translations));
        }
    }
    return catalogue;
}

const std::string* Catalogue::find(std::string_view english) const {
    const auto found = texts_.find(english);
    return found == texts_.end() ? nullptr : &found->second;
}

const std::string* Catalogue::findPlural(std::string_view singular, long count) const {
    const auto found = plurals_.find(singular);
    if (found == plurals_.end()) {
        return nullptr;
    }
    const std::size_t index = pluralIndex(language_, count);
    return index < found->second.size() ? &found->second[index] : nullptr;
}

std::size_t Catalogue::pluralIndex(std::string_view language, long count) {
    const long n = count < 0 ? -count : count;
    if (language == "fr") {
        return n > 1 ? 1 : 0;
    }
    if (language == "ru") {
        if (n % 10 == 1 && n % 100 != 11) {
            return 0;
        }
        return n % 10 >= 2 && n % 10 <= 4 && (n % 100 < 10 || n % 100 >= 20) ? 1 : 2;
    }
    return n == 1 ? 0 : 1;
}

std::string Catalogue::pluralFormsOf(std::string_view language) {
    if (language == "fr") {
        return "nplurals=2; plural=(n > 1);";
    }
    if (language == "ru") {
        return "nplurals=3; plural=(n%10==1 && n%100!=11 ? 0 : n%10>=2 && n%10<=4 && "
               "(n%100<10 || n%100>=20) ? 1 : 2);";
    }
    return "nplurals=2; plural=(n != 1);";
}

} // namespace servo
