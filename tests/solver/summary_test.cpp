// The combination text a move record stands for, word for word as the user reads it.

#include "solver/summary.h"

#include <gtest/gtest.h>

#include <string>

namespace veltrin {
namespace {

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

} // namespace
} // namespace veltrin
