#include "solver/solver.h"

#include "solver/summary.h"

namespace veltrin {

namespace {

// Whether the search goes on: the test comes first, so an already uniform board takes no
// press at all; a uniform one ends the search here.
bool goOn(const Board& board, Platform& platform, const std::string& solution) {
    if (!board.isSolved()) {
        return true;
    }
    platform.setSetupMode(true);
    platform.lockBoard(false);
    platform.msgBox(resultPrompt + shorten(solution));
    return false;
}

} // namespace

int drawSquare(Platform& platform) {
    int c = -1;
    while (c < 0) {
        c = squareFromRandom(platform.nextRandom());
    }
    return c;
}

bool beginSearch(Board& board, Platform& platform, std::string& solution) {
    solution.clear();
    platform.setSetupMode(false);
    platform.lockBoard(true);
    return goOn(board, platform, solution);
}

bool nextTrial(Board& board, Platform& platform, std::string& solution) {
    const int c = drawSquare(platform);
    solution += static_cast<char>('0' + c);
    board.pressSquare(c);
    return goOn(board, platform, solution);
}

void solve(Board& board, LoopPlatform& platform, std::string& solution) {
    for (bool more = beginSearch(board, platform, solution); more;
         more = nextTrial(board, platform, solution)) {
        if (!platform.doEvents()) {
            return;
        }
    }
}

} // namespace veltrin
