#include "ground/UtcTime.h"

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

} // namespace fw
