// The same clicks give the same search everywhere: from a fresh generator, the boards in
// golden.txt, solved one after another as one run of the program would solve them, take
// exactly the recorded number of trials, leave the recorded boards and report exactly the
// recorded combinations. Every compiler, standard library and platform the suite runs on must
// agree with the file, whether the search runs as one loop (Qt, Win32) or as steps, one a
// task, driven as the page drives them.
//
// To write the file afresh (only when the search is meant to change):
//   VELTRIN_GOLDEN_WRITE=1 build/release/tests/core_tests --gtest_filter='Golden.*'

#include "solver/solver.h"
#include "support/boards.h"
#include "support/fake_platform.h"
#include "support/golden.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace veltrin {
namespace {

using test::Search;

// How a front end runs a search: solve's one loop, or the page's steps.
using Driver = void (*)(Board&, test::FakePlatform&, std::string&);

void loop(Board& board, test::FakePlatform& platform, std::string& solution) {
    solve(board, platform, solution);
}

// As the page's tasks do: the first step on Solve, then one step a task for as long as the
// last said to go on. Nothing else happens in between, and the message comes with the step
// that ends the search.
void steps(Board& board, test::FakePlatform& platform, std::string& solution) {
    for (bool more = beginSearch(board, platform, solution); more;
         more = nextTrial(board, platform, solution)) {
        ASSERT_TRUE(platform.messages.empty()) << "a message during the search";
    }
    ASSERT_EQ(platform.eventPasses, 0);
}

struct Golden : ::testing::TestWithParam<Driver> {
    // Solves `board` on the running board, walking it there with setup clicks first.
    Search searchFrom(const std::string& board, Board& running, test::FakePlatform& platform) {
        test::walkTo(running, board);
        std::string solution;
        platform.messages.clear();
        GetParam()(running, platform, solution);
        return {board, solution.size(), test::valuesOf(running), platform.messages.at(0)};
    }
};

TEST_P(Golden, FreshRunGivesTheRecordedSearches) {
    test::FakePlatform platform;
    platform.recording = false;
    Board running{platform};

    if (std::getenv("VELTRIN_GOLDEN_WRITE")) {
        std::ofstream out(VELTRIN_GOLDEN_FILE, std::ios::binary);
        out << "# board (R, B, W row by row), trials, board left, combination text (CR LF as "
               "\\r\\n)\n";
        for (int i = 0; i < 60; ++i) {
            const Search s =
                searchFrom(test::boardNumber(i * 4373 % test::boardCount), running, platform);
            out << s.board << ' ' << s.trials << ' ' << s.solved << ' '
                << test::replaced(s.message, "\r\n", "\\r\\n") << '\n';
        }
        GTEST_SKIP() << "wrote " << VELTRIN_GOLDEN_FILE;
    }

    int boards = 0;
    for (const Search& expected : test::goldenSearches()) {
        const Search got = searchFrom(expected.board, running, platform);
        ASSERT_EQ(got.trials, expected.trials) << "board " << boards << ": " << expected.board;
        ASSERT_EQ(got.solved, expected.solved) << "board " << boards << ": " << expected.board;
        ASSERT_EQ(got.message, expected.message) << "board " << boards << ": " << expected.board;
        ++boards;
    }
}
INSTANTIATE_TEST_SUITE_P(Driven, Golden, ::testing::Values(loop, steps),
                         [](const auto& info) { return info.index == 0 ? "Loop" : "Steps"; });

} // namespace
} // namespace veltrin
