#include "report/Timeline.h"

#include <algorithm>
#include <array>
#include <optional>

#include "ground/Texts.h"
#include "ground/UtcTime.h"
#include "report/Wording.h"

namespace fw::reports {

namespace {

using Ms = int64_t;

std::optional<Ms> msOf(const std::string& iso)
{
    const auto when = parseIsoUtc(iso);
    if (!when) return std::nullopt;
    return std::chrono::duration_cast<std::chrono::milliseconds>(when->time_since_epoch()).count();
}

bool wentWell(const std::string& outcome) { return outcome == "ok" || outcome == "not-judged"; }

struct TimedPhase {
    const RecordedPhase* phase;
    Ms start;
    std::optional<Ms> end;
};

std::vector<TimedPhase> timedPhases(const RecordEntry& entry)
{
    std::vector<TimedPhase> timed;
    for (const RecordedPhase& p : entry.phases)
        if (const auto start = msOf(p.started)) timed.push_back({&p, *start, msOf(p.ended)});
    std::stable_sort(timed.begin(), timed.end(), [](const TimedPhase& a, const TimedPhase& b) { return a.start < b.start; });
    return timed;
}

std::string tickLabel(Ms at, Ms step)
{
    constexpr Ms kMinute = 60000;
    constexpr Ms kSecond = 1000;
    if (step % kMinute == 0) return std::to_string(at / kMinute) + " min";
    if (step % kSecond == 0) return std::to_string(at / kSecond) + " s";
    return durationText(at);
}

} // namespace

std::vector<TimelineTick> ticksFor(int64_t spanMs)
{
    // Round steps: a tenth of a second up to an hour.
    constexpr std::array<Ms, 16> kSteps = {100,   200,   500,    1000,   2000,   5000,    10000,   15000,
                                           30000, 60000, 120000, 300000, 600000, 900000, 1800000, 3600000};
    std::vector<TimelineTick> ticks;
    if (spanMs <= 0) return ticks;
    Ms step = kSteps.back();
    for (const Ms s : kSteps)
        if (spanMs / s <= kMostTicks) {
            step = s;
            break;
        }
    for (Ms at = 0; at <= spanMs; at += step)
        ticks.push_back({static_cast<double>(at) / static_cast<double>(spanMs), tickLabel(at, step)});
    return ticks;
}

Timeline timelineOf(const RecordEntry& entry)
{
    Timeline timeline;
    const std::vector<TimedPhase> timed = timedPhases(entry);
    if (timed.empty()) return timeline;
    Ms origin = timed.front().start;
    if (const auto started = msOf(entry.started)) origin = std::min(origin, *started);
    Ms finish = origin;
    for (const TimedPhase& t : timed) finish = std::max({finish, t.start, t.end.value_or(t.start)});
    if (const auto ended = msOf(entry.ended)) finish = std::max(finish, *ended);
    timeline.spanMs = finish - origin;
    const double span = static_cast<double>(std::max<Ms>(timeline.spanMs, 1));
    for (const TimedPhase& t : timed) {
        TimelineBar bar;
        bar.name = phaseName(*t.phase);
        bar.outcome = t.phase->outcome.empty() ? texts::report::PhaseUnended : inWords(t.phase->outcome);
        bar.failed = !wentWell(t.phase->outcome);
        bar.startMs = t.start - origin;
        bar.lengthMs = std::max<Ms>(t.end.value_or(t.start) - t.start, 0);
        bar.start = static_cast<double>(bar.startMs) / span;
        bar.length = static_cast<double>(bar.lengthMs) / span;
        timeline.bars.push_back(std::move(bar));
    }
    timeline.ticks = ticksFor(timeline.spanMs);
    return timeline;
}

} // namespace fw::reports
