#pragma once

#include <string>
#include <vector>

namespace bench {

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

} // namespace bench
