#pragma once

#include <optional>
#include <string>
#include <vector>

namespace fw::cli {

enum class Command { Test, Check, Upgrade, Ports, History, Report };

// One projector of the run: a --port, or a line of the venue file.
struct ProjectorArg {
    std::string label;  // the venue file's; empty for --port
    std::string port;   // as written: 3, COM3, /dev/ttyUSB0, rfc2217://host:port
    bool operator==(const ProjectorArg&) const = default;
};

struct CliOptions {
    Command command = Command::Test;
    // The projectors, in the order given: the --port values, and once the
    // venue file is read its projectors where --venue stood among them.
    std::vector<ProjectorArg> projectors;
    std::string venueFile;          // --venue
    std::size_t venueAt = 0;        // how many --port values came before it
    std::string venueName;          // the venue file's NAME, once read
    bool oneFirst = false;          // the first projector alone, the rest only once it succeeded
    std::size_t atOnce = 0;         // never more projectors at work at once; 0 for all
    std::string listFile;           // check and upgrade
    bool assumeYes = false;         // answer the confirmation without asking
    std::string folder;             // program folder; empty: the executable's
    std::string transcript;         // file for every byte sent and received
    bool json = false;              // one JSON object a line instead of lines for a person
    std::string record;             // the service record for this run; empty: the user's own
    std::size_t last = 0;           // history, report: the newest this many; 0 for all (report: the newest)
    std::string id;                 // report: the entry whose id begins so
    std::string pdf, html;          // report: the file to write, one of the two
};

struct ParseResult {
    std::optional<CliOptions> options;
    std::string error;  // one line, when options is empty
    bool help = false;
};

ParseResult parseCommandLine(const std::vector<std::string>& arguments);

// Puts the venue file's projectors among the --port ones, where --venue
// stood. The reason when the file cannot be used, or names a port that
// --port names as well.
std::optional<std::string> takeVenue(CliOptions& options);

extern const char* const kUsage;

} // namespace fw::cli
