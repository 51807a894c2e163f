#include "record/RecordEntry.h"

#include <cmath>
#include <limits>

#include "ground/ModelName.h"

namespace fw {

namespace {

std::optional<std::string> optionalText(const JsonValue& object, std::string_view key)
{
    const JsonValue* field = object.find(key);
    if (!field || !field->is(JsonValue::Kind::String)) return std::nullopt;
    return field->text;
}

// Whole numbers only: a size, a sum, a run; nothing for a fraction or one
// out of range.
template <typename Number>
std::optional<Number> whole(const JsonValue& object, std::string_view key)
{
    const auto number = object.numberOf(key);
    if (!number || *number < 0 || std::floor(*number) != *number ||
        *number > static_cast<double>(std::numeric_limits<Number>::max()))
        return std::nullopt;
    return static_cast<Number>(*number);
}

template <typename Item>
std::vector<Item> itemsOf(const JsonValue& object, std::string_view key, Item (*read)(const JsonValue&))
{
    std::vector<Item> items;
    const JsonValue* array = object.find(key);
    if (!array || !array->is(JsonValue::Kind::Array)) return items;
    for (const JsonValue& item : array->items)
        if (item.is(JsonValue::Kind::Object)) items.push_back(read(item));
    return items;
}

RecordedImage imageOf(const JsonValue& v)
{
    return {v.textOf("role"), v.textOf("name"), v.textOf("path"), whole<uint64_t>(v, "size"),
            whole<uint64_t>(v, "byte_sum"), v.textOf("sha256")};
}

RecordedPhase phaseOf(const JsonValue& v)
{
    return {v.textOf("phase"), whole<int>(v, "run").value_or(0), v.textOf("started"), v.textOf("ended"),
            v.textOf("outcome")};
}

RecordedIspRun ispRunOf(const JsonValue& v)
{
    const JsonValue* timedOut = v.find("timed_out");
    return {whole<int>(v, "run").value_or(0), timedOut && timedOut->is(JsonValue::Kind::Bool) && timedOut->boolean,
            whole<int>(v, "exit_code"), optionalText(v, "log_line")};
}

std::optional<RecordedPort> portOf(const JsonValue& entry)
{
    const JsonValue* port = entry.find("port");
    if (!port || !port->is(JsonValue::Kind::Object)) return std::nullopt;
    return RecordedPort{whole<int>(*port, "number"), port->textOf("device"), port->textOf("usb_id"),
                        port->textOf("serial_number")};
}

} // namespace

std::string RecordEntry::modelName() const
{
    if (!model.empty()) return model;
    return modelReply ? modelNameIn(*modelReply) : std::string();
}

std::optional<RecordEntry> recordEntryOf(const JsonValue& v)
{
    if (!v.is(JsonValue::Kind::Object) || v.textOf("id").empty() || v.textOf("state").empty()) return std::nullopt;
    RecordEntry e;
    e.id = v.textOf("id");
    e.state = v.textOf("state");
    e.operation = v.textOf("operation");
    e.started = v.textOf("started");
    e.ended = v.textOf("ended");
    const auto duration = v.numberOf("duration_ms");
    if (duration) e.durationMs = static_cast<int64_t>(std::llround(*duration));
    e.program = v.textOf("program");
    e.version = v.textOf("version");
    e.host = v.textOf("host");
    e.user = v.textOf("user");
    e.port = portOf(v);
    e.label = v.textOf("label");
    e.venue = v.textOf("venue");
    e.listFile = v.textOf("list_file");
    e.images = itemsOf(v, "images", imageOf);
    e.modelReply = optionalText(v, "model_reply");
    e.model = v.textOf("model");
    e.modelNumber = v.textOf("model_number");
    e.phases = itemsOf(v, "phases", phaseOf);
    e.ispRuns = itemsOf(v, "isp_runs", ispRunOf);
    e.outcome = v.textOf("outcome");
    e.reason = v.textOf("reason");
    e.message = optionalText(v, "message");
    return e;
}

} // namespace fw
