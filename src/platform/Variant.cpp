#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "platform/ControlHost.h"
#include "platform/Text.h"

namespace {

// A text that holds a decimal number, with optional blanks around it.
bool ParseNumber(const std::u16string& text, double& out) {
    std::string narrow = text::ToUtf8(text);
    const auto first = narrow.find_first_not_of(" \t");
    const auto last = narrow.find_last_not_of(" \t");
    if (first == std::string::npos) {
        return false;
    }
    narrow = narrow.substr(first, last - first + 1);
    const char* begin = narrow.data();
    const char* end = begin + narrow.size();
    if (*begin == '+') {
        ++begin;
    }
    double value = 0;
    const auto [ptr, error] = std::from_chars(begin, end, value);
    if (error != std::errc() || ptr != end) {
        return false;
    }
    out = value;
    return true;
}

} // namespace

bool Variant::ToBool(bool& out) const {
    LONG number = 0;
    if (IsBool()) {
        out = std::get<1>(value);
        return true;
    }
    if (ToInt(number)) {
        out = number != 0;
        return true;
    }
    return false;
}

bool Variant::ToInt(LONG& out) const {
    double number = 0;
    switch (value.index()) {
    case 1:
        out = std::get<1>(value) ? -1 : 0; // a true variant boolean is all ones
        return true;
    case 2:
        out = std::get<2>(value);
        return true;
    case 3:
        number = std::get<3>(value);
        break;
    case 4:
        if (!ParseNumber(std::get<4>(value), number)) {
            return false;
        }
        break;
    default:
        return false;
    }
    // Coercion rounds half to even and refuses what does not fit.
    const double rounded = std::nearbyint(number);
    if (!(rounded >= std::numeric_limits<LONG>::min() &&
          rounded <= std::numeric_limits<LONG>::max())) {
        return false;
    }
    out = static_cast<LONG>(rounded);
    return true;
}

bool Variant::ToDouble(double& out) const {
    switch (value.index()) {
    case 1:
        out = std::get<1>(value) ? -1.0 : 0.0;
        return true;
    case 2:
        out = std::get<2>(value);
        return true;
    case 3:
        out = std::get<3>(value);
        return true;
    case 4:
        return ParseNumber(std::get<4>(value), out);
    default:
        return false;
    }
}

bool Variant::ToText(std::u16string& out) const {
    switch (value.index()) {
    case 1:
        out = std::get<1>(value) ? u"True" : u"False";
        return true;
    case 2:
        out = text::FromInt(std::get<2>(value));
        return true;
    case 3: {
        char digits[32];
        const int length = std::snprintf(digits, sizeof digits, "%.15g", std::get<3>(value));
        out = std::u16string(digits, digits + length);
        return true;
    }
    case 4:
        out = std::get<4>(value);
        return true;
    default:
        return false;
    }
}
