#include "ground/Numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "ground/Text.h"

namespace fw {

namespace {

constexpr double kLargestPlainWhole = 1e15;  // beyond it a whole number is written with an exponent
constexpr int kSignificantDigits = 15;
constexpr long kExponentCeiling = 100000;    // far beyond any double; longer exponents stop counting here
constexpr std::size_t kLongestWholePart = 320;  // a double's 309 digits before the point, its sign and point

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isExponentMark(char c) { return c == 'E' || c == 'e' || c == 'D' || c == 'd'; }

long exponentOf(std::string_view number)
{
    const std::size_t mark = number.find('e');
    if (mark == std::string_view::npos) return 0;
    std::size_t i = mark + 1;
    const bool negative = number[i] == '-';
    if (number[i] == '-' || number[i] == '+') ++i;
    long exponent = 0;
    for (; i < number.size(); ++i) exponent = std::min(exponent * 10 + (number[i] - '0'), kExponentCeiling);
    return negative ? -exponent : exponent;
}

// A number from_chars finds beyond what a double holds: infinity when it is
// too large and 0 when it is too small, as the classic reader gives. Its
// first significant digit's power of ten tells which.
double beyondDouble(std::string_view number)
{
    const std::string_view mantissa = number.substr(0, number.find('e'));
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_of("123456789");
    if (first == std::string_view::npos) return 0;
    const long place = first < point ? static_cast<long>(point - first) - 1 : -static_cast<long>(first - point);
    const double magnitude = place + exponentOf(number) > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return number.front() == '-' ? -magnitude : magnitude;
}

// [-]digits[.digits][e[sign]digits] as a double, whatever the locale.
double toDouble(std::string_view number)
{
    double value = 0;
    const std::string_view unsigned_ = number.substr(number.front() == '-' ? 1 : 0);
    const auto [end, error] = std::from_chars(unsigned_.data(), unsigned_.data() + unsigned_.size(), value);
    if (error == std::errc::result_out_of_range) return beyondDouble(number);
    return number.front() == '-' ? -value : value;
}

// Reads [sign] digits [. digits] [E|D [sign] digits] from the start of
// `text`, skipping blanks anywhere as the classic number reader does. Sets
// `consumed` to how much of the text took part.
double readNumber(std::string_view text, std::size_t& consumed)
{
    std::string number;
    std::size_t i = 0;
    auto skipBlanks = [&] {
        while (i < text.size() && isBlank(text[i])) ++i;
    };
    auto digits = [&] {
        bool any = false;
        for (skipBlanks(); i < text.size() && isDigit(text[i]); skipBlanks()) {
            number += text[i++];
            any = true;
        }
        return any;
    };
    skipBlanks();
    if (i < text.size() && text[i] == '-') number += '-';
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    bool any = digits();
    if (i < text.size() && text[i] == '.') {
        number += text[i++];
        any = digits() || any;
    }
    if (!any) {
        consumed = 0;
        return 0;
    }
    const std::size_t mantissaEnd = i;
    if (i < text.size() && isExponentMark(text[i])) {
        std::string exponent = "e";
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) exponent += text[i++];
        const std::size_t before = number.size();
        number += exponent;
        if (!digits()) {
            number.resize(before);
            i = mantissaEnd;
        }
    }
    consumed = i;
    return toDouble(number);
}

} // namespace

double leadingNumber(std::string_view text)
{
    std::size_t consumed = 0;
    return readNumber(text, consumed);
}

int16_t roundToInt16(double value)
{
    const double rounded = std::nearbyint(value);  // the default rounding mode is half to even
    if (!(rounded >= -32768.0 && rounded <= 32767.0)) throw NumberError("number out of range");
    return static_cast<int16_t>(rounded);
}

int16_t toInt16(std::string_view text)
{
    const std::string trimmed = strip(text);
    std::size_t consumed = 0;
    const double value = readNumber(trimmed, consumed);
    if (consumed == 0 || consumed != trimmed.size()) throw NumberError("not a number: " + trimmed);
    return roundToInt16(value);
}

std::string plainDecimal(double value)
{
    if (value == 0) return "0";
    char text[64];
    const bool plainWhole = std::nearbyint(value) == value && std::fabs(value) < kLargestPlainWhole;
    const auto written = plainWhole ? std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 0)
                                    : std::to_chars(text, text + sizeof text, value, std::chars_format::general,
                                                    kSignificantDigits);
    return std::string(text, written.ptr);
}

std::string fixedDecimal(double value, int decimals, std::size_t width)
{
    // Room for the largest double written out in full, its sign, point and places.
    std::string number(kLongestWholePart + static_cast<std::size_t>(std::max(decimals, 0)), '\0');
    const auto written =
        std::to_chars(number.data(), number.data() + number.size(), value, std::chars_format::fixed, decimals);
    number.resize(static_cast<std::size_t>(written.ptr - number.data()));
    if (number.size() < width) number.insert(0, width - number.size(), ' ');
    return number;
}

std::optional<uint64_t> numberFromDigits(std::string_view text, uint64_t lowest, uint64_t highest, AboveRange above)
{
    if (text.empty()) return std::nullopt;
    for (char c : text)
        if (!isDigit(c)) return std::nullopt;
    uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    const bool beyond = error == std::errc::result_out_of_range || (error == std::errc() && value > highest);
    if (beyond) return above == AboveRange::Highest ? std::optional<uint64_t>(highest) : std::nullopt;
    if (error != std::errc() || value < lowest) return std::nullopt;
    return value;
}

} // namespace fw
