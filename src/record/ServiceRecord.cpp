#include "record/ServiceRecord.h"

#include <cstdio>
#include <random>

#include "ground/DurableAppend.h"
#include "ground/Json.h"
#include "ground/Texts.h"
#include "package/ImageDigest.h"
#include "record/EventJson.h"

namespace fw {

namespace {

struct PhaseNote {
    Phase phase;
    int run;
    std::string started;
    std::string ended;
    std::optional<PhaseOutcome> outcome;
};

// Two operations in one file, from two copies of the program in the same
// millisecond, must not share an id: 64 random bits.
std::string newId()
{
    std::random_device random;
    char text[20];
    std::snprintf(text, sizeof text, "%08x%08x", static_cast<unsigned>(random()), static_cast<unsigned>(random()));
    return text;
}

std::string orNull(const std::optional<std::string>& text) { return text ? jsonString(*text) : "null"; }

std::string imageJson(const char* role, const ImageFile& image)
{
    JsonObject o;
    o.add("role", role).add("name", image.name).add("path", image.path);
    if (const auto digest = digestImage(image.path)) {
        o.add("size", digest->size).add("byte_sum", digest->byteSum).add("sha256", digest->sha256);
    } else {
        // gone or unreadable since the check: what the check measured, no digest
        o.add("size", image.size).addNull("byte_sum").addNull("sha256");
    }
    return o.str();
}

std::string phaseJson(const PhaseNote& p)
{
    JsonObject o;
    o.add("phase", nameOf(p.phase));
    if (p.phase == Phase::IspToolRun) o.add("run", p.run);
    o.add("started", p.started).addJson("ended", p.ended.empty() ? "null" : jsonString(p.ended));
    o.addJson("outcome", p.outcome ? jsonString(nameOf(*p.outcome)) : "null");
    return o.str();
}

std::string ispRunJson(const IspToolEnded& run)
{
    return JsonObject()
        .add("run", run.run)
        .add("timed_out", run.timedOut)
        .addJson("exit_code", run.exitCode ? std::to_string(*run.exitCode) : "null")
        .addJson("log_line", orNull(run.logLine))
        .str();
}

} // namespace

struct ServiceRecord::Entry {
    std::string id;
    Operation operation;
    WallClock::time_point startedAt;
    std::string started;
    std::string portJson;
    std::optional<std::string> listFile;
    std::vector<std::string> images;
    std::vector<PhaseNote> phases;
    std::vector<std::string> ispRuns;
    std::optional<std::string> message;  // the last box shown, not a question

    std::string line(const RecordSetup& setup, const std::optional<std::string>& modelReply,
                     const OperationEnded* end, WallClock::time_point now) const
    {
        JsonObject o;
        o.add("record", kRecordVersion).add("id", id).add("state", end ? "ended" : "started");
        o.add("operation", nameOf(operation)).add("started", started);
        if (end) {
            const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(now - startedAt).count();
            o.add("ended", isoUtc(now)).add("duration_ms", static_cast<int64_t>(took));
        }
        o.add("program", setup.program).add("version", texts::ProgramVersion).add("host", setup.host);
        o.add("user", setup.user).addJson("port", portJson).addJson("list_file", orNull(listFile));
        o.addJson("images", jsonArray(images)).addJson("model_reply", orNull(modelReply));
        std::vector<std::string> phaseLines;
        for (const PhaseNote& p : phases) phaseLines.push_back(phaseJson(p));
        o.addJson("phases", jsonArray(phaseLines)).addJson("isp_runs", jsonArray(ispRuns));
        if (end) {
            o.add("outcome", outcomeName(end->reason)).add("reason", nameOf(end->reason));
            o.addJson("message", orNull(message));
        }
        return o.str();
    }
};

ServiceRecord::ServiceRecord(RecordSetup setup) : setup_(std::move(setup)) {}

void ServiceRecord::tell(const Event& event)
{
    // Whatever goes wrong here is the record's own trouble: the operation
    // it notes goes on.
    try {
        take(event);
    } catch (const std::exception& e) {
        if (setup_.warn) setup_.warn(std::string("the service record failed: ") + e.what());
    }
}

void ServiceRecord::take(const Event& event)
{
    if (const auto* started = std::get_if<OperationStarted>(&event)) return start(*started);
    if (const auto* package = std::get_if<PackageChecked>(&event)) package_ = *package;
    if (const auto* reply = std::get_if<ModelReplied>(&event)) modelReply_ = reply->reply;
    if (!entry_) return;
    if (const auto* ended = std::get_if<OperationEnded>(&event)) return end(*ended);
    if (const auto* phase = std::get_if<PhaseStarted>(&event))
        entry_->phases.push_back({phase->phase, phase->run, isoUtc(setup_.now()), {}, std::nullopt});
    if (const auto* phase = std::get_if<PhaseEnded>(&event)) endPhase(*phase);
    if (const auto* run = std::get_if<IspToolEnded>(&event)) entry_->ispRuns.push_back(ispRunJson(*run));
    if (const auto* message = std::get_if<MessageShown>(&event)) {
        if (message->kind == MessageKind::Error || message->kind == MessageKind::Information)
            entry_->message = message->text;
    }
}

void ServiceRecord::endPhase(const PhaseEnded& ended)
{
    for (auto p = entry_->phases.rbegin(); p != entry_->phases.rend(); ++p) {
        if (p->phase != ended.phase || p->run != ended.run || p->outcome) continue;
        p->ended = isoUtc(setup_.now());
        p->outcome = ended.outcome;
        return;
    }
}

void ServiceRecord::start(const OperationStarted& started)
{
    if (started.operation == Operation::Check) return;  // nothing reaches a projector
    auto entry = std::make_shared<Entry>();
    entry->id = newId();
    entry->operation = started.operation;
    entry->startedAt = setup_.now();
    entry->started = isoUtc(entry->startedAt);
    const PortFacts facts = setup_.portFacts ? setup_.portFacts(started.port) : PortFacts{};
    JsonObject port;
    port.add("number", started.port).add("device", facts.device);
    port.addJson("usb_id", facts.usbId.empty() ? "null" : jsonString(facts.usbId));
    port.addJson("serial_number", facts.serialNumber.empty() ? "null" : jsonString(facts.serialNumber));
    entry->portJson = port.str();
    if (started.operation == Operation::Upgrade && package_) {
        entry->listFile = package_->listFile;
        if (package_->up) entry->images.push_back(imageJson("up", *package_->up));
        if (package_->scaler) entry->images.push_back(imageJson("scaler", *package_->scaler));
    }
    entry_ = std::move(entry);
    warned_ = false;
    write(entry_->line(setup_, modelReply_, nullptr, entry_->startedAt));
}

void ServiceRecord::end(const OperationEnded& ended)
{
    write(entry_->line(setup_, modelReply_, &ended, setup_.now()));
    entry_.reset();
}

void ServiceRecord::write(const std::string& line)
{
    const auto failure = appendLineDurably(setup_.path, line);
    if (!failure || warned_) return;
    warned_ = true;
    if (setup_.warn) setup_.warn("cannot write the service record " + setup_.path + ": " + *failure);
}

} // namespace fw
