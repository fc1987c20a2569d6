// The calendar behind Date: a moment is milliseconds since 1970-01-01 UTC
// (a double, as scripts see it), split into fields and made again from
// them, on the proleptic Gregorian calendar. Flash keeps moments far beyond
// the range other script engines clip to, so nothing here clips.
#pragma once

#include <string>

namespace swf::script::builtins {

constexpr double msPerDay = 86400000.0;

// A moment's calendar fields, as the getters give them.
struct DateFields {
    double year = 1970;
    double month = 0; // 0 to 11
    double date = 1;  // 1 to 31
    double hours = 0;
    double minutes = 0;
    double seconds = 0;
    double milliseconds = 0;
    double weekDay = 4; // 0 is Sunday
};

// The fields of a time (NaN: every field NaN; an infinity: the fields of
// 1970-01-01 on a Sunday, as Flash gives them).
DateFields FieldsOf(double time);

// Days from 1970-01-01 to the first of the month; month may be any integer
// (it carries into the year).
double DayFromYearMonth(double year, double month);

// The time of the fields: year and month are taken as whole numbers (a
// year or month that is not finite counts as 0, and an out-of-range month
// carries into the year first); date, hours, minutes, seconds and
// milliseconds are truncated and added, so NaN and infinities pass through.
double MakeTime(double year, double month, double date, double hours, double minutes,
                double seconds, double milliseconds);

// "Sat Jun 25 13:50:50 GMT+0000 1983" for a local time and its offset from
// UTC in minutes east; "Invalid Date" for NaN.
std::string FormatDate(double localTime, int offsetMinutes);

} // namespace swf::script::builtins
