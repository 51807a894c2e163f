#include "report/Wording.h"

#include <cstdio>

#include "ground/Numbers.h"
#include "ground/Texts.h"

namespace fw::reports {

namespace {

struct PhaseName {
    std::string_view recorded;
    const char* shown;
};

constexpr PhaseName kPhaseNames[] = {
    {"link-test", texts::report::LinkTest},       {"model-check", texts::report::ModelCheck},
    {"download-mode", texts::report::DownloadMode}, {"image-transfer", texts::report::ImageTransfer},
    {"verdict", texts::report::Verdict},           {"restart", texts::report::Restart},
    {"isp-mode", texts::report::IspMode},
};

constexpr int64_t kSecondMs = 1000;
constexpr int64_t kMinuteMs = 60 * kSecondMs;
constexpr int64_t kHourMs = 60 * kMinuteMs;
constexpr int kSecondsPerMinute = 60;
constexpr int kMinutesPerHour = 60;

std::string dateAndTime(WallClock::time_point when)
{
    using namespace std::chrono;
    const auto secondsSince = floor<seconds>(when);
    const auto day = floor<days>(secondsSince);
    const year_month_day date{day};
    const hh_mm_ss time{secondsSince - day};
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u %02ld:%02ld:%02ld", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<long>(time.hours().count()), static_cast<long>(time.minutes().count()),
                  static_cast<long>(time.seconds().count()));
    return text;
}

int offsetAt(WallClock::time_point when, const UtcOffset& offset)
{
    if (!offset) return 0;
    return offset(std::chrono::duration_cast<std::chrono::seconds>(when.time_since_epoch()).count());
}

std::string offsetText(int seconds)
{
    const char sign = seconds < 0 ? '-' : '+';
    const int minutes = (seconds < 0 ? -seconds : seconds) / kSecondsPerMinute;
    char text[16];
    std::snprintf(text, sizeof text, "UTC%c%02d:%02d", sign, minutes / kMinutesPerHour, minutes % kMinutesPerHour);
    return text;
}

} // namespace

std::string phaseName(const RecordedPhase& phase)
{
    if (phase.phase == "isp-tool-run") return texts::report::IspToolRun + std::to_string(phase.run);
    for (const PhaseName& name : kPhaseNames)
        if (name.recorded == phase.phase) return name.shown;
    return inWords(phase.phase);
}

std::string inWords(std::string_view name)
{
    std::string words(name);
    for (char& c : words)
        if (c == '-') c = ' ';
    // "up-image-not-taken": the main processor's image, as the window names it.
    if (words.rfind("up ", 0) == 0) words[1] = 'P';
    return words;
}

std::string utcText(WallClock::time_point when) { return dateAndTime(when) + texts::report::Utc; }

std::string localShortText(WallClock::time_point when, const UtcOffset& offset)
{
    return dateAndTime(when + std::chrono::seconds(offsetAt(when, offset)));
}

std::string localText(WallClock::time_point when, const UtcOffset& offset)
{
    return localShortText(when, offset) + texts::report::LocalTime + " (" + offsetText(offsetAt(when, offset)) + ")";
}

std::string durationText(int64_t ms)
{
    // The point stays a point under a locale with a decimal comma: the
    // report's other figures are written without the locale too.
    if (ms < kSecondMs) return fixedDecimal(static_cast<double>(ms) / kSecondMs, 2) + " s";
    if (ms < kMinuteMs) return fixedDecimal(static_cast<double>(ms) / kSecondMs, 1) + " s";
    char text[32];
    if (ms < kHourMs) {
        const int64_t seconds = (ms + kSecondMs / 2) / kSecondMs;
        std::snprintf(text, sizeof text, "%lld min %02lld s", static_cast<long long>(seconds / kSecondsPerMinute),
                      static_cast<long long>(seconds % kSecondsPerMinute));
    } else {
        const int64_t minutes = (ms + kMinuteMs / 2) / kMinuteMs;
        std::snprintf(text, sizeof text, "%lld h %02lld min", static_cast<long long>(minutes / kMinutesPerHour),
                      static_cast<long long>(minutes % kMinutesPerHour));
    }
    return text;
}

} // namespace fw::reports
