// Texts in the device's state files (the registry, the process table):
// UTF-8 between double quotes, with "%" and four hex digits standing for a
// UTF-16 unit that cannot appear as it is (control characters, '"', '%',
// unpaired surrogates, and any further units the caller names), so that any
// UTF-16 text survives the trip exactly.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sim {

std::string EscapeText(std::u16string_view text, std::u16string_view alsoEscaped = u"");
// nullopt for a damaged escape.
std::optional<std::u16string> UnescapeText(std::string_view text);

std::string QuoteText(std::u16string_view text);
// Reads a quoted text at the start of rest (after any blanks) and moves rest
// past it; nullopt when there is none or it is damaged.
std::optional<std::u16string> TakeQuotedText(std::string_view& rest);

// The value of a hexadecimal digit in either case, or -1.
int HexDigitValue(char c);

} // namespace sim
