#include "record/EventJson.h"

#include "ground/Json.h"

namespace fw {

namespace {

Json imageJson(const std::optional<ImageFile>& image)
{
    if (!image) return nullptr;
    return {{"name", image->name}, {"path", image->path}, {"size", image->size}};
}

void addFields(Json& o, const OperationStarted& e) { o["operation"] = nameOf(e.operation); }

void addFields(Json& o, const OperationEnded& e)
{
    o["operation"] = nameOf(e.operation);
    o["outcome"] = outcomeName(e.reason);
    o["reason"] = nameOf(e.reason);
}

void addRun(Json& o, Phase phase, int run)
{
    if (phase == Phase::IspToolRun) o["run"] = run;
}

void addFields(Json& o, const PhaseStarted& e)
{
    o["phase"] = nameOf(e.phase);
    addRun(o, e.phase, e.run);
}

void addFields(Json& o, const PhaseEnded& e)
{
    o["phase"] = nameOf(e.phase);
    addRun(o, e.phase, e.run);
    o["outcome"] = nameOf(e.outcome);
}

void addFields(Json& o, const PackageChecked& e)
{
    o["list_file"] = e.listFile;
    o["valid"] = e.valid;
    o["up"] = imageJson(e.up);
    o["scaler"] = imageJson(e.scaler);
}

void addFields(Json& o, const ModelReplied& e)
{
    o["reply"] = e.reply;
    o["model"] = e.model.empty() ? Json(nullptr) : Json(e.model);
    o["model_number"] = e.modelNumber.empty() ? Json(nullptr) : Json(e.modelNumber);
}

void addFields(Json& o, const ImageProgress& e)
{
    o["sent_bytes"] = e.sentBytes;
    o["total_bytes"] = e.totalBytes;
}

void addFields(Json& o, const IspToolStarted& e)
{
    o["run"] = e.run;
    o["time_limit_s"] = e.timeLimitSeconds;
}

void addFields(Json& o, const IspToolElapsed& e)
{
    o["run"] = e.run;
    o["elapsed_s"] = e.seconds;
}

void addFields(Json& o, const IspToolEnded& e)
{
    o["run"] = e.run;
    o["timed_out"] = e.timedOut;
    o["exit_code"] = e.exitCode ? Json(*e.exitCode) : Json(nullptr);
    o["log_line"] = e.logLine ? Json(*e.logLine) : Json(nullptr);
}

void addFields(Json& o, const MessageShown& e)
{
    o["kind"] = nameOf(e.kind);
    o["text"] = e.text;
    if (e.answeredYes) o["answer"] = *e.answeredYes ? "yes" : "no";
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
    Json o = {{"schema", kEventSchemaVersion}, {"type", std::visit(TypeName{}, event)}, {"time", stamp.time}};
    if (stamp.port != 0) o["port"] = stamp.port;
    if (!stamp.label.empty()) o["label"] = stamp.label;
    std::visit([&o](const auto& e) { addFields(o, e); }, event);
    return jsonLine(o);
}

} // namespace fw
