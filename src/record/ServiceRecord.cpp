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

Json orNull(const std::optional<std::string>& text) { return text ? Json(*text) : Json(nullptr); }

Json imageJson(const char* role, const ImageFile& image)
{
    Json o = {{"role", role}, {"name", image.name}, {"path", image.path}};
    if (const auto digest = digestImage(image.path)) {
        o["size"] = digest->size;
        o["byte_sum"] = digest->byteSum;
        o["sha256"] = digest->sha256;
    } else {
        // gone or unreadable since the check: what the check measured, no digest
        o["size"] = image.size;
        o["byte_sum"] = nullptr;
        o["sha256"] = nullptr;
    }
    return o;
}

Json phaseJson(const PhaseNote& p)
{
    Json o = {{"phase", nameOf(p.phase)}};
    if (p.phase == Phase::IspToolRun) o["run"] = p.run;
    o["started"] = p.started;
    o["ended"] = p.ended.empty() ? Json(nullptr) : Json(p.ended);
    o["outcome"] = p.outcome ? Json(nameOf(*p.outcome)) : Json(nullptr);
    return o;
}

Json ispRunJson(const IspToolEnded& run)
{
    return {{"run", run.run},
            {"timed_out", run.timedOut},
            {"exit_code", run.exitCode ? Json(*run.exitCode) : Json(nullptr)},
            {"log_line", orNull(run.logLine)}};
}

Json nullWhenEmpty(const std::string& text) { return text.empty() ? Json(nullptr) : Json(text); }

} // namespace

struct ServiceRecord::Entry {
    std::string id;
    Operation operation;
    WallClock::time_point startedAt;
    std::string started;
    Json port;
    std::optional<std::string> listFile;
    Json images = Json::array();
    std::vector<PhaseNote> phases;
    Json ispRuns = Json::array();
    std::optional<std::string> message;  // the last box shown, not a question

    std::string line(const RecordSetup& setup, const std::optional<ModelReplied>& model,
                     const OperationEnded* end, WallClock::time_point now) const
    {
        Json o = {{"record", kRecordVersion}, {"id", id}, {"state", end ? "ended" : "started"},
                  {"operation", nameOf(operation)}, {"started", started}};
        if (end) {
            const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(now - startedAt).count();
            o["ended"] = isoUtc(now);
            o["duration_ms"] = static_cast<int64_t>(took);
        }
        o["program"] = setup.program;
        o["version"] = texts::ProgramVersion;
        o["host"] = setup.host;
        o["user"] = setup.user;
        o["port"] = port;
        // A venue's projector only: every other entry keeps the bytes it has had.
        if (!setup.label.empty()) o["label"] = setup.label;
        if (!setup.venue.empty()) o["venue"] = setup.venue;
        o["list_file"] = orNull(listFile);
        o["images"] = images;
        // The reply as received, and the model as the technician knows it.
        o["model_reply"] = model ? Json(model->reply) : Json(nullptr);
        o["model"] = model ? nullWhenEmpty(model->model) : Json(nullptr);
        o["model_number"] = model ? nullWhenEmpty(model->modelNumber) : Json(nullptr);
        Json& phaseNotes = o["phases"] = Json::array();
        for (const PhaseNote& p : phases) phaseNotes.push_back(phaseJson(p));
        o["isp_runs"] = ispRuns;
        if (end) {
            o["outcome"] = outcomeName(end->reason);
            o["reason"] = nameOf(end->reason);
            o["message"] = orNull(message);
        }
        return jsonLine(o);
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
    if (const auto* reply = std::get_if<ModelReplied>(&event)) model_ = *reply;
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
    entry->port = {{"number", started.port},
                   {"device", facts.device},
                   {"usb_id", nullWhenEmpty(facts.usbId)},
                   {"serial_number", nullWhenEmpty(facts.serialNumber)}};
    if (started.operation == Operation::Upgrade && package_) {
        entry->listFile = package_->listFile;
        if (package_->up) entry->images.push_back(imageJson("up", *package_->up));
        if (package_->scaler) entry->images.push_back(imageJson("scaler", *package_->scaler));
    }
    entry_ = std::move(entry);
    warned_ = false;
    write(entry_->line(setup_, model_, nullptr, entry_->startedAt));
}

void ServiceRecord::end(const OperationEnded& ended)
{
    write(entry_->line(setup_, model_, &ended, setup_.now()));
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
