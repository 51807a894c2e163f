#include "record/History.h"

#include <cmath>
#include <cstdio>
#include <set>

#include "ground/ModelName.h"
#include "ground/SettingsFile.h"
#include "record/BackwardLines.h"

namespace fw {

namespace {

constexpr std::size_t kWhenLength = 19;  // "2024-05-01T14:03:22" without the fraction

bool isEntry(const std::optional<Json>& value)
{
    return value && !textOf(*value, "id").empty() && !textOf(*value, "state").empty();
}

std::string when(const Json& entry)
{
    const std::string started = textOf(entry, "started", "-");
    return started.size() > kWhenLength ? started.substr(0, kWhenLength) + "Z" : started;
}

std::string port(const Json& entry)
{
    const Json* port = fieldOf(entry, "port");
    if (!port) return "-";
    const Json* number = fieldOf(*port, "number");
    // Whatever else a damaged line holds there is no port the program had.
    const bool known = number && number->is_number_integer() && *number >= kLowestPortNumber &&
                       *number <= kHighestPortNumber;
    std::string text = known ? portName(number->get<int>()) : "-";
    const std::string device = textOf(*port, "device");
    return device.empty() ? text : text + " " + device;
}

// A venue's projector by its label and the venue's name: " [Left stack,
// Hall A]"; nothing for another.
std::string venueRow(const Json& entry)
{
    const std::string label = textOf(entry, "label");
    const std::string venue = textOf(entry, "venue");
    if (label.empty() && venue.empty()) return {};
    if (label.empty() || venue.empty()) return " [" + label + venue + "]";
    return " [" + label + ", " + venue + "]";
}

// The model as the entry names it; an entry written before it did has it
// found in the reply, past the query's echo and a prompt.
std::string model(const Json& entry)
{
    std::string name = textOf(entry, "model");
    if (name.empty()) name = modelNameIn(textOf(entry, "model_reply"));
    return name.empty() ? "-" : name;
}

std::string package(const Json& entry)
{
    const std::string list = textOf(entry, "list_file");
    if (list.empty()) return "-";
    const auto slash = list.find_last_of("/\\");
    return slash == std::string::npos ? list : list.substr(slash + 1);
}

std::string outcome(const Json& entry)
{
    if (textOf(entry, "state") != "ended") return "unfinished";
    const std::string outcome = textOf(entry, "outcome", "?");
    return outcome == "failed" ? outcome + " (" + textOf(entry, "reason", "?") + ")" : outcome;
}

std::string duration(const Json& entry)
{
    const auto ms = numberOf(entry, "duration_ms");
    if (!ms) return "-";
    const long seconds = std::lround(*ms / 1000);
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld", seconds / 60, seconds % 60);
    return text;
}

} // namespace

History readHistory(const std::string& path, std::size_t last)
{
    History history;
    BackwardLines lines(path);
    history.found = lines.opened();
    std::set<std::string> seen;  // operations already taken from a later line
    while (history.entries.size() < last) {
        std::optional<std::string> line = lines.previous();
        if (!line) break;
        if (!lines.cut() && line->find_first_not_of(" \t") == std::string::npos) continue;
        std::optional<Json> value = lines.cut() ? std::nullopt : parseJson(*line);
        if (!isEntry(value)) {
            history.warnings.push_back(path + ": the line at byte " + std::to_string(lines.offset()) +
                                       " is not a record entry; read past it");
            continue;
        }
        if (!seen.insert(textOf(*value, "id")).second) continue;
        history.entries.push_back({std::move(*line), std::move(*value)});
    }
    return history;
}

std::string historyLine(const Json& entry)
{
    return when(entry) + "  " + textOf(entry, "operation", "?") + "  " + port(entry) + venueRow(entry) + "  " +
           model(entry) + "  " + package(entry) + "  " + outcome(entry) + "  " + duration(entry);
}

} // namespace fw
