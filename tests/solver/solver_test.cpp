// The random search: how it draws squares, the combination text word for word, the order in
// which it locks, switches mode and reports, how it stops when the window closes, and, over
// every possible board, that the combination it reports really solves the board entered.

#include "solver/solver.h"
#include "solver/summary.h"
#include "support/boards.h"
#include "support/fake_platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace veltrin {
namespace {

using test::FakePlatform;

constexpr std::uint32_t refusedFrom = 4294967292u; // 9 * floor(2^32 / 9)

TEST(Draw, MapsOutputsEvenlyOntoNineSquaresAndDrawsAgainForTheTopFour) {
    // The accepted outputs end on a whole round of the nine squares, so every square gets
    // exactly the same share of them.
    for (int k = 0; k < 9; ++k) {
        EXPECT_EQ(squareFromRandom(refusedFrom - 9 + static_cast<std::uint32_t>(k)), k);
    }
    for (std::uint32_t r = refusedFrom; r != 0; ++r) {
        EXPECT_EQ(squareFromRandom(r), -1) << r;
    }
    FakePlatform platform;
    platform.scripted = {refusedFrom, 0xFFFFFFFFu, 13};
    EXPECT_EQ(drawSquare(platform), 4);
    EXPECT_EQ(platform.draws, 3);
}

TEST(Shorten, TellsEverySquareItsPressesModuloThreeInSquareOrder) {
    // Presses in any order; three of one square cancel; the middle square is pressed 100,000
    // times, past what sixteen bits count.
    const std::string solution = "80" + std::string(100000, '4') + "6565505567";
    EXPECT_EQ(shorten(solution), "\r\n\r\nTop left 2 time(s)\r\n\r\nTop middle 0 time(s)"
                                 "\r\n\r\nTop right 0 time(s)\r\n\r\nMiddle left 0 time(s)"
                                 "\r\n\r\nMiddle center 1 time(s)\r\n\r\nMiddle right 2 time(s)"
                                 "\r\n\r\nBottom left 0 time(s)\r\n\r\nBottom center 1 time(s)"
                                 "\r\n\r\nBottom right 1 time(s)");
}

struct SolveTest : ::testing::Test {
    FakePlatform platform;
    Board board{platform};
    std::string solution = "stale";
};

TEST_F(SolveTest, LocksAndSwitchesBeforeTheFirstPressAndRestoresBeforeTheMessage) {
    // A blue cross: two game presses of the middle square turn it white, then red.
    test::walkTo(board, "RBRBBBRBR");
    platform.log.clear();
    platform.scripted = {4, 13};
    solve(board, platform, solution);
    EXPECT_EQ(solution, "44");
    const std::vector<std::string> press = {"events",  "paint 4", "paint 3",
                                            "paint 5", "paint 1", "paint 7"};
    std::vector<std::string> expected = {"game mode", "lock"};
    expected.insert(expected.end(), press.begin(), press.end());
    expected.insert(expected.end(), press.begin(), press.end());
    expected.insert(expected.end(), {"setup mode", "unlock", "message"});
    EXPECT_EQ(platform.log, expected);
    EXPECT_EQ(test::valuesOf(board), "RRRRRRRRR");
    EXPECT_EQ(test::countsIn(platform.messages.at(0)),
              (std::vector<int>{0, 0, 0, 0, 2, 0, 0, 0, 0}));
    EXPECT_TRUE(platform.setup);
    EXPECT_FALSE(platform.locked);
}

TEST_F(SolveTest, ClosingTheWindowStopsTheSearchWithoutAnotherPress) {
    test::walkTo(board, "RBWRBWRBW");
    platform.closeAfterPasses = 3;
    platform.log.clear();
    solve(board, platform, solution);
    EXPECT_EQ(solution.size(), 3u);
    EXPECT_EQ(platform.eventPasses, 4);
    EXPECT_EQ(platform.log.back(), "events");
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(std::count(platform.log.begin(), platform.log.end(), "unlock"), 0);
}

// In three parts, which CTest runs side by side: part k takes the boards numbered k mod 3.
struct SolveEveryBoard : ::testing::TestWithParam<int> {};

TEST_P(SolveEveryBoard, TheCombinationMakesTheEnteredBoardUniform) {
    // For each of the 3^9 boards: solve it, then press each square the reported number of
    // times on the board as entered, with the game's rule. That must give exactly the
    // uniform board the search ended on.
    FakePlatform platform;
    platform.recording = false;
    Board board{platform};
    std::string solution;
    for (int n = GetParam(); n < test::boardCount; n += 3) {
        const std::string entered = test::boardNumber(n);
        test::walkTo(board, entered); // the board keeps its last result
        platform.messages.clear();
        solve(board, platform, solution);
        ASSERT_EQ(platform.messages.size(), 1u);
        const std::vector<int> counts = test::countsIn(platform.messages[0]);
        ASSERT_EQ(counts.size(), 9u);
        const std::string replay = test::applyCounts(entered, counts);
        const std::string reached = test::valuesOf(board);
        ASSERT_TRUE(test::uniform(reached)) << entered;
        ASSERT_EQ(replay, reached) << entered;
        ASSERT_EQ(test::screenOf(platform.shown), reached) << entered;
        ASSERT_TRUE(platform.setup);
        ASSERT_FALSE(platform.locked);
    }
}
INSTANTIATE_TEST_SUITE_P(Part, SolveEveryBoard, ::testing::Range(0, 3));

} // namespace
} // namespace veltrin
