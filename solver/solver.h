#pragma once

#include "board/board.h"
#include "solver/random.h"
#include "solver/summary.h"

#include <cstdint>
#include <string>

namespace veltrin {

// The next random square, drawn from the platform's generator.
int drawSquare(Platform& platform);

// The search as steps, for a front end whose own tasks drive it, one trial a task (the page):
// beginSearch on Solve, then nextTrial in each task for as long as the last step returned
// true. beginSearch locks the board, switches to game mode and clears the record; nextTrial
// presses a random square, recording it. Once the board is uniform the step that finds it so
// unlocks the board, returns to setup mode, shows the combination, told in `words`, and
// returns false. Presses commute, so the combination solves the board as it was before the
// search; the board keeps the uniform result.
bool beginSearch(Board& board, Platform& platform, std::string& solution,
                 const Words& words = englishWords());
bool nextTrial(Board& board, Platform& platform, std::string& solution,
               const Words& words = englishWords());

// The Solve button where the search is one loop of those steps (Qt, Win32): before every
// trial the window has one chance to repaint and handle input. If the user closes the window
// meanwhile, it stops at once, without another press or message.
void solve(Board& board, LoopPlatform& platform, std::string& solution,
           const Words& words = englishWords());

} // namespace veltrin
