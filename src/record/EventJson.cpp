#include "record/EventJson.h"

#include "ground/Json.h"

namespace fw {

namespace {

std::string imageJson(const std::optional<ImageFile>& image)
{
    if (!image) return "null";
    return JsonObject().add("name", image->name).add("path", image->path).add("size", image->size).str();
}

void addFields(JsonObject& o, const OperationStarted& e) { o.add("operation", nameOf(e.operation)); }

void addFields(JsonObject& o, const OperationEnded& e)
{
    o.add("operation", nameOf(e.operation)).add("outcome", outcomeName(e.reason)).add("reason", nameOf(e.reason));
}

void addRun(JsonObject& o, Phase phase, int run)
{
    if (phase == Phase::IspToolRun) o.add("run", run);
}

void addFields(JsonObject& o, const PhaseStarted& e)
{
    o.add("phase", nameOf(e.phase));
    addRun(o, e.phase, e.run);
}

void addFields(JsonObject& o, const PhaseEnded& e)
{
    o.add("phase", nameOf(e.phase));
    addRun(o, e.phase, e.run);
    o.add("outcome", nameOf(e.outcome));
}

void addFields(JsonObject& o, const PackageChecked& e)
{
    o.add("list_file", e.listFile).add("valid", e.valid).addJson("up", imageJson(e.up)).addJson("scaler",
                                                                                                imageJson(e.scaler));
}

void addFields(JsonObject& o, const ModelReplied& e) { o.add("reply", e.reply); }

void addFields(JsonObject& o, const ImageProgress& e)
{
    o.add("sent_bytes", e.sentBytes).add("total_bytes", e.totalBytes);
}

void addFields(JsonObject& o, const IspToolStarted& e) { o.add("run", e.run).add("time_limit_s", e.timeLimitSeconds); }

void addFields(JsonObject& o, const IspToolElapsed& e) { o.add("run", e.run).add("elapsed_s", e.seconds); }

void addFields(JsonObject& o, const IspToolEnded& e)
{
    o.add("run", e.run).add("timed_out", e.timedOut);
    if (e.exitCode) o.add("exit_code", *e.exitCode);
    else o.addNull("exit_code");
    if (e.logLine) o.add("log_line", *e.logLine);
    else o.addNull("log_line");
}

void addFields(JsonObject& o, const MessageShown& e)
{
    o.add("kind", nameOf(e.kind)).add("text", e.text);
    if (e.answeredYes) o.add("answer", *e.answeredYes ? "yes" : "no");
}

struct TypeName {
    const char* operator()(const OperationStarted&) const { return "operation-started"; }
    const char* operator()(const OperationEnded&) const { return "operation-ended"; }
    const char* operator()(const PhaseStarted&) const { return "phase-started"; }
    const char* operator()(const PhaseEnded&) const { return "phase-ended"; }
    const char* operator()(const PackageChecked&) const { return "package-checked"; }
    const char* operator()(const ModelReplied&) const { return "model-replied"; }
    const char* operator()(const ImageProgress&) const { return "image-progress"; }
    const char* operator()(const IspToolStarted&) const { return "isp-tool-started"; }
    const char* operator()(const IspToolElapsed&) const { return "isp-tool-elapsed"; }
    const char* operator()(const IspToolEnded&) const { return "isp-tool-ended"; }
    const char* operator()(const MessageShown&) const { return "message"; }
};

} // namespace

const char* outcomeName(Reason reason)
{
    if (reason == Reason::None) return "succeeded";
    return reason == Reason::Declined ? "declined" : "failed";
}

std::string eventJson(const Event& event, const EventStamp& stamp)
{
    JsonObject o;
    o.add("schema", kEventSchemaVersion).add("type", std::visit(TypeName{}, event)).add("time", stamp.time);
    if (stamp.port != 0) o.add("port", stamp.port);
    if (!stamp.label.empty()) o.add("label", stamp.label);
    std::visit([&o](const auto& e) { addFields(o, e); }, event);
    return o.str();
}

} // namespace fw
