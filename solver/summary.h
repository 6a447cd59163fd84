#pragma once

#include "board/text.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace veltrin {

// The squares' names as users read them, in square order. The top row's middle square is
// "middle" while the other rows say "center": these are the names users have always seen.
// TRANSLATORS: the squares of the 3x3 board, as the result message lists them and screen
// readers name them.
inline constexpr std::array<std::string_view, 9> squareNames{
    N_("Top left"),    N_("Top middle"),    N_("Top right"),
    N_("Middle left"), N_("Middle center"), N_("Middle right"),
    N_("Bottom left"), N_("Bottom center"), N_("Bottom right")};

// How many times c occurs in S, each search resuming one character after the start of the
// previous match (so "aa" occurs twice in "aaa"). An empty c occurs nowhere.
//
// The count is 64-bit: a long search can draw one square far more than 32767 times, and
// only the count modulo 3 matters to the caller.
std::int64_t charCount(std::string_view S, std::string_view c);

// TRANSLATORS: the result message begins so; the combination follows it after an empty line.
inline constexpr const char* resultPrompt = N_("To solve, use the following combination: ");

// TRANSLATORS: how many times to press a square in the game; %d is 0, 1 or 2.
inline constexpr const char* timesText = NP_("%d time(s)", "%d time(s)");

// The words the combination is told in: the prompt, the squares' names, and a count with its
// word ("2 time(s)"). The core's own are the English above, which a front end shows where the
// user's language has no translation; a front end gives those of the user's language.
struct Words {
    std::string prompt;
    std::array<std::string, squareNames.size()> names;
    std::function<std::string(int n)> times;
};
const Words& englishWords();

// The combination a move record stands for: for each square, from "Top left" to
// "Bottom right", how many times (0, 1 or 2) to press it. Each of the nine entries is
// preceded by an empty line; lines end in CR LF; there is no line break after the last.
std::string shorten(std::string_view solution, const Words& words = englishWords());

} // namespace veltrin
