#pragma once

#include <chrono>
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

// Starting boards, as nine letters row by row (R red, B blue, W white), the same for every
// front end's benchmark.
inline const std::vector<std::string> boards = {
    "BRRRRRRRR", "RBRRRRRRR", "RRRRBRRRR", "RBWRBWRBW", "WBRWBRWBR", "BBBRRRWWW",
    "RWRWWWRWR", "RBWWBRBRW", "WWBRRBWRB", "BRWBRWBRW", "RRBRRBRRB", "WRRRWRRRW",
    "BWBWBWBWB", "RRRRRRRRB", "WBWBRBWBW", "BBRBRRRRW", "RWBBWRWRB", "WWWWBWWWW",
    "BRBRBRBRB", "RBBWWRRWB", "WRBRBWBWR", "BWRRWBBRW"};

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

} // namespace bench
