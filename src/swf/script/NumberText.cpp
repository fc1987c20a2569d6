#include "swf/script/NumberText.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace swf::script {

namespace {

bool IsWhitespace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

int DigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'z') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'Z') {
        return c - 'A' + 10;
    }
    return 99;
}

// The longest decimal number at the start of text (sign, digits, fraction,
// exponent), as strtod reads it but without hex, infinity or nan forms.
// Returns the characters it used (0 when there is no number).
std::size_t ScanDecimal(std::string_view text, double& value) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    std::size_t digits = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) {
        return 0;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            ++j;
        }
        if (j < text.size() && text[j] >= '0' && text[j] <= '9') {
            while (j < text.size() && text[j] >= '0' && text[j] <= '9') {
                ++j;
            }
            i = j;
        }
    }
    const std::string copy(text.substr(0, i));
    value = std::strtod(copy.c_str(), nullptr);
    return i;
}

} // namespace

std::string NumberToString(double value) {
    if (std::isnan(value)) {
        return "NaN";
    }
    if (std::isinf(value)) {
        return value > 0 ? "Infinity" : "-Infinity";
    }
    if (value == 0) {
        return "0";
    }
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.14e", value);
    // buffer: [-]d.dddddddddddddde[+-]xx
    std::string text = buffer;
    if (std::isinf(std::strtod(buffer, nullptr))) {
        // Rounded up past the largest number: the digits are cut instead.
        std::snprintf(buffer, sizeof buffer, "%.16e", value);
        text = buffer;
        const std::size_t cut = text.find('e');
        text.erase(cut - 2, 2);
    }
    const bool negative = text[0] == '-';
    if (negative) {
        text.erase(0, 1);
    }
    const std::size_t e = text.find('e');
    int exponent = std::atoi(text.c_str() + e + 1);
    std::string digits = text.substr(0, 1) + text.substr(2, e - 2);
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
    }
    std::string out = negative ? "-" : "";
    if (exponent >= 15 || exponent < -5) {
        out += digits.substr(0, 1);
        if (digits.size() > 1) {
            out += '.';
            out += digits.substr(1);
        }
        out += 'e';
        out += exponent >= 0 ? '+' : '-';
        out += std::to_string(std::abs(exponent));
    } else if (exponent < 0) {
        out += "0.";
        out.append(std::size_t(-exponent - 1), '0');
        out += digits;
    } else if (std::size_t(exponent) + 1 >= digits.size()) {
        out += digits;
        out.append(std::size_t(exponent) + 1 - digits.size(), '0');
    } else {
        out += digits.substr(0, std::size_t(exponent) + 1);
        out += '.';
        out += digits.substr(std::size_t(exponent) + 1);
    }
    return out;
}

std::string NumberToStringRadix(double value, int radix) {
    if (radix == 10 || radix < 2 || radix > 36) {
        return NumberToString(value);
    }
    if (std::isnan(value)) {
        return "NaN";
    }
    if (std::isinf(value)) {
        return value > 0 ? "Infinity" : "-Infinity";
    }
    const int integer = ToInt32(value);
    const bool negative = integer < 0;
    unsigned magnitude = negative ? 0u - unsigned(integer) : unsigned(integer);
    std::string digits;
    do {
        digits.insert(digits.begin(), "0123456789abcdefghijklmnopqrstuvwxyz"[magnitude % radix]);
        magnitude /= unsigned(radix);
    } while (magnitude > 0);
    return negative ? "-" + digits : digits;
}

namespace {

bool StartsWithHexPrefix(std::string_view text) {
    return text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
}

// Digits of a radix, with an optional sign, to the end of text; NaN when
// anything else is there or there are no digits.
double WholeInteger(std::string_view text, int radix) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size()) {
        return nan;
    }
    double value = 0;
    for (; i < text.size(); ++i) {
        const int digit = DigitValue(text[i]);
        if (digit >= radix) {
            return nan;
        }
        value = value * radix + digit;
    }
    return negative ? -value : value;
}

// "0" and octal digits, with an optional sign, from the very start.
bool IsOctalText(std::string_view text) {
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        text.remove_prefix(1);
    }
    if (text.size() < 2 || text[0] != '0') {
        return false;
    }
    for (const char c : text) {
        if (c < '0' || c > '7') {
            return false;
        }
    }
    return true;
}

} // namespace

double StringToNumber(std::string_view text, int version) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // From SWF 6, "0x..." is hexadecimal (its sign after the prefix) and a
    // leading 0 makes octal, both only at the very start of the text.
    if (StartsWithHexPrefix(text)) {
        return version >= 6 ? WholeInteger(text.substr(2), 16) : nan;
    }
    if (version >= 6 && IsOctalText(text)) {
        return WholeInteger(text, 8);
    }
    std::size_t i = 0;
    while (i < text.size() && IsWhitespace(text[i])) {
        ++i;
    }
    if (i == text.size()) {
        return nan;
    }
    double value = 0;
    const std::size_t used = ScanDecimal(text.substr(i), value);
    if (used == 0) {
        return nan;
    }
    i += used;
    return i == text.size() ? value : nan;
}

double ParseInt(std::string_view text, int radix) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // "0x" at the very start is hexadecimal whatever the radix, with its
    // sign after the prefix; a sign before it is not a number.
    // A radix given reads the digits after the prefix.
    if (StartsWithHexPrefix(text)) {
        radix = radix == 0 ? 16 : radix;
        text.remove_prefix(2);
    } else if (text.size() >= 3 && (text[0] == '-' || text[0] == '+') &&
               StartsWithHexPrefix(text.substr(1))) {
        return nan;
    } else if (radix == 0) {
        // A leading 0 means octal, again only at the very start and only
        // when every digit is octal.
        radix = IsOctalText(text) ? 8 : 10;
    }
    std::size_t i = 0;
    while (i < text.size() && IsWhitespace(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (radix < 2 || radix > 36) {
        return nan;
    }
    double value = 0;
    std::size_t digits = 0;
    while (i < text.size() && DigitValue(text[i]) < radix) {
        value = value * radix + DigitValue(text[i]);
        ++i;
        ++digits;
    }
    if (digits == 0) {
        return nan;
    }
    return negative ? -value : value;
}

double ParseFloat(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsWhitespace(text[i])) {
        ++i;
    }
    double value = 0;
    // "Infinity" is not read as a number.
    if (ScanDecimal(text.substr(i), value) == 0) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    return value;
}

int ToInt32(double value) {
    return static_cast<int>(ToUint32(value));
}

unsigned ToUint32(double value) {
    if (!std::isfinite(value)) {
        return 0;
    }
    const double truncated = std::trunc(value);
    const double wrapped = std::fmod(truncated, 4294967296.0);
    const double positive = wrapped < 0 ? wrapped + 4294967296.0 : wrapped;
    return static_cast<unsigned>(positive);
}

double ToIntegerValue(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    return std::trunc(value);
}

} // namespace swf::script
