// The pieces of JSON the program writes (the device's journal, a control's
// state): quoted strings and numbers, written one way everywhere.
#pragma once

#include <string>
#include <string_view>

namespace json {

// text (UTF-8) between double quotes, with quotes, backslashes and control
// characters escaped.
std::string Quote(std::string_view text);

// value with up to significantDigits digits ("%.*g"); "null" when it is not
// finite, which JSON cannot write.
std::string Number(double value, int significantDigits);

} // namespace json
