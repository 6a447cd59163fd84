#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace veltrin {

// The squares' names as users read them, in square order. The top row's middle square is
// "middle" while the other rows say "center": these are the names users have always seen.
inline constexpr std::array<std::string_view, 9> squareNames{
    "Top left",     "Top middle",  "Top right",     "Middle left", "Middle center",
    "Middle right", "Bottom left", "Bottom center", "Bottom right"};

// How many times c occurs in S, each search resuming one character after the start of the
// previous match (so "aa" occurs twice in "aaa"). An empty c occurs nowhere.
//
// The count is 64-bit: a long search can draw one square far more than 32767 times, and
// only the count modulo 3 matters to the caller.
std::int64_t charCount(std::string_view S, std::string_view c);

// The combination a move record stands for: for each square, from "Top left" to
// "Bottom right", how many times (0, 1 or 2) to press it. Each of the nine entries is
// preceded by an empty line; lines end in CR LF; there is no line break after the last.
std::string shorten(std::string_view solution);

} // namespace veltrin
