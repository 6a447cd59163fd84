#include "solver/solver.h"

namespace veltrin {

namespace {

// Whether the search goes on: the test comes first, so an already uniform board takes no
// press at all; a uniform one ends the search here.
bool goOn(const Board& board, Platform& platform, const std::string& solution, const Words& words) {
    if (!board.isSolved()) {
        return true;
    }
    platform.setSetupMode(true);
    platform.lockBoard(false);
    platform.msgBox(words.prompt + shorten(solution, words));
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

bool beginSearch(Board& board, Platform& platform, std::string& solution, const Words& words) {
    solution.clear();
    platform.setSetupMode(false);
    platform.lockBoard(true);
    return goOn(board, platform, solution, words);
}

bool nextTrial(Board& board, Platform& platform, std::string& solution, const Words& words) {
    const int c = drawSquare(platform);
    solution += static_cast<char>('0' + c);
    board.pressSquare(c);
    return goOn(board, platform, solution, words);
}

void solve(Board& board, LoopPlatform& platform, std::string& solution, const Words& words) {
    for (bool more = beginSearch(board, platform, solution, words); more;
         more = nextTrial(board, platform, solution, words)) {
        if (!platform.doEvents()) {
            return;
        }
    }
}

} // namespace veltrin
