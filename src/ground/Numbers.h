#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

// Numbers read from and written to files, command lines, the wire and
// messages. None of them follows the locale: under a German one the C
// library reads "1.6" as 1 and writes 2.5 as "2,5", and Qt applies the
// user's locale to the whole program.

namespace fw {

// A text that should have been a number was not one, or the number does not
// fit where it goes.
struct NumberError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The number a text begins with: blanks skipped, reading stops at the first
// character that cannot belong to a number; 0 when it does not begin with
// one ("07" is 7, "COM5" is 0, "12abc" is 12, "1.6" is 1.6).
double leadingNumber(std::string_view text);

// A whole text as a 16-bit port number: surrounding blanks allowed, a
// fraction rounded half to even. Throws NumberError for anything else.
int16_t toInt16(std::string_view text);

// Rounds half to even into 16 bits; throws NumberError when out of range.
int16_t roundToInt16(double value);

// Plain decimal: no decimal point for whole numbers ("7", "-3", "2.5").
std::string plainDecimal(double value);

// `decimals` places after the point, padded with blanks on the left to
// `width` characters: what printf's "%5.1f" makes of it for width 5 and
// decimals 1 ("  7.5").
std::string fixedDecimal(double value, int decimals, std::size_t width = 0);

// What numberFromDigits makes of digits that stand for more than it allows.
enum class AboveRange { Refused, Highest };

// A whole text of decimal digits (not empty; no sign, blanks or point) as a
// number from `lowest` to `highest`; none for any other text, and for a
// number outside the range unless `above` caps it at `highest`. Leading
// zeros are allowed ("007" is 7).
std::optional<uint64_t> numberFromDigits(std::string_view text, uint64_t lowest, uint64_t highest,
                                         AboveRange above = AboveRange::Refused);

} // namespace fw
