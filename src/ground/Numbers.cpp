#include "ground/Numbers.h"

#include <cctype>
#include <cmath>
#include <cstdio>

#include "ground/Text.h"

namespace fw {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

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
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) number += text[i++];
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
    if (i < text.size() && (std::toupper(static_cast<unsigned char>(text[i])) == 'E' ||
                            std::toupper(static_cast<unsigned char>(text[i])) == 'D')) {
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
    return std::strtod(number.c_str(), nullptr);
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
    if (std::nearbyint(value) == value && std::fabs(value) < 1e15)
        std::snprintf(text, sizeof text, "%.0f", value);
    else
        std::snprintf(text, sizeof text, "%.15g", value);
    return text;
}

} // namespace fw
