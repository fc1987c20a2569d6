// The calendar under Date: moments to fields and back, far from 1970 too,
// and the text Flash writes for a date.
#include "swf/script/builtins/DateMath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace swf::script::builtins {
namespace {

TEST(DateMath, FieldsOfKnownMoments) {
    // 1983-06-25 13:50:50.300 UTC, a Saturday.
    const DateFields f = FieldsOf(425397050300.0);
    EXPECT_EQ(f.year, 1983);
    EXPECT_EQ(f.month, 5);
    EXPECT_EQ(f.date, 25);
    EXPECT_EQ(f.weekDay, 6);
    EXPECT_EQ(f.hours, 13);
    EXPECT_EQ(f.minutes, 50);
    EXPECT_EQ(f.seconds, 50);
    EXPECT_EQ(f.milliseconds, 300);

    // The last millisecond before 1970 and a leap day.
    const DateFields before = FieldsOf(-1);
    EXPECT_EQ(before.year, 1969);
    EXPECT_EQ(before.month, 11);
    EXPECT_EQ(before.date, 31);
    EXPECT_EQ(before.milliseconds, 999);
    const DateFields leap = FieldsOf(MakeTime(2000, 1, 29, 0, 0, 0, 0));
    EXPECT_EQ(leap.month, 1);
    EXPECT_EQ(leap.date, 29);
}

TEST(DateMath, MakeTimeCarriesAndTruncates) {
    EXPECT_EQ(MakeTime(1983, 5, 25, 13, 50, 50, 300), 425397050300.0);
    // Month 12 is January of the next year, month -1 December of the last.
    EXPECT_EQ(MakeTime(1983, 12, 1, 0, 0, 0, 0), MakeTime(1984, 0, 1, 0, 0, 0, 0));
    EXPECT_EQ(MakeTime(1983, -1, 1, 0, 0, 0, 0), MakeTime(1982, 11, 1, 0, 0, 0, 0));
    // Date 0 is the last day of the month before.
    EXPECT_EQ(FieldsOf(MakeTime(1983, 2, 0, 0, 0, 0, 0)).date, 28);
    // Fractions are cut towards zero.
    EXPECT_EQ(MakeTime(1983, 5, 25, 13.9, 50, -0.5, 300.7), MakeTime(1983, 5, 25, 13, 50, 0, 300));
    // A month that is not a number makes year and month 0; a date that is
    // not one makes the whole time so.
    EXPECT_EQ(MakeTime(1983, std::nan(""), 1, 0, 0, 0, 0), -62167219200000.0);
    EXPECT_TRUE(std::isnan(MakeTime(1983, 5, std::nan(""), 0, 0, 0, 0)));
    EXPECT_TRUE(
        std::isinf(MakeTime(1983, 5, 25, std::numeric_limits<double>::infinity(), 0, 0, 0)));
}

TEST(DateMath, FarMomentsAreNotClipped) {
    const double t = MakeTime(-269923, 5, 25, 13, 50, 50, 300);
    EXPECT_DOUBLE_EQ(t, -8.5800990893497e15);
    const DateFields f = FieldsOf(t);
    EXPECT_EQ(f.year, -269923);
    EXPECT_EQ(f.month, 5);
    EXPECT_EQ(f.date, 25);
    EXPECT_EQ(f.weekDay, 5);
    EXPECT_EQ(FieldsOf(MakeTime(275761, 0, 1, 0, 0, 0, 0)).year, 275761);
}

TEST(DateMath, FormatsAsFlashDoes) {
    EXPECT_EQ(FormatDate(425397050300.0, 0), "Sat Jun 25 13:50:50 GMT+0000 1983");
    EXPECT_EQ(FormatDate(0, -90), "Thu Jan 1 00:00:00 GMT-0130 1970");
    EXPECT_EQ(FormatDate(MakeTime(-500, 0, 5, 1, 2, 3, 0), 60), "Fri Jan 5 01:02:03 GMT+0100 -500");
    EXPECT_EQ(FormatDate(std::nan(""), 0), "Invalid Date");
    // An infinite moment shows 1970 on a Sunday.
    EXPECT_EQ(FormatDate(std::numeric_limits<double>::infinity(), 0),
              "Sun Jan 1 00:00:00 GMT+0000 1970");
}

} // namespace
} // namespace swf::script::builtins
