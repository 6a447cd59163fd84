#pragma once

#include <cstdint>
#include <string>

namespace veltrin {

// A colour laid out 0x00BBGGRR: red in the low byte, blue in the third.
using Colour = std::int32_t;

// Everything the board and the solver need from the window around them. The window
// implements it with real widgets and the tests with a recording fake, so the game logic
// never depends on a toolkit.
class Platform {
public:
    virtual ~Platform() = default;

    // Square p (0..8) shows `colour` from its next repaint on.
    virtual void paintSquare(int p, Colour colour) = 0;

    // The press mode: true in setup mode (a press advances only the pressed square),
    // false in game mode (it also advances the neighbours).
    virtual bool setupMode() const = 0;
    virtual void setSetupMode(bool setup) = 0;

    // While locked, the squares and the Solve button take no input of any kind, but they
    // keep their look: the user watches the search through them.
    virtual void lockBoard(bool locked) = 0;

    // The next output of the search's Generator (solver/random.h), which starts from the
    // same state in every run and is never reseeded, so the same clicks always replay the
    // same search. Asked of the platform so that tests can script the draws.
    virtual std::uint32_t nextRandom() = 0;

    // A modal message with an OK button only. Lines are separated by CR LF. The window takes
    // no input until the user has dismissed it: on the desktop it returns then; the page's
    // returns at once and goes on when it is dismissed.
    virtual void msgBox(const std::string& text) = 0;
};

// A front end whose search is one loop (solve) lets the window breathe between trials; the
// page's own tasks do that instead, between the steps of the search.
class LoopPlatform : public Platform {
public:
    // Repaints and handles whatever input is pending. Returns false once the program is
    // ending (the user closed the window): the caller must then stop without doing more.
    virtual bool doEvents() = 0;
};

} // namespace veltrin
