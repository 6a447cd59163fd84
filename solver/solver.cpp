#include "solver/solver.h"

#include "solver/summary.h"

namespace veltrin {

int drawSquare(Platform& platform) {
    int c = -1;
    while (c < 0) {
        c = squareFromRandom(platform.nextRandom());
    }
    return c;
}

void solve(Board& board, Platform& platform, std::string& solution) {
    solution.clear();
    platform.setSetupMode(false);
    platform.lockBoard(true);

    // The test comes first, so an already uniform board takes no press at all.
    while (!board.isSolved()) {
        if (!platform.doEvents()) {
            return;
        }
        const int c = drawSquare(platform);
        solution += static_cast<char>('0' + c);
        board.pressSquare(c);
    }

    platform.setSetupMode(true);
    platform.lockBoard(false);
    platform.msgBox(resultPrompt + shorten(solution));
}

} // namespace veltrin
