#pragma once

// The colours the nine squares show, for the window that draws the squares itself.
// A search changes up to five squares a trial, tens of thousands of trials in a row; while
// the board is locked for it, a change is only noted here, and the squares it touched are
// drawn together at the next event pass, once each, however often they changed.

#include "board/board.h"

#include <array>
#include <cstddef>

namespace veltrin {

class SquareColours {
public:
    SquareColours() { colours_.fill(colors[0]); }

    Colour operator[](int p) const { return colours_.at(static_cast<std::size_t>(p)); }

    // Square p is to show `colour`. True when it is to be drawn now; false while the board is
    // locked, when it waits for drawChanged.
    bool set(int p, Colour colour) {
        colours_.at(static_cast<std::size_t>(p)) = colour;
        changed_ |= locked_ ? 1u << p : 0u;
        return !locked_;
    }

    bool locked() const { return locked_; }
    void setLocked(bool locked) { locked_ = locked; }

    // Calls draw(p, colour) for each square changed since the last call, and forgets them.
    template <class Draw> void drawChanged(Draw&& draw) {
        const unsigned changed = changed_;
        changed_ = 0;
        for (int p = 0; p < squareCount; ++p) {
            if (changed & (1u << p)) {
                draw(p, (*this)[p]);
            }
        }
    }

private:
    std::array<Colour, squareCount> colours_{};
    unsigned changed_ = 0;
    bool locked_ = false;
};

} // namespace veltrin
