#pragma once

#include "board/platform.h"

#include <windows.h>

#include <array>

namespace veltrin {

// How a square looks: nothing but its colour in a thin frame, which keeps neighbours of one
// colour apart and thickens while the square is held down, as a button's bevel would. The
// brushes are made once, for the table's colours.
class SquarePainter {
public:
    SquarePainter();
    ~SquarePainter();
    SquarePainter(const SquarePainter&) = delete;
    SquarePainter& operator=(const SquarePainter&) = delete;

    // Draws square k in `colour` on `dc`, whose origin is the square's top left corner, at
    // `dpi`; `state` is the owner-drawn button's (held down, focused). Only the part that no
    // neighbour lies over is touched, whether the square was uncovered or a search changed it.
    void draw(HDC dc, int k, Colour colour, UINT state, int dpi) const;

private:
    HBRUSH frame_;
    std::array<HBRUSH, 3> colours_;
};

} // namespace veltrin
