// Numbers as text, as Flash writes them: fifteen significant digits,
// exponent form outside 1e-5 .. 1e15.
#include <gtest/gtest.h>

#include <limits>

#include "swf/script/NumberText.h"

namespace {

using swf::script::NumberToString;

TEST(NumberText, FifteenDigitsRoundedAndExponentsOutsideTheMiddleRange) {
    EXPECT_EQ(NumberToString(0.1 + 0.2), "0.3");
    EXPECT_EQ(NumberToString(1.0 / 3.0), "0.333333333333333");
    EXPECT_EQ(NumberToString(123456789012345678.0), "1.23456789012346e+17");
    EXPECT_EQ(NumberToString(-0.0000012345), "-1.2345e-6");
    EXPECT_EQ(NumberToString(std::numeric_limits<double>::denorm_min()), "4.94065645841247e-324");
}

TEST(NumberText, TheLargestNumbersAreCutRatherThanRoundedPastTheRange) {
    const double largest = std::numeric_limits<double>::max();
    EXPECT_EQ(NumberToString(largest), "1.79769313486231e+308");
    EXPECT_EQ(NumberToString(-largest), "-1.79769313486231e+308");
    EXPECT_EQ(NumberToString(1.7976931348623e308), "1.7976931348623e+308");
}

} // namespace
