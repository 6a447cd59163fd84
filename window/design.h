#pragma once

// The window as every front end builds it: its texts, the places of its controls and the
// keyboard order. No toolkit here: the Qt, Win32 and web front ends all take these, so the
// three cannot drift apart.

#include "board/board.h"
#include "board/text.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

namespace veltrin::design {

// ---- texts -----------------------------------------------------------------------------

inline constexpr const char* appTitle = "Veltrin"; // the title of every message: a name
inline constexpr const char* windowTitle = N_("Veltrin Solver");
// TRANSLATORS: the button that starts a search; the start-up message names it.
inline constexpr const char* solveCaption = N_("Solve!");
inline constexpr const char* setupCaption = "Check1"; // never shown: the box is hidden
// TRANSLATORS: the one button of every message.
inline constexpr const char* okCaption = N_("OK");

// The start-up message, a line each, joined with CR LF.
inline constexpr std::array<const char*, 5> startUpLines{
    // TRANSLATORS: "differenct" is misspelt in English on purpose, as users have always read
    // it; write your language's word correctly.
    N_("This program uses the colors red, white, and blue to represent the differenct types of "
       "trees."),
    N_("Click on individual squares to change their colors to match what you see in the game."),
    // TRANSLATORS: 'Solve!' is the caption of the button, as translated there.
    N_("Press the 'Solve!' button, wait, and use the given combination in the game."), "",
    // TRANSLATORS: keep the e-mail address as it is.
    N_("Please direct all feedback to Veltrin maintainers (maintainers@veltrin.example)")};

// The first lines of what the user reads when an error escapes a handler, before the program
// ends; the error's own description follows them.
inline constexpr const char* fatalText = N_("Veltrin met an internal error and has to close.");

// The place of a colour in the table. A square shows only the table's colours: any other is
// a fault, and throws std::out_of_range where it is used, as colourOf does past the table.
inline std::size_t colourIndex(Colour colour) {
    return static_cast<std::size_t>(std::find(colors.begin(), colors.end(), colour) -
                                    colors.begin());
}

// What a screen reader says for a square's colour: "red", "blue" or "white".
inline const char* colourName(Colour colour) {
    // TRANSLATORS: the colours of the squares, as a screen reader says them.
    constexpr std::array<const char*, colors.size()> names{N_("red"), N_("blue"), N_("white")};
    return names.at(colourIndex(colour));
}

// Whether a square's focus mark is drawn white rather than black: white on a dark colour (by
// the usual grey weights), so that the mark stays readable on all three.
inline bool whiteFocusMarkOn(Colour colour) {
    const unsigned r = colour & 0xFF, g = (colour >> 8) & 0xFF, b = (colour >> 16) & 0xFF;
    return (r * 11 + g * 16 + b * 5) / 32 < 64;
}

// ---- geometry --------------------------------------------------------------------------

// Places and sizes in twips, 1440 to the inch, relative to the control's container.
struct Rect {
    int left;
    int top;
    int width;
    int height;
};

inline constexpr int twipsPerInch = 1440;

inline constexpr int clientWidth = 2040; // the window's client area
inline constexpr int clientHeight = 2370;

// The board area holds the squares and the Solve button, so that disabling it locks both.
// It runs a little past the client area's right and bottom edges; the window cuts it off
// there, and everything in it lies within the visible part.
inline constexpr Rect picture1{120, 120, 1935, 2295};

// Square k (0..8, row by row from the top left) in the board area. Squares are one pitch
// apart and a little larger, so neighbours overlap by a pixel and share their frames.
inline constexpr int squarePitch = 600;
inline constexpr int squareSize = 615;
constexpr Rect square(int k) {
    return {(k % 3) * squarePitch, (k / 3) * squarePitch, squareSize, squareSize};
}

inline constexpr Rect command1{0, 1800, 1815, 375}; // the Solve button, in the board area
inline constexpr Rect setup{0, 0, 855, 195};        // the hidden mode box, in the window

// The part of square k that no control lies over, relative to the square. Each square lies
// under its right-hand neighbour and the square below it (on the bottom row, the Solve
// button), so redrawing only this part leaves the overlapping controls alone.
constexpr Rect exposed(int k) {
    const Rect r = square(k);
    const int right = k % 3 < 2 ? square(k + 1).left : r.left + r.width;
    const int bottom = k / 3 < 2 ? square(k + 3).top : command1.top;
    return {0, 0, right - r.left, (bottom < r.top + r.height ? bottom : r.top + r.height) - r.top};
}

// Twips as pixels at `dpi` dots per inch, rounded to the nearest as Windows' MulDiv does:
// 15 twips to the pixel at 96.
constexpr int toPixels(int twips, int dpi) {
    return (twips * dpi + twipsPerInch / 2) / twipsPerInch;
}

constexpr Rect toPixels(const Rect& r, int dpi) {
    return {toPixels(r.left, dpi), toPixels(r.top, dpi), toPixels(r.width, dpi),
            toPixels(r.height, dpi)};
}

// ---- keyboard --------------------------------------------------------------------------

// The keyboard's focus order: the Solve button first, then the squares from the bottom
// right back to the top left. Squares are named by their index; the button by this.
inline constexpr int solveButton = -1;
inline constexpr std::array<int, 10> tabOrder{solveButton, 8, 7, 6, 5, 4, 3, 2, 1, 0};

} // namespace veltrin::design
