#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace fw {

// A text that should have been a number was not one, or the number does not
// fit where it goes.
struct NumberError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The number a text begins with: blanks skipped, reading stops at the first
// character that cannot belong to a number; 0 when it does not begin with
// one ("07" is 7, "COM5" is 0, "12abc" is 12).
double leadingNumber(std::string_view text);

// A whole text as a 16-bit port number: surrounding blanks allowed, a
// fraction rounded half to even. Throws NumberError for anything else.
int16_t toInt16(std::string_view text);

// Rounds half to even into 16 bits; throws NumberError when out of range.
int16_t roundToInt16(double value);

// Plain decimal: no decimal point for whole numbers ("7", "-3", "2.5").
std::string plainDecimal(double value);

} // namespace fw
