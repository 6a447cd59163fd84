#pragma once

#include "solver/random.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

// What a benchmark reports: trials made and the time they took.
struct Result {
    long trials = 0;
    double seconds = 0;
    double microsPerTrial() const { return seconds * 1e6 / static_cast<double>(trials); }
};

// Prints both loops' trials, time and cost per trial, and the ratio of the two costs. Returns
// the benchmark's exit status: 1 where the real search made other trials than the plain loop,
// which draws and presses as the game does, so that one of the two is wrong.
inline int compare(const Result& real, const Result& base) {
    std::printf("real search:  %8ld trials %8.3f s %8.2f us/trial\n", real.trials, real.seconds,
                real.microsPerTrial());
    std::printf("baseline:     %8ld trials %8.3f s %8.2f us/trial\n", base.trials, base.seconds,
                base.microsPerTrial());
    std::printf("ratio real/baseline per trial: %.2f\n",
                real.microsPerTrial() / base.microsPerTrial());
    return real.trials == base.trials ? 0 : 1;
}

// Starting boards, as nine letters row by row (R red, B blue, W white), the same for every
// front end's benchmark. Each is solved from a fresh generator, so their order changes no
// total; the first, 418 trials, is the quickest, and the short run's.
inline const std::vector<std::string> boards = {
    "BWRRWBBRW", "BRRRRRRRR", "RBRRRRRRR", "RRRRBRRRR", "RBWRBWRBW", "WBRWBRWBR",
    "BBBRRRWWW", "RWRWWWRWR", "RBWWBRBRW", "WWBRRBWRB", "BRWBRWBRW", "RRBRRBRRB",
    "WRRRWRRRW", "BWBWBWBWB", "RRRRRRRRB", "WBWBRBWBW", "BBRBRRRRW", "RWBBWRWRB",
    "WWWWBWWWW", "BRBRBRBRB", "RBBWWRRWB", "WRBRBWBWR"};

// VELTRIN_BENCH_SHORT set: a short run over the first board alone, which proves that the
// benchmark still runs without costing the suite its minutes (tests/tooling/commands.py).
inline bool shortRun() {
    return std::getenv("VELTRIN_BENCH_SHORT") != nullptr;
}
inline std::vector<std::string> boardsToRun() {
    return shortRun() ? std::vector<std::string>(boards.begin(), boards.begin() + 1) : boards;
}

inline int valueOf(char c) {
    return c == 'R' ? 0 : c == 'B' ? 1 : 2;
}

// The game's press of square c, written out as plainly as it can be: c and each of its
// orthogonal neighbours advance.
template <class Advance> void gamePress(int c, Advance advance) {
    advance(c);
    if (c % 3 > 0) {
        advance(c - 1);
    }
    if (c % 3 < 2) {
        advance(c + 1);
    }
    if (c >= 3) {
        advance(c - 3);
    }
    if (c < 6) {
        advance(c + 3);
    }
}

// The plainest search: until the nine values are one, one event pass, then one game press of
// a square drawn from a fresh generator, as the real search draws it. Returns the trials.
template <class Pass, class Advance>
long plainSearch(const std::array<int, 9>& values, Pass pass, Advance advance) {
    veltrin::Generator generator; // the same sequence the real search draws from
    long trials = 0;
    for (;;) {
        bool uniform = true;
        for (int k = 1; k < 9; ++k) {
            uniform = uniform && values[static_cast<std::size_t>(k)] == values[0];
        }
        if (uniform) {
            return trials;
        }
        pass();
        int c = -1;
        while (c < 0) {
            c = veltrin::squareFromRandom(generator.next());
        }
        ++trials;
        gamePress(c, advance);
    }
}

} // namespace bench
