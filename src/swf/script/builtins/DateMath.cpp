#include "swf/script/builtins/DateMath.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "swf/script/NumberText.h"

namespace swf::script::builtins {

namespace {

constexpr double msPerHour = 3600000.0;
constexpr double msPerMinute = 60000.0;
constexpr double msPerSecond = 1000.0;

constexpr std::array<const char*, 7> dayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr std::array<const char*, 12> monthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                    "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
// Days before each month in a common year.
constexpr std::array<int, 13> monthStarts = {0,   31,  59,  90,  120, 151, 181,
                                             212, 243, 273, 304, 334, 365};

bool IsLeap(double year) {
    return std::fmod(year, 4) == 0 && (std::fmod(year, 100) != 0 || std::fmod(year, 400) == 0);
}

// Days from 1970-01-01 to the first of January of year.
double DayFromYear(double year) {
    return 365 * (year - 1970) + std::floor((year - 1969) / 4) - std::floor((year - 1901) / 100) +
           std::floor((year - 1601) / 400);
}

double YearFromDay(double day) {
    double year = std::floor(day / 365.2425) + 1970;
    while (DayFromYear(year) > day) {
        --year;
    }
    while (DayFromYear(year + 1) <= day) {
        ++year;
    }
    return year;
}

double PositiveModulo(double a, double b) {
    const double r = std::fmod(a, b);
    return r < 0 ? r + b : r;
}

} // namespace

DateFields FieldsOf(double time) {
    DateFields f;
    if (std::isnan(time)) {
        const double nan = std::nan("");
        return {nan, nan, nan, nan, nan, nan, nan, nan};
    }
    if (std::isinf(time)) {
        f.weekDay = 0;
        return f;
    }
    const double day = std::floor(time / msPerDay);
    const double inDay = time - day * msPerDay;
    f.year = YearFromDay(day);
    const int dayInYear = int(day - DayFromYear(f.year));
    const int leap = IsLeap(f.year) ? 1 : 0;
    int month = 0;
    while (month < 11 && dayInYear >= monthStarts[month + 1] + (month + 1 >= 2 ? leap : 0)) {
        ++month;
    }
    f.month = month;
    f.date = dayInYear - (monthStarts[month] + (month >= 2 ? leap : 0)) + 1;
    f.hours = std::floor(inDay / msPerHour);
    f.minutes = std::floor(std::fmod(inDay, msPerHour) / msPerMinute);
    f.seconds = std::floor(std::fmod(inDay, msPerMinute) / msPerSecond);
    f.milliseconds = std::floor(std::fmod(inDay, msPerSecond));
    f.weekDay = PositiveModulo(day + 4, 7);
    return f;
}

double DayFromYearMonth(double year, double month) {
    year += std::floor(month / 12);
    month = PositiveModulo(month, 12);
    const int m = int(month);
    return DayFromYear(year) + monthStarts[m] + (m >= 2 && IsLeap(year) ? 1 : 0);
}

double MakeTime(double year, double month, double date, double hours, double minutes,
                double seconds, double milliseconds) {
    const double wholeMonth = std::trunc(month);
    const double carried = std::floor(wholeMonth / 12);
    const double y = double(ToInt32(std::trunc(year) + carried));
    const double m = double(ToInt32(wholeMonth - carried * 12));
    const double day = DayFromYearMonth(y, m) + std::trunc(date) - 1;
    return day * msPerDay + std::trunc(hours) * msPerHour + std::trunc(minutes) * msPerMinute +
           std::trunc(seconds) * msPerSecond + std::trunc(milliseconds);
}

std::string FormatDate(double localTime, int offsetMinutes) {
    if (std::isnan(localTime)) {
        return "Invalid Date";
    }
    const DateFields f = FieldsOf(localTime);
    const int offset = std::abs(offsetMinutes);
    char text[96];
    std::snprintf(text, sizeof text, "%s %s %d %02d:%02d:%02d GMT%c%02d%02d %.0f",
                  dayNames[std::size_t(f.weekDay)], monthNames[std::size_t(f.month)], int(f.date),
                  int(f.hours), int(f.minutes), int(f.seconds), offsetMinutes < 0 ? '-' : '+',
                  offset / 60, offset % 60, f.year);
    return text;
}

} // namespace swf::script::builtins
