// Reading integers back from controls: what counts as a number. The exchange
// itself, with real controls, is in DialogTest.
#include <gtest/gtest.h>

#include <optional>

#include "framework/DataExchange.h"

namespace {

using framework::ParseInteger;

TEST(ParseInteger, ReadsDecimalNumbersAsPercentDWritesThem) {
    EXPECT_EQ(ParseInteger(u"0"), 0);
    EXPECT_EQ(ParseInteger(u"42"), 42);
    EXPECT_EQ(ParseInteger(u"-17"), -17);
    EXPECT_EQ(ParseInteger(u"+8"), 8);
    EXPECT_EQ(ParseInteger(u"0010"), 10);
    // Blanks around the number, as a user may leave them.
    EXPECT_EQ(ParseInteger(u"  12\t "), 12);
    EXPECT_EQ(ParseInteger(u"2147483647"), 2147483647);
    EXPECT_EQ(ParseInteger(u"-2147483648"), -2147483647 - 1);
}

TEST(ParseInteger, RefusesEverythingElse) {
    for (const std::u16string_view text :
         {u"", u" ", u"-", u"+", u"abc", u"12x", u"x12", u"1 2", u"1.5", u"0x10", u"--1", u"+-1",
          u"12%",
          // Out of the 32-bit range, and far out of it (no wrap-around).
          u"2147483648", u"-2147483649", u"99999999999999999999999999",
          // Digits of other scripts are not decimal digits here.
          u"\u0663"}) {
        EXPECT_EQ(ParseInteger(text), std::nullopt) << "text of " << text.size() << " characters";
    }
}

} // namespace
