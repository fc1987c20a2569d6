// Numbers as text, both ways, as Flash writes and reads them: 15
// significant digits, exponents past 1e15 and below 1e-5 ("1e+21",
// "1.5e-7"), "NaN", "Infinity", and -0 written "0"; strings read as
// numbers by the rules of each SWF version.
#pragma once

#include <string>
#include <string_view>

namespace swf::script {

std::string NumberToString(double value);
// Number.prototype.toString with a radix from 2 to 36 (integers only; a
// fraction is dropped as Flash does).
std::string NumberToStringRadix(double value, int radix);

// ToNumber of a string in code of this SWF version.
double StringToNumber(std::string_view text, int version);
// parseInt and parseFloat (radix 0: from the text).
double ParseInt(std::string_view text, int radix);
double ParseFloat(std::string_view text);

// ToInt32 and ToUint32 of the language (wrapping modulo 2^32).
int ToInt32(double value);
unsigned ToUint32(double value);
// The integer part of a number, truncated towards zero (NaN is 0).
double ToIntegerValue(double value);

} // namespace swf::script
