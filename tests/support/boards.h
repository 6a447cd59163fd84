#pragma once

// Boards written as nine letters, row by row from the top left: R red, B blue, W white.
// The game model here is written from the rules, independently of the code under test.

#include "board/board.h"
#include "solver/solver.h"
#include "support/fake_platform.h"

#include <array>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace veltrin::test {

inline constexpr char letters[] = {'R', 'B', 'W'};

inline int valueOf(char letter) {
    const auto at = std::string_view(letters, 3).find(letter);
    if (at == std::string_view::npos) {
        throw std::invalid_argument(std::string("not a colour letter: ") + letter);
    }
    return static_cast<int>(at);
}

// The letter for a colour as the window is asked to show it (0x00BBGGRR), '?' for any other.
inline char letterOf(Colour colour) {
    return colour == 0x0000FF ? 'R' : colour == 0xFF0000 ? 'B' : colour == 0xFFFFFF ? 'W' : '?';
}

// The colour after `letter` in the cycle red -> blue -> white -> red.
inline char advance(char letter) {
    return letters[(valueOf(letter) + 1) % 3];
}

inline std::string valuesOf(const Board& board) {
    std::string s;
    for (int p = 0; p < squareCount; ++p) {
        s += letters[board.value(p)];
    }
    return s;
}

template <class Shown> std::string screenOf(const Shown& shown) {
    std::string s;
    for (const Colour c : shown) {
        s += letterOf(c);
    }
    return s;
}

// One press of the game on a pattern: the square and its orthogonal neighbours advance.
inline std::string gamePress(std::string pattern, int p) {
    const int r = p / 3, c = p % 3;
    const int dr[] = {0, 0, 0, -1, 1}, dc[] = {0, -1, 1, 0, 0};
    for (int k = 0; k < 5; ++k) {
        const int rr = r + dr[k], cc = c + dc[k];
        if (rr >= 0 && rr < 3 && cc >= 0 && cc < 3) {
            char& square = pattern[static_cast<std::size_t>(rr * 3 + cc)];
            square = advance(square);
        }
    }
    return pattern;
}

// Presses each square of a pattern its given number of times, with the game's rule.
inline std::string applyCounts(std::string pattern, const std::vector<int>& counts) {
    for (int p = 0; p < squareCount; ++p) {
        for (int n = 0; n < counts.at(static_cast<std::size_t>(p)); ++n) {
            pattern = gamePress(pattern, p);
        }
    }
    return pattern;
}

// The press counts a combination text gives, square by square, read off the digit before
// each " time(s)".
inline std::vector<int> countsIn(std::string_view text) {
    std::vector<int> counts;
    for (auto pos = text.find(" time(s)"); pos != std::string_view::npos;
         pos = text.find(" time(s)", pos + 1)) {
        counts.push_back(text[pos - 1] - '0');
    }
    return counts;
}

inline bool uniform(const std::string& pattern) {
    return pattern.find_first_not_of(pattern[0]) == std::string::npos;
}

// Calls click(k) for each setup click that takes the board from `from` to `to`.
template <class Click>
void clickIn(const std::string& to, Click click, const std::string& from = "RRRRRRRRR") {
    for (std::size_t k = 0; k < to.size(); ++k) {
        for (int n = (valueOf(to[k]) - valueOf(from[k]) + 3) % 3; n > 0; --n) {
            click(static_cast<int>(k));
        }
    }
}

// Walks a board from whatever it shows to `pattern` with setup clicks, as a user copying a
// new grid does after a search.
inline void walkTo(Board& board, const std::string& pattern) {
    clickIn(
        pattern, [&](int k) { board.pressSquare(k); }, valuesOf(board));
}

// How much more the heap holds after fifty rounds of clicks, search, message and OK in a
// window than after five: what a search leaks shows there. `enter(board, from)` clicks a
// board in over the one the window shows, `solve()` presses Solve, answers the message and
// returns the search's record, `heapInUse()` counts the bytes in use. Each round's board is
// one that the next three draws of the window's generator, followed here, make uniform.
template <class Enter, class Solve, class HeapInUse>
long long heapGrowthOverFiftySearches(Enter enter, Solve solve, HeapInUse heapInUse) {
    FakePlatform draws;
    std::string shown = "RRRRRRRRR"; // uniform, as a search leaves it
    long long afterFive = 0;
    for (int n = 1; n <= 50; ++n) {
        FakePlatform ahead = draws;
        std::string board = shown;
        for (int i = 0; i < 3; ++i) { // undo three presses: each is two more, mod 3
            const int c = drawSquare(ahead);
            board = gamePress(gamePress(board, c), c);
        }
        enter(board, shown);
        for (const char c : solve()) {
            if (drawSquare(draws) != c - '0') {
                throw std::logic_error("the window drew another square");
            }
            board = gamePress(board, c - '0');
        }
        shown = board;
        afterFive = n == 5 ? static_cast<long long>(heapInUse()) : afterFive;
    }
    return static_cast<long long>(heapInUse()) - afterFive;
}

// All 3^9 boards, numbered 0..19682, as patterns.
inline std::string boardNumber(int n) {
    std::string s(9, 'R');
    for (int p = 0; p < squareCount; ++p, n /= 3) {
        s[static_cast<std::size_t>(p)] = letters[n % 3];
    }
    return s;
}

inline constexpr int boardCount = 19683;

} // namespace veltrin::test
