#include "window/language.h"

#include "window/design.h"

#include <algorithm>
#include <cctype>
#include <clocale>
#include <cstdlib>
#include <cstring>

namespace veltrin {

namespace {

const Catalogue* spoken = nullptr; // none: English

// The names to look for when a user asks for `name` ("pl_PL.UTF-8", "pt-br", "en@pseudo"):
// without its encoding, then without its modifier too, then its language alone, each spelt
// as po/LINGUAS spells them ("pt_BR").
std::vector<std::string> candidates(std::string name) {
    const auto modifier = name.find('@');
    const std::string tail = modifier == std::string::npos ? "" : name.substr(modifier);
    name = name.substr(0, std::min(name.find('.'), modifier));
    std::string language, region;
    for (std::size_t at = 0, part = 0; at <= name.size(); ++part) {
        const std::size_t end = std::min(name.find_first_of("_-", at), name.size());
        std::string piece = name.substr(at, end - at);
        const bool letters = std::all_of(piece.begin(), piece.end(),
                                         [](unsigned char c) { return std::isalpha(c); });
        for (char& c : piece) {
            c = static_cast<char>(part == 0 ? std::tolower(static_cast<unsigned char>(c))
                                            : std::toupper(static_cast<unsigned char>(c)));
        }
        if (part == 0) {
            language = piece;
        } else if (region.empty() && piece.size() == 2 && letters) {
            region = piece; // a script between them ("zh-Hans-CN") is passed over
        }
        at = end + 1;
    }
    const std::string regional = region.empty() ? language : language + "_" + region;
    return {regional + tail, regional, language};
}

const Message* find(const char* text) {
    if (!spoken) {
        return nullptr;
    }
    const auto& messages = spoken->messages;
    const auto at =
        std::lower_bound(messages.begin(), messages.end(), text,
                         [](const Message& m, const char* t) { return std::strcmp(m.id, t) < 0; });
    return at != messages.end() && std::strcmp(at->id, text) == 0 ? &*at : nullptr;
}

} // namespace

std::string chooseLanguage(const std::vector<std::string>& wanted) {
    spoken = nullptr;
    for (const std::string& name : wanted) {
        for (const std::string& candidate : candidates(name)) {
            if (candidate == "en") {
                return "en";
            }
            for (const Catalogue& catalogue : catalogues()) {
                if (candidate == catalogue.language) {
                    spoken = &catalogue;
                    return catalogue.tag;
                }
            }
        }
    }
    return "en";
}

std::string languageTag() {
    return spoken ? spoken->tag : "en";
}

std::vector<std::string> languagesFromEnvironment() {
    // The locale of messages as the C library takes it from the environment (LC_ALL, then
    // LC_MESSAGES, then LANG), which is the C locale where the system has no such locale.
    // Windows' C library has no such category: there the system's own language is asked.
#if defined(LC_MESSAGES)
    const char* set = std::setlocale(LC_MESSAGES, "");
#else
    const char* set = nullptr;
#endif
    const std::string locale = set ? set : "C";
    if (locale == "C" || locale == "POSIX") {
        return {};
    }
    std::vector<std::string> wanted;
    const char* list = std::getenv("LANGUAGE");
    for (std::string_view rest = list ? list : ""; !rest.empty();) {
        const std::size_t end = std::min(rest.find(':'), rest.size());
        if (end > 0) {
            wanted.emplace_back(rest.substr(0, end));
        }
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    wanted.push_back(locale);
    return wanted;
}

const char* translate(const char* text) {
    const Message* message = find(text);
    return message ? message->forms[0] : text;
}

std::string translate(const char* text, unsigned long n) {
    const Message* message = find(text);
    std::string shown = text;
    if (message) {
        shown = message->forms[std::min<unsigned long>(spoken->plural(n), message->count - 1)];
    }
    const auto at = shown.find("%d");
    return at == std::string::npos ? shown : shown.replace(at, 2, std::to_string(n));
}

std::string startUpText() {
    std::string text;
    for (const char* line : design::startUpLines) {
        text += (text.empty() ? "" : "\r\n") + std::string(*line ? translate(line) : "");
    }
    return text;
}

std::string fatalReport(std::string_view what) {
    return translate(design::fatalText) + std::string("\r\n\r\n") + std::string(what);
}

Words combinationWords() {
    Words words{translate(resultPrompt), {}, [](int n) {
                    return translate(timesText, static_cast<unsigned>(n));
                }};
    for (std::size_t k = 0; k < squareNames.size(); ++k) {
        words.names[k] = translate(squareNames[k].data());
    }
    return words;
}

} // namespace veltrin
