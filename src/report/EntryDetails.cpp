#include "report/EntryDetails.h"

#include <cstdio>

#include "ground/Texts.h"
#include "report/BuildReport.h"
#include "report/HistoryRow.h"

namespace fw::reports {

namespace {

namespace t = texts::report;

constexpr std::size_t kClockStart = 11;  // "2024-05-01T" before "14:00:10.000Z"

void add(std::vector<Fact>& facts, const char* label, const std::string& value)
{
    if (!value.empty()) facts.push_back({label, value});
}

std::string clockOf(const std::string& iso)
{
    if (iso.size() <= kClockStart || !parseIsoUtc(iso)) return iso;
    std::string clock = iso.substr(kClockStart);
    if (!clock.empty() && clock.back() == 'Z') clock.pop_back();
    return clock;
}

std::string phaseText(const RecordedPhase& phase)
{
    std::string text = clockOf(phase.started);
    if (!phase.ended.empty()) {
        text += " to " + clockOf(phase.ended) + t::Utc;
        const auto from = parseIsoUtc(phase.started), to = parseIsoUtc(phase.ended);
        if (from && to) text += ", " + durationText(std::chrono::duration_cast<std::chrono::milliseconds>(*to - *from).count());
    } else {
        text += t::Utc;
    }
    return text + ", " + (phase.outcome.empty() ? std::string(t::PhaseUnended) : inWords(phase.outcome));
}

DetailSection outcomeSection(const RecordEntry& e, const UtcOffset& offset)
{
    DetailSection s{t::Outcome, {}};
    add(s.facts, t::Outcome, historyRowOf(e, offset).outcome);
    if (e.message) add(s.facts, t::Message, *e.message);
    return s;
}

DetailSection packageSection(const ProjectorPage& page)
{
    DetailSection s{t::Package, {}};
    add(s.facts, t::ListFile, page.listFile);
    for (const ImageLine& image : page.images) {
        add(s.facts, image.role.c_str(), image.name);
        add(s.facts, t::ImagePath, image.path);
        add(s.facts, t::ImageSize, image.size);
        add(s.facts, t::ImageByteSum, image.byteSum);
        add(s.facts, t::ImageSha256, image.sha256);
    }
    return s;
}

} // namespace

std::string visibleControls(const std::string& text)
{
    std::string shown;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\r') shown += "\\r";
        else if (c == '\n') shown += "\\n";
        else if (c == '\t') shown += "\\t";
        else if (byte < ' ' || byte == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            shown += escaped;
        } else {
            shown += c;
        }
    }
    return shown;
}

std::vector<DetailSection> detailsOf(const RecordEntry& e, const UtcOffset& localOffset)
{
    const ProjectorPage page = pageOf(e, localOffset);
    std::vector<DetailSection> sections;
    sections.push_back(outcomeSection(e, localOffset));
    DetailSection projector{t::Projector, page.projector};
    if (e.modelReply) add(projector.facts, t::ModelReply, visibleControls(*e.modelReply));
    sections.push_back(projector);
    sections.push_back(packageSection(page));
    DetailSection phases{t::Phases, {}};
    for (const RecordedPhase& phase : e.phases) phases.facts.push_back({phaseName(phase), phaseText(phase)});
    sections.push_back(phases);
    sections.push_back({t::IspRuns, page.ispRuns});
    sections.push_back({t::Service, page.service});
    std::erase_if(sections, [](const DetailSection& s) { return s.facts.empty(); });
    return sections;
}

} // namespace fw::reports
