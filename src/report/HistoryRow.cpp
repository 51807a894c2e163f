#include "report/HistoryRow.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "ground/SettingsFile.h"
#include "ground/Texts.h"
#include "report/BuildReport.h"

namespace fw::reports {

namespace {

constexpr std::size_t kDayLength = 10;  // "2024-05-01"
constexpr int64_t kMsPerSecond = 1000;
constexpr int64_t kSecondsPerMinute = 60;

std::string portText(const RecordEntry& e)
{
    if (!e.port) return {};
    std::string text = e.port->number ? portName(*e.port->number) : std::string();
    // On Windows the device is the port's own name.
    if (e.port->device.empty() || e.port->device == text) return text;
    return text.empty() ? e.port->device : text + " " + e.port->device;
}

std::string fileName(const std::string& path)
{
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string outcomeText(const RecordEntry& e, Verdict verdict)
{
    switch (verdict) {
    case Verdict::Succeeded: return "succeeded";
    case Verdict::Declined: return "not started";
    case Verdict::Unfinished: return "unfinished";
    case Verdict::Failed: break;
    }
    return e.reason.empty() ? "failed" : "failed (" + inWords(e.reason) + ")";
}

std::string minutesAndSeconds(int64_t ms)
{
    const int64_t seconds = (ms + kMsPerSecond / 2) / kMsPerSecond;
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld", static_cast<long long>(seconds / kSecondsPerMinute),
                  static_cast<long long>(seconds % kSecondsPerMinute));
    return text;
}

std::string lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace

HistoryRow historyRowOf(const RecordEntry& e, const UtcOffset& localOffset)
{
    HistoryRow row;
    const auto started = parseIsoUtc(e.started);
    row.when = started ? localShortText(*started, localOffset) : e.started;
    row.operation = e.operation;
    row.port = portText(e);
    row.label = e.label;
    row.venue = e.venue;
    row.model = e.modelName();
    row.package = fileName(e.listFile);
    row.verdict = verdictOf(e);
    row.outcome = outcomeText(e, row.verdict);
    if (e.finished() && e.durationMs) row.duration = minutesAndSeconds(*e.durationMs);
    return row;
}

bool matches(const HistoryRow& row, const HistoryFilter& filter)
{
    if (filter.verdict && row.verdict != *filter.verdict) return false;
    const std::string day = row.when.substr(0, kDayLength);
    if (!filter.fromDay.empty() && day < filter.fromDay) return false;
    if (!filter.toDay.empty() && day > filter.toDay) return false;
    if (filter.text.empty()) return true;
    const std::string wanted = lower(filter.text);
    for (const std::string* field : {&row.port, &row.label, &row.venue, &row.model, &row.package})
        if (lower(*field).find(wanted) != std::string::npos) return true;
    return false;
}

} // namespace fw::reports
