#include "ground/VenueFile.h"

#include <filesystem>
#include <system_error>

#include "ground/FilePath.h"
#include "ground/PortForms.h"
#include "ground/ProfileFile.h"
#include "ground/Texts.h"

namespace fw {

namespace {

// A projector with where it stands: a line of the file, or a row.
struct Placed {
    std::size_t at;
    std::string label;
    std::string port;
};

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameLabel(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    return true;
}

// COM3, com3 and 3 are one port.
std::string samePortKey(const std::string& port)
{
    const auto number = portNumberOf(port);
    return number ? portName(*number) : port;
}

bool writableLabel(std::string_view label)
{
    return !label.empty() && label.find_first_of("=\r\n") == std::string_view::npos && label.front() != ' ' &&
           label.back() != ' ' && label.front() != '\t' && label.back() != '\t' && label.front() != '[' &&
           label.front() != ';' && label.front() != '#';
}

std::string quoted(const char* before, const std::string& text, const char* after) { return before + text + after; }

// Every problem of the projectors, each after its place ("line 4: ").
std::vector<std::string> problemsOf(const std::vector<Placed>& placed, const char* place, bool labelsAsWritten)
{
    std::vector<std::string> problems;
    for (std::size_t i = 0; i < placed.size(); ++i) {
        const Placed& p = placed[i];
        const std::string where = place + std::to_string(p.at) + ": ";
        if (p.label.empty()) problems.push_back(where + texts::VenueNoLabel);
        else if (labelsAsWritten && !writableLabel(p.label))
            problems.push_back(where + quoted(texts::VenueLabelIs, p.label, texts::VenueLabelUnwritable));
        if (p.port.empty()) problems.push_back(where + texts::VenueNoPort);
        else if (portFormOf(p.port) == PortForm::Unknown)
            problems.push_back(where + quoted(texts::VenuePortIs, p.port, texts::VenueNotAPort));
        for (std::size_t j = 0; j < i; ++j) {
            const Placed& earlier = placed[j];
            if (!p.label.empty() && sameLabel(p.label, earlier.label))
                problems.push_back(where + quoted(texts::VenueLabelIs, earlier.label, texts::VenuePortTwice) +
                                   std::to_string(earlier.at) + texts::VenueAlready);
            if (!p.port.empty() && samePortKey(p.port) == samePortKey(earlier.port))
                problems.push_back(where + quoted(texts::VenuePortIs, earlier.port, texts::VenuePortTwice) +
                                   std::to_string(earlier.at) + texts::VenueAlready);
        }
    }
    return problems;
}

} // namespace

VenueReading readVenueText(std::string_view content)
{
    VenueReading reading;
    std::vector<Placed> placed;
    for (const ProfileLine& line : profileSectionLines(content, kProjectorsSection)) {
        if (!line.isKey) {
            reading.problems.push_back(texts::VenueLine + std::to_string(line.number) + ": " + texts::VenueNoEquals);
            continue;
        }
        placed.push_back({line.number, fromStoredText(line.name), fromStoredText(line.value)});
    }
    std::vector<std::string> more = problemsOf(placed, texts::VenueLine, false);
    reading.problems.insert(reading.problems.end(), more.begin(), more.end());
    if (!reading.problems.empty()) return reading;
    Venue venue;
    venue.name = fromStoredText(profileValue(content, kVenueNameSetting.section, kVenueNameSetting.key));
    for (Placed& p : placed) venue.projectors.push_back({std::move(p.label), std::move(p.port)});
    reading.venue = std::move(venue);
    return reading;
}

VenueReading readVenueFile(const std::string& path)
{
    const auto content = readProfileText(path);
    if (!content) return {std::nullopt, {texts::VenueUnreadable}};
    return readVenueText(*content);
}

std::vector<std::string> venueProblems(const Venue& venue)
{
    std::vector<Placed> placed;
    for (std::size_t i = 0; i < venue.projectors.size(); ++i)
        placed.push_back({i + 1, venue.projectors[i].label, venue.projectors[i].port});
    return problemsOf(placed, texts::VenueRow, true);
}

std::optional<std::string> venueText(std::string_view existing, const Venue& venue)
{
    if (!venueProblems(venue).empty()) return std::nullopt;
    std::string content(existing);
    const bool named = !profileValue(content, kVenueNameSetting.section, kVenueNameSetting.key).empty();
    if (!venue.name.empty() || named) {
        const auto withName = withProfileValue(content, kVenueNameSetting.section, kVenueNameSetting.key,
                                               toStoredText(venue.name));
        if (!withName) return std::nullopt;
        content = *withName;
    }
    ProfileKeys keys;
    for (const VenueProjector& p : venue.projectors) keys.emplace_back(toStoredText(p.label), toStoredText(p.port));
    return withProfileSection(content, kProjectorsSection, keys);
}

std::string writeVenueFile(const std::string& path, const Venue& venue)
{
    if (const auto problems = venueProblems(venue); !problems.empty()) return joinedProblems(problems);
    std::error_code ec;
    std::string existing;
    if (std::filesystem::exists(filePath(path), ec) || ec) {
        const auto content = readProfileText(path);
        if (!content) return texts::VenueUnreadable;
        const VenueReading old = readVenueText(*content);
        if (!old.venue) return texts::VenueNotOverwritten + joinedProblems(old.problems);
        existing = *content;
    }
    const auto text = venueText(existing, venue);
    if (!text) return texts::VenueNotWritten;
    if (!writeProfileText(path, *text)) return texts::VenueNotWritten;
    return {};
}

std::string joinedProblems(const std::vector<std::string>& problems)
{
    std::string joined;
    for (const std::string& problem : problems) joined += (joined.empty() ? "" : "; ") + problem;
    return joined;
}

} // namespace fw
