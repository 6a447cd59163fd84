// The board: the colour cycle, setup and game presses, observed through what the fake window
// is asked to paint. Whether a board is uniform is judged over every board in solver_test.

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

TEST_F(BoardTest, StartsRedAndASetupPressPaintsOnlyItsSquareTheNextColourRedBlueWhiteAndBack) {
    EXPECT_EQ(test::valuesOf(board), "RRRRRRRRR");
    board.pressSquare(4);
    EXPECT_EQ(platform.log, (std::vector<std::string>{"paint 4"}));
    std::string seen;
    for (int n = 0; n < 3; ++n) {
        board.pressSquare(8);
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

} // namespace
} // namespace veltrin
