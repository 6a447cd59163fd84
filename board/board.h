#pragma once

#include "board/platform.h"

#include <array>
#include <cstdint>

namespace veltrin {

inline constexpr int squareCount = 9;

// The colour each square value is shown in: a press takes a square one step along this
// table, red -> blue -> white -> red.
inline constexpr std::array<Colour, 3> colors{0x0000FF, 0xFF0000, 0xFFFFFF};

// Row and column (1..3, from the top and from the left) of square i, numbered 0..8 row by
// row from the top left. Pure arithmetic; an index outside 0..8 gives a row or column
// outside 1..3, which the board refuses.
constexpr int row(int i) {
    // Rounds towards minus infinity, so that a negative index lands on row 0 or below (and is
    // refused) rather than being folded onto a real row.
    return i / 3 - (i % 3 < 0 ? 1 : 0) + 1;
}

constexpr int col(int i) {
    // The remainder keeps the sign of i: a negative index gives a column below 1.
    return i % 3 + 1;
}

// Reports a row or column outside 1..3; kept out of line so the checks stay cheap.
[[noreturn]] void subscriptError(int r, int c);

// The nine square values (0..2) and the two kinds of press. Every change goes through
// cycleCell, which repaints the square at once.
class Board {
public:
    explicit Board(Platform& platform) : platform_(platform) {}

    // Advances square p one step and repaints it.
    void cycleCell(int p);

    // A click on square p: in setup mode only p advances; in game mode p and each of its
    // orthogonal neighbours do, in the order left, right, above, below.
    void pressSquare(int p);

    // True when all nine squares hold the same value.
    bool isSolved() const;

    std::uint8_t value(int p) const { return cell(row(p), col(p)); }

private:
    // The square at row r and column c (1..3 each), range-checked.
    std::uint8_t& cell(int r, int c) {
        if (r < 1 || r > 3 || c < 1 || c > 3) {
            subscriptError(r, c);
        }
        return board_[static_cast<std::size_t>((r - 1) * 3 + (c - 1))];
    }
    std::uint8_t cell(int r, int c) const { return const_cast<Board*>(this)->cell(r, c); }

    Platform& platform_;
    std::array<std::uint8_t, squareCount> board_{};
};

// The colour a square of value v shows; throws std::out_of_range for v > 2.
inline Colour colourOf(std::uint8_t v) {
    return colors.at(v);
}

} // namespace veltrin
