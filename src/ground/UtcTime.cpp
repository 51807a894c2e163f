#include "ground/UtcTime.h"

#include <cctype>
#include <cstdio>

namespace fw {

std::string isoUtc(WallClock::time_point when)
{
    using namespace std::chrono;
    const auto milliseconds = floor<std::chrono::milliseconds>(when);
    const auto day = floor<days>(milliseconds);
    const year_month_day date{day};
    const hh_mm_ss time{milliseconds - day};
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02ld:%02ld:%02ld.%03ldZ", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<long>(time.hours().count()), static_cast<long>(time.minutes().count()),
                  static_cast<long>(time.seconds().count()), static_cast<long>(time.subseconds().count()));
    return text;
}

namespace {

// The number written by `count` digits at `at`; nothing when one is not a digit.
std::optional<int> digitsAt(std::string_view text, std::size_t at, std::size_t count)
{
    if (at + count > text.size()) return std::nullopt;
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

bool charAt(std::string_view text, std::size_t at, char c) { return at < text.size() && text[at] == c; }

constexpr std::size_t kSecondsEnd = 19;  // "2024-05-01T14:03:22"
constexpr int kMillisecondDigits = 3;

} // namespace

std::optional<WallClock::time_point> parseIsoUtc(std::string_view text)
{
    using namespace std::chrono;
    const auto y = digitsAt(text, 0, 4), mo = digitsAt(text, 5, 2), d = digitsAt(text, 8, 2);
    const auto h = digitsAt(text, 11, 2), mi = digitsAt(text, 14, 2), s = digitsAt(text, 17, 2);
    if (!y || !mo || !d || !h || !mi || !s || !charAt(text, 4, '-') || !charAt(text, 7, '-') ||
        !charAt(text, 10, 'T') || !charAt(text, 13, ':') || !charAt(text, 16, ':'))
        return std::nullopt;
    const year_month_day date{year{*y}, month{static_cast<unsigned>(*mo)}, day{static_cast<unsigned>(*d)}};
    if (!date.ok() || *h > 23 || *mi > 59 || *s > 60) return std::nullopt;
    std::size_t at = kSecondsEnd;
    int millis = 0;
    if (charAt(text, at, '.')) {
        int digits = 0;
        for (++at; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])); ++at, ++digits)
            if (digits < kMillisecondDigits) millis = millis * 10 + (text[at] - '0');
        if (digits == 0) return std::nullopt;
        for (; digits < kMillisecondDigits; ++digits) millis *= 10;
    }
    if (!charAt(text, at, 'Z') || at + 1 != text.size()) return std::nullopt;
    return WallClock::time_point{sys_days{date} + hours{*h} + minutes{*mi} + seconds{*s} + milliseconds{millis}};
}

} // namespace fw
