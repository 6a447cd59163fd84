// Turning a move record into the combination text: the counter and the nine-line summary.

#include "solver/summary.h"
#include "support/boards.h"
#include "support/texts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace veltrin {
namespace {

using test::countsIn;
using Counts = std::vector<int>;

TEST(CharCount, CountsEveryOccurrenceOverlappingOnesIncludedAndAnEmptyNeedleNowhere) {
    EXPECT_EQ(charCount("1231", "1"), 2);
    EXPECT_EQ(charCount("", "1"), 0);
    EXPECT_EQ(charCount("0123456780", "9"), 0);
    EXPECT_EQ(charCount("abcABC", "a"), 1);
    EXPECT_EQ(charCount("aaa", "aa"), 2);
    EXPECT_EQ(charCount("123", ""), 0);
    EXPECT_EQ(charCount("", ""), 0);
    EXPECT_EQ(charCount(std::string(100000, '4'), "4"), 100000); // far past sixteen bits
}

TEST(Shorten, GivesEverySquareItsEntryInFull) {
    // Each entry after an empty line, none after the last; zero counts included.
    EXPECT_EQ(shorten(""), test::summaryText(Counts(9, 0)));
    EXPECT_EQ(shorten("87"), test::summaryText({0, 0, 0, 0, 0, 0, 0, 1, 1}));
}

TEST(Shorten, CountsAreTakenModuloThreeInSquareOrder) {
    // Order of presses does not matter; 3, 6 and 9 presses cancel.
    EXPECT_EQ(countsIn(shorten("400040")), (Counts{1, 0, 0, 0, 2, 0, 0, 0, 0}));
    EXPECT_EQ(countsIn(shorten("111"
                               "222222"
                               "333333333")),
              Counts(9, 0));
    EXPECT_EQ(countsIn(shorten("5555"
                               "66666"
                               "8")),
              (Counts{0, 0, 0, 0, 0, 1, 2, 0, 1}));
}

} // namespace
} // namespace veltrin
