#pragma once

// The user's language, for every front end alike: which one to speak, and each text in it.
// The translations are made at build time from po/ (cmake/catalogues.py) into tables of this
// shape; English is the texts as the sources write them, spoken wherever no catalogue matches.
// No toolkit here, and no libintl, which neither MinGW nor Emscripten has on Debian.

#include "solver/summary.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace veltrin {

// A text and its translation: one form, or one for each plural form of the language.
struct Message {
    const char* id; // the English, as the sources mark it
    const char* const* forms;
    unsigned count;
};

struct Catalogue {
    const char* language;                     // as po/LINGUAS names it: "pl", "pt_BR"
    const char* tag;                          // as BCP 47 writes it: "pl", "pt-BR"
    unsigned long (*plural)(unsigned long n); // the form for a count, from Plural-Forms
    std::span<const Message> messages;        // in the byte order of their ids
};

// Every catalogue the build made, the pseudo-language "en@pseudo" last.
const std::span<const Catalogue> catalogues();

// Speaks the first of `wanted` (the user's languages, most wanted first, as the platform
// gives them: "pl_PL.UTF-8", "pt-BR", "de") that Veltrin has, each tried as it is, then as its
// language alone ("pl_PL", then "pl"); English where none matches. Returns the tag of the
// language spoken ("en" for English).
std::string chooseLanguage(const std::vector<std::string>& wanted);

// The tag of the language spoken ("pl", "pt-BR"; "en" for English).
std::string languageTag();

// The languages a Linux desktop asks for, as gettext reads them from its environment:
// LANGUAGE (a list, "pl:de"), then the locale of messages (LC_ALL, LC_MESSAGES or LANG). The C
// locale, which is also what a locale the system lacks comes to, asks for the texts as
// written, whatever LANGUAGE says.
std::vector<std::string> languagesFromEnvironment();

// `text` in the language spoken, or as it is where its catalogue has no translation.
const char* translate(const char* text);

// `text`, which holds "%d", for the count n: in the language's plural form for n, n put in.
std::string translate(const char* text, unsigned long n);

// The start-up message, its lines joined with CR LF.
std::string startUpText();

// What the user reads when `what` escapes a handler.
std::string fatalReport(std::string_view what);

// The words of the combination message.
Words combinationWords();

} // namespace veltrin
