#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace fw::cli {

enum class Command { Test, Check, Upgrade, Ports, History, Report };

struct CliOptions {
    Command command = Command::Test;
    std::vector<int> ports;         // one projector per port
    std::string listFile;           // check and upgrade
    bool assumeYes = false;         // answer the confirmation without asking
    std::string folder;             // program folder; empty: the executable's
    std::string transcript;         // file for every byte sent and received
    bool json = false;              // one JSON object a line instead of lines for a person
    std::string record;             // the service record for this run; empty: the user's own
    std::size_t last = 0;           // history, report: the newest this many; 0 for all (report: the newest)
    std::string id;                 // report: the entry whose id begins so
    std::string pdf, html;          // report: the file to write, one of the two
    std::vector<std::string> portPaths;   // --port given as a device path, for this run only
    std::map<int, std::string> pathOfPort;  // the numbers those paths run under (PortPaths.h)
};

struct ParseResult {
    std::optional<CliOptions> options;
    std::string error;  // one line, when options is empty
    bool help = false;
};

ParseResult parseCommandLine(const std::vector<std::string>& arguments);

extern const char* const kUsage;

} // namespace fw::cli
