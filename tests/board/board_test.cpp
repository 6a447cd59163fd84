// The board: the colour cycle, setup and game presses, and the uniform test, all observed
// through what the fake window is asked to paint.

#include "board/board.h"
#include "support/boards.h"
#include "support/fake_platform.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace veltrin {
namespace {

using test::FakePlatform;

struct BoardTest : ::testing::Test {
    FakePlatform platform;
    Board board{platform};

    std::string shown() const { return test::screenOf(platform.shown); }
};

TEST(Colours, AValuePastTheTableIsRefused) {
    EXPECT_THROW(colourOf(3), std::out_of_range);
}

TEST_F(BoardTest, StartsAllRedAndUniform) {
    EXPECT_EQ(test::valuesOf(board), "RRRRRRRRR");
    EXPECT_TRUE(board.isSolved());
}

TEST_F(BoardTest, CycleCellPaintsOnlyThatSquareTheNextColourRedBlueWhiteAndBack) {
    board.cycleCell(4);
    EXPECT_EQ(platform.log, std::vector<std::string>{"paint 4"});
    EXPECT_EQ(platform.shown[4], 0xFF0000);
    EXPECT_EQ(test::valuesOf(board), "RRRRBRRRR");
    std::string seen;
    for (int n = 0; n < 3; ++n) {
        board.cycleCell(8);
        seen += shown()[8];
    }
    EXPECT_EQ(seen, "BWR");
    EXPECT_EQ(shown(), "RRRRBRRRR");
}

TEST_F(BoardTest, SquaresOffTheBoardAreRefusedWithoutChangingAnything) {
    for (const int p : {-1, 9, 100, -300}) {
        EXPECT_THROW(board.cycleCell(p), std::out_of_range) << p;
        EXPECT_THROW(board.pressSquare(p), std::out_of_range) << p;
    }
    EXPECT_TRUE(platform.log.empty());
    EXPECT_EQ(test::valuesOf(board), "RRRRRRRRR");
}

TEST_F(BoardTest, SetupPressAdvancesOnlyThePressedSquare) {
    board.pressSquare(4);
    EXPECT_EQ(shown(), "RRRRBRRRR");
    board.pressSquare(0);
    board.pressSquare(0);
    EXPECT_EQ(shown(), "WRRRBRRRR");
}

TEST_F(BoardTest, GamePressAdvancesNeighboursLeftRightAboveBelow) {
    const std::vector<std::vector<int>> expected = {
        {0, 1, 3},    {1, 0, 2, 4}, {2, 1, 5},    {3, 4, 0, 6}, {4, 3, 5, 1, 7},
        {5, 4, 2, 8}, {6, 7, 3},    {7, 6, 8, 4}, {8, 7, 5},
    };
    platform.setup = false;
    for (int p = 0; p < squareCount; ++p) {
        platform.log.clear();
        board.pressSquare(p);
        std::vector<std::string> paints;
        for (const int q : expected[static_cast<std::size_t>(p)]) {
            paints.push_back("paint " + std::to_string(q));
        }
        EXPECT_EQ(platform.log, paints) << "press " << p;
    }
}

TEST_F(BoardTest, GamePressesFollowTheGameRuleAndThreeCancel) {
    const std::string start = "RBWWBRBRW";
    test::walkTo(board, start);
    platform.setup = false;
    for (int p = 0; p < squareCount; ++p) {
        board.pressSquare(p);
        EXPECT_EQ(test::valuesOf(board), test::gamePress(start, p)) << "press " << p;
        board.pressSquare(p);
        board.pressSquare(p);
        EXPECT_EQ(test::valuesOf(board), start) << "three presses of " << p;
        EXPECT_EQ(shown(), start);
    }
}

TEST_F(BoardTest, APressReadsItsModeOnceBeforeAnythingChanges) {
    // The fake flips the mode on every paint: a press that read it again midway would
    // change behaviour half-way through.
    platform.setup = false;
    platform.flipModeOnPaint = true;
    board.pressSquare(4);
    EXPECT_EQ(platform.modeReads, 1);
    EXPECT_EQ(test::valuesOf(board), "RBRBBBRBR");

    platform.setup = true;
    platform.modeReads = 0;
    board.pressSquare(0);
    EXPECT_EQ(platform.modeReads, 1);
    EXPECT_EQ(test::valuesOf(board), "BBRBBBRBR");
}

TEST_F(BoardTest, SolvedExactlyWhenAllNineSquaresMatch) {
    for (int n = 0; n < test::boardCount; ++n) {
        FakePlatform fresh;
        Board b{fresh};
        const std::string pattern = test::boardNumber(n);
        test::walkTo(b, pattern);
        ASSERT_EQ(b.isSolved(), test::uniform(pattern)) << pattern;
    }
}

} // namespace
} // namespace veltrin
