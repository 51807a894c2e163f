#include "record/RecordEntry.h"

#include <limits>

#include "ground/ModelName.h"
#include "ground/SettingsFile.h"

namespace fw {

namespace {

std::optional<std::string> optionalText(const Json& object, std::string_view key)
{
    const Json* field = fieldOf(object, key);
    if (!field || !field->is_string()) return std::nullopt;
    return field->get<std::string>();
}

// Whole numbers only: a size, a sum, a run; nothing for a fraction, a
// negative number or one out of range.
template <typename Number>
std::optional<Number> whole(const Json& object, std::string_view key)
{
    const Json* field = fieldOf(object, key);
    if (!field || !field->is_number_integer()) return std::nullopt;
    if (field->is_number_unsigned()) {
        const auto value = field->get<uint64_t>();
        if (value > static_cast<uint64_t>(std::numeric_limits<Number>::max())) return std::nullopt;
        return static_cast<Number>(value);
    }
    const auto value = field->get<int64_t>();
    if (value < 0 || static_cast<uint64_t>(value) > static_cast<uint64_t>(std::numeric_limits<Number>::max()))
        return std::nullopt;
    return static_cast<Number>(value);
}

template <typename Item>
std::vector<Item> itemsOf(const Json& object, std::string_view key, Item (*read)(const Json&))
{
    std::vector<Item> items;
    const Json* array = fieldOf(object, key);
    if (!array || !array->is_array()) return items;
    for (const Json& item : *array)
        if (item.is_object()) items.push_back(read(item));
    return items;
}

RecordedImage imageOf(const Json& v)
{
    return {textOf(v, "role"), textOf(v, "name"), textOf(v, "path"), whole<uint64_t>(v, "size"),
            whole<uint64_t>(v, "byte_sum"), textOf(v, "sha256")};
}

RecordedPhase phaseOf(const Json& v)
{
    return {textOf(v, "phase"), whole<int>(v, "run").value_or(0), textOf(v, "started"), textOf(v, "ended"),
            textOf(v, "outcome")};
}

RecordedIspRun ispRunOf(const Json& v)
{
    const Json* timedOut = fieldOf(v, "timed_out");
    return {whole<int>(v, "run").value_or(0), timedOut && timedOut->is_boolean() && timedOut->get<bool>(),
            whole<int>(v, "exit_code"), optionalText(v, "log_line")};
}

std::optional<RecordedPort> portOf(const Json& entry)
{
    const Json* port = fieldOf(entry, "port");
    if (!port || !port->is_object()) return std::nullopt;
    // Whatever else a damaged line holds there is no port the program had.
    std::optional<int> number = whole<int>(*port, "number");
    if (number && (*number < kLowestPortNumber || *number > kHighestPortNumber)) number.reset();
    return RecordedPort{number, textOf(*port, "device"), textOf(*port, "usb_id"), textOf(*port, "serial_number")};
}

} // namespace

std::string RecordEntry::modelName() const
{
    if (!model.empty()) return model;
    return modelReply ? modelNameIn(*modelReply) : std::string();
}

std::optional<RecordEntry> recordEntryOf(const Json& v)
{
    if (!v.is_object() || textOf(v, "id").empty() || textOf(v, "state").empty()) return std::nullopt;
    RecordEntry e;
    e.id = textOf(v, "id");
    e.state = textOf(v, "state");
    e.operation = textOf(v, "operation");
    e.started = textOf(v, "started");
    e.ended = textOf(v, "ended");
    e.durationMs = whole<int64_t>(v, "duration_ms");
    e.program = textOf(v, "program");
    e.version = textOf(v, "version");
    e.host = textOf(v, "host");
    e.user = textOf(v, "user");
    e.port = portOf(v);
    e.label = textOf(v, "label");
    e.venue = textOf(v, "venue");
    e.listFile = textOf(v, "list_file");
    e.images = itemsOf(v, "images", imageOf);
    e.modelReply = optionalText(v, "model_reply");
    e.model = textOf(v, "model");
    e.modelNumber = textOf(v, "model_number");
    e.phases = itemsOf(v, "phases", phaseOf);
    e.ispRuns = itemsOf(v, "isp_runs", ispRunOf);
    e.outcome = textOf(v, "outcome");
    e.reason = textOf(v, "reason");
    e.message = optionalText(v, "message");
    return e;
}

} // namespace fw
