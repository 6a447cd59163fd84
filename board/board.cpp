#include "board/board.h"

#include <cstdint>
#include <stdexcept>
#include <string>

namespace veltrin {

void subscriptError(int r, int c) {
    throw std::out_of_range("board subscript out of range: (" + std::to_string(r) + ", " +
                            std::to_string(c) + ")");
}

void Board::cycleCell(int p) {
    std::uint8_t& v = cell(row(p), col(p));
    v = static_cast<std::uint8_t>(v == 2 ? 0 : v + 1);
    platform_.paintSquare(p, colourOf(v));
}

void Board::pressSquare(int p) {
    // The mode is read once, before anything changes, so a press acts wholly in one mode.
    const bool setup = platform_.setupMode();
    cycleCell(p);
    if (setup) {
        return;
    }
    if (col(p) > 1) {
        cycleCell(p - 1);
    }
    if (col(p) < 3) {
        cycleCell(p + 1);
    }
    if (row(p) > 1) {
        cycleCell(p - 3);
    }
    if (row(p) < 3) {
        cycleCell(p + 3);
    }
}

bool Board::isSolved() const {
    // Judged by the sum of the nine colours: with this colour table a sum of nine entries
    // equals nine times one entry only when every square holds that entry.
    static_assert(9LL * 0xFFFFFF <= INT32_MAX, "nine colours must fit the sum");
    std::int32_t total = 0;
    for (const std::uint8_t v : board_) {
        total += colourOf(v);
    }
    return total == 9 * colors[0] || total == 9 * colors[1] || total == 9 * colors[2];
}

} // namespace veltrin
