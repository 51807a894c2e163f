#include "report/BuildReport.h"

#include <cstdio>

#include "ground/SettingsFile.h"
#include "ground/Texts.h"
#include "report/Timeline.h"

namespace fw::reports {

namespace {

namespace t = texts::report;

void addFact(std::vector<Fact>& facts, const char* label, const std::string& value)
{
    if (!value.empty()) facts.push_back({label, value});
}

std::string hex(uint64_t value)
{
    char text[24];
    std::snprintf(text, sizeof text, "%llX", static_cast<unsigned long long>(value));
    return text;
}

std::string portText(const RecordedPort& port)
{
    std::string text = port.number ? portName(*port.number) : std::string();
    // On Windows the device is the port's own name.
    if (port.device.empty() || port.device == text) return text;
    return text.empty() ? port.device : text + " (" + port.device + ")";
}

std::string adapterText(const RecordedPort& port)
{
    if (port.usbId.empty()) return {};
    return port.serialNumber.empty() ? port.usbId : port.usbId + t::AdapterSerial + port.serialNumber;
}

std::string modelText(const RecordEntry& e)
{
    return e.modelName();
}

std::vector<Fact> projectorFacts(const RecordEntry& e)
{
    std::vector<Fact> facts;
    addFact(facts, t::Label, e.label);
    addFact(facts, t::Venue, e.venue);
    addFact(facts, t::Model, modelText(e));
    addFact(facts, t::ModelNumber, e.modelNumber);
    if (e.port) {
        addFact(facts, t::Port, portText(*e.port));
        addFact(facts, t::UsbAdapter, adapterText(*e.port));
    }
    return facts;
}

ImageLine imageLine(const RecordedImage& image)
{
    const char* role = image.role == "up" ? t::UpImage : image.role == "scaler" ? t::ScalerImage : nullptr;
    return {role ? role : image.role,
            image.name,
            image.path,
            image.size ? std::to_string(*image.size) : std::string(),
            image.byteSum ? hex(*image.byteSum) : std::string(),
            image.sha256};
}

std::string ispRunText(const RecordedIspRun& run)
{
    std::string text = run.timedOut ? t::IspTimedOut : run.exitCode ? t::IspExit + std::to_string(*run.exitCode)
                                                                    : std::string(t::IspNoExit);
    text += ", ";
    text += run.logLine ? t::IspLogLine + *run.logLine : std::string(t::IspNoLog);
    return text;
}

std::string timeText(const std::string& iso, const UtcOffset& offset)
{
    const auto when = parseIsoUtc(iso);
    if (!when) return iso;
    return utcText(*when) + "; " + localText(*when, offset);
}

std::vector<Fact> serviceFacts(const RecordEntry& e, const UtcOffset& offset)
{
    std::vector<Fact> facts;
    addFact(facts, t::Technician, e.user);
    addFact(facts, t::Computer, e.host);
    addFact(facts, t::Program, e.version.empty() ? e.program : e.program + " " + e.version);
    addFact(facts, t::RecordId, e.id);
    addFact(facts, t::Started, timeText(e.started, offset));
    addFact(facts, t::Ended, timeText(e.ended, offset));
    if (e.durationMs) addFact(facts, t::Duration, durationText(*e.durationMs));
    return facts;
}

// A box that tells success opens with its outcome: "Download complete."
// in large type, what the technician must do next below it.
void splitFirstSentence(const std::string& message, std::string& first, std::string& rest)
{
    const auto stop = message.find(". ");
    if (stop == std::string::npos) {
        first = message;
        rest.clear();
    } else {
        first = message.substr(0, stop);
        rest = message.substr(stop + 2);
    }
    if (first.size() > 1 && first.back() == '.') first.pop_back();
}

void setOutcome(const RecordEntry& e, ProjectorPage& page)
{
    switch (page.verdict) {
    case Verdict::Unfinished:
        page.outcome = t::Unfinished;
        page.outcomeNote = t::UnfinishedNote;
        return;
    case Verdict::Declined:
        page.outcome = t::Declined;
        page.outcomeNote = t::DeclinedNote;
        return;
    case Verdict::Succeeded:
        if (e.message) splitFirstSentence(*e.message, page.outcome, page.outcomeNote);
        else page.outcome = t::Succeeded;
        return;
    case Verdict::Failed:
        page.outcome = e.message ? *e.message : std::string(t::Failed);
        if (!e.reason.empty()) page.outcomeNote = t::FailedBecause + inWords(e.reason);
        return;
    }
}

// The projector by its label or model, and its port (the device is among the facts).
std::string subjectOf(const RecordEntry& e)
{
    std::string where;
    if (e.port) where = e.port->number ? portName(*e.port->number) : e.port->device;
    std::string subject = e.label.empty() ? modelText(e) : e.label;
    if (subject.empty()) return where;
    return where.empty() ? subject : subject + " — " + where;
}

std::string countsText(const std::vector<ProjectorPage>& pages)
{
    int succeeded = 0, failed = 0, declined = 0, unfinished = 0;
    for (const ProjectorPage& page : pages) {
        switch (page.verdict) {
        case Verdict::Succeeded: ++succeeded; break;
        case Verdict::Failed: ++failed; break;
        case Verdict::Declined: ++declined; break;
        case Verdict::Unfinished: ++unfinished; break;
        }
    }
    std::string text = std::to_string(pages.size()) + t::Operations;
    bool first = true;
    const auto add = [&](int count, const char* what) {
        if (count == 0) return;
        text += (first ? "" : ", ") + std::to_string(count) + what;
        first = false;
    };
    add(succeeded, t::CountSucceeded);
    add(failed, t::CountFailed);
    add(declined, t::CountDeclined);
    add(unfinished, t::CountUnfinished);
    return text;
}

std::string fileName(const std::string& path)
{
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

SummaryRow summaryRow(const RecordEntry& e, const ProjectorPage& page, const UtcOffset& offset)
{
    const auto started = parseIsoUtc(e.started);
    std::string projector = e.label;
    if (e.port && e.port->number) projector += (projector.empty() ? "" : ", ") + portName(*e.port->number);
    return {started ? localShortText(*started, offset) : e.started, projector, modelText(e), fileName(e.listFile),
            page.outcome, page.verdict};
}

} // namespace

Verdict verdictOf(const RecordEntry& entry)
{
    if (!entry.finished()) return Verdict::Unfinished;
    if (entry.outcome == "succeeded") return Verdict::Succeeded;
    if (entry.outcome == "declined") return Verdict::Declined;
    return Verdict::Failed;
}

ProjectorPage pageOf(const RecordEntry& e, const UtcOffset& localOffset)
{
    ProjectorPage page;
    page.heading = e.operation == "test" ? t::Test : e.operation == "upgrade" ? t::Upgrade : inWords(e.operation);
    page.subject = subjectOf(e);
    page.verdict = verdictOf(e);
    setOutcome(e, page);
    page.projector = projectorFacts(e);
    page.listFile = e.listFile;
    for (const RecordedImage& image : e.images) page.images.push_back(imageLine(image));
    page.timeline = timelineOf(e);
    for (const RecordedIspRun& run : e.ispRuns) page.ispRuns.push_back({t::IspRun + std::to_string(run.run), ispRunText(run)});
    page.service = serviceFacts(e, localOffset);
    return page;
}

Report buildReport(const std::vector<RecordEntry>& entries, const UtcOffset& localOffset)
{
    Report report;
    report.title = t::Title;
    for (const RecordEntry& e : entries) report.pages.push_back(pageOf(e, localOffset));
    if (report.hasSummary()) {
        for (std::size_t i = 0; i < entries.size(); ++i)
            report.summary.push_back(summaryRow(entries[i], report.pages[i], localOffset));
    }
    report.counts = countsText(report.pages);
    return report;
}

} // namespace fw::reports
