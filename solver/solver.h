#pragma once

#include "board/board.h"
#include "solver/random.h"

#include <cstdint>
#include <string>

namespace veltrin {

inline constexpr const char* resultPrompt = "To solve, use the following combination: ";

// The next random square, drawn from the platform's generator.
int drawSquare(Platform& platform);

// The Solve button. Locks the board, switches to game mode and presses random squares,
// recording each in `solution`, until the board is uniform; then unlocks it, returns to
// setup mode and shows the combination. Presses commute, so the combination solves the
// board as it was before the search. The board keeps the uniform result.
//
// Gives the window one chance to repaint and handle input before every press. If the user
// closes the window meanwhile, it stops at once, without another press or message.
void solve(Board& board, Platform& platform, std::string& solution);

} // namespace veltrin
