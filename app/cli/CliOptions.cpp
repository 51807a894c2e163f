#include "CliOptions.h"

#include <limits>

#include "ground/NetworkAddress.h"
#include "ground/Numbers.h"
#include "ground/PortForms.h"
#include "ground/VenueFile.h"

namespace fw::cli {

const char* const kUsage =
    "usage: fwupgrade test (--port N ... | --venue FILE) [--one-first] [--at-once N] [--json] [--record FILE]\n"
    "                      [--folder DIR] [--transcript FILE]\n"
    "       fwupgrade check LIST [--port N ... | --venue FILE] [--one-first] [--at-once N] [--json]\n"
    "                      [--record FILE] [--folder DIR]\n"
    "       fwupgrade upgrade (--port N ... | --venue FILE) LIST [--yes] [--one-first] [--at-once N] [--json]\n"
    "                      [--record FILE] [--folder DIR] [--transcript FILE]\n"
    "       fwupgrade ports [--json] [--folder DIR]\n"
    "       fwupgrade history [--last N] [--json] [--record FILE]\n"
    "       fwupgrade report [--record FILE] [--last N | --id ID] (--pdf FILE | --html FILE)\n"
    "\n"
    "  test      the projector communication test on each port\n"
    "  check     checks a list file and its two images; with ports, then\n"
    "            tests the link and checks the model of each projector\n"
    "  upgrade   checks the package, the link and the model, then upgrades the\n"
    "            projector on each port (several ports run at once; without\n"
    "            --yes the question is asked once, before any of them starts)\n"
    "  ports     lists the serial devices found, each with its port number\n"
    "  history   the service record of tests and upgrades, newest first, one a line\n"
    "  report    a report for the customer of the newest entry (or the newest N, or\n"
    "            the one whose id begins with ID): per projector its model, port,\n"
    "            package with SHA-256 sums, outcome and a timeline of the phases;\n"
    "            as PDF or as one HTML file\n"
        "  --port    a number from 1 to 255 (or COMn), a device path such as\n"
    "            /dev/ttyUSB0, or a serial server: rfc2217://HOST:PORT (RFC 2217,\n"
    "            the line set by the program) or socket://HOST:PORT (raw TCP, the\n"
    "            line set on the server); used for this run only, settings.ini is\n"
    "            not changed\n"
    "  --venue   a venue file: [Venue] NAME=..., and under [Projectors] one line\n"
    "            a projector, LABEL=PORT; its projectors run beside the --port\n"
    "            ones, in the order given, each line prefixed [LABEL COMn]\n"
    "  --one-first  the first projector alone; the others only once it succeeded\n"
    "  --at-once never more than N projectors at work at once (default: all)\n"
    "  --folder  program folder holding settings.ini, gf9450isp.exe and log.txt\n"
    "            (default: the program folder below)\n"
    "  --json    one JSON object a line: the events of test, check and upgrade\n"
    "            (events.md in the documentation), the ports, or the history's\n"
    "            entries as stored\n"
    "  --record  the service record file for this run (default: upgrades.jsonl in\n"
    "            the user's data folder)\n";

namespace {

// Why a --port value names no port; none when it does.
std::optional<std::string> portProblem(const std::string& text)
{
    if (isNetworkPortName(text) && !parseNetworkAddress(text))
        return "--port " + text + ": a serial server is written rfc2217://HOST:PORT or socket://HOST:PORT";
    if (portFormOf(text) == PortForm::Unknown)
        return "--port takes a number from 1 to 255 or a device path, not '" + text + "'";
    return std::nullopt;
}

// 3 and COM3 are one port; a path or server is itself.
bool sameProjectorPort(const std::string& a, const std::string& b)
{
    const auto na = portNumberOf(a);
    const auto nb = portNumberOf(b);
    if (na || nb) return na == nb;
    return a == b;
}

std::optional<std::size_t> count(const std::string& text)
{
    const auto number = numberFromDigits(text, 1, std::numeric_limits<std::size_t>::max());
    if (!number) return std::nullopt;
    return static_cast<std::size_t>(*number);
}

ParseResult fail(std::string error) { return ParseResult{std::nullopt, std::move(error), false}; }

} // namespace

ParseResult parseCommandLine(const std::vector<std::string>& arguments)
{
    if (arguments.empty()) return fail("no command given");
    if (arguments[0] == "--help" || arguments[0] == "-h") return ParseResult{std::nullopt, {}, true};

    CliOptions o;
    if (arguments[0] == "test") o.command = Command::Test;
    else if (arguments[0] == "check") o.command = Command::Check;
    else if (arguments[0] == "upgrade") o.command = Command::Upgrade;
    else if (arguments[0] == "ports") o.command = Command::Ports;
    else if (arguments[0] == "history") o.command = Command::History;
    else if (arguments[0] == "report") o.command = Command::Report;
    else return fail("unknown command: " + arguments[0]);

    const bool runsJobs = o.command == Command::Test || o.command == Command::Check || o.command == Command::Upgrade;
    std::vector<std::string> positional;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= arguments.size()) return std::nullopt;
            return arguments[++i];
        };
        if (a == "--port") {
            const auto text = value();
            if (!text) return fail("--port needs a number");
            if (const auto problem = portProblem(*text)) return fail(*problem);
            o.projectors.push_back({{}, *text});
        } else if (a == "--venue" && runsJobs) {
            const auto text = value();
            if (!text) return fail("--venue needs a file name");
            if (!o.venueFile.empty()) return fail("--venue given twice");
            o.venueFile = *text;
            o.venueAt = o.projectors.size();
        } else if (a == "--one-first" && runsJobs) {
            o.oneFirst = true;
        } else if (a == "--at-once" && runsJobs) {
            const auto text = value();
            const auto n = text ? count(*text) : std::nullopt;
            if (!n) return fail("--at-once takes a number from 1 up, not '" + text.value_or("") + "'");
            o.atOnce = *n;
        } else if (a == "--folder") {
            const auto text = value();
            if (!text) return fail("--folder needs a folder");
            o.folder = *text;
        } else if (a == "--transcript" && runsJobs) {
            const auto text = value();
            if (!text) return fail("--transcript needs a file name");
            o.transcript = *text;
        } else if (a == "--json" && o.command != Command::Report) {
            o.json = true;
        } else if (a == "--record" && o.command != Command::Ports) {
            const auto text = value();
            if (!text) return fail("--record needs a file name");
            o.record = *text;
        } else if (a == "--last" && (o.command == Command::History || o.command == Command::Report)) {
            const auto text = value();
            const auto n = text ? count(*text) : std::nullopt;
            if (!n) return fail("--last takes a number from 1 up, not '" + text.value_or("") + "'");
            o.last = *n;
        } else if ((a == "--id" || a == "--pdf" || a == "--html") && o.command == Command::Report) {
            const auto text = value();
            if (!text || text->empty()) return fail(a + (a == "--id" ? " needs an id" : " needs a file name"));
            (a == "--id" ? o.id : a == "--pdf" ? o.pdf : o.html) = *text;
        } else if (a == "--yes" || a == "-y") {
            o.assumeYes = true;
        } else if (a == "--help" || a == "-h") {
            return ParseResult{std::nullopt, {}, true};
        } else if (a.size() > 1 && a[0] == '-') {
            return fail("unknown option: " + a);
        } else {
            positional.push_back(a);
        }
    }

    const bool needsList = o.command == Command::Check || o.command == Command::Upgrade;
    const bool needsPort = o.command == Command::Test || o.command == Command::Upgrade;
    const bool projectorsGiven = !o.projectors.empty() || !o.venueFile.empty();
    if (needsList && positional.size() != 1) return fail("give exactly one list file");
    if (!needsList && !positional.empty()) return fail("unexpected argument: " + positional[0]);
    if (needsList) o.listFile = positional[0];
    if (needsPort && !projectorsGiven) return fail("--port or --venue is required");
    if (!runsJobs && !o.projectors.empty()) return fail(arguments[0] + " takes no --port");
    // A package check alone talks to no projector: no record, no transcript.
    if (o.command == Command::Check && !projectorsGiven && !o.record.empty()) return fail("unknown option: --record");
    if (o.command == Command::Check && !projectorsGiven && !o.transcript.empty())
        return fail("unknown option: --transcript");
    for (std::size_t i = 0; i < o.projectors.size(); ++i)
        for (std::size_t j = 0; j < i; ++j)
            if (sameProjectorPort(o.projectors[i].port, o.projectors[j].port))
                return fail("port " + o.projectors[i].port + " given twice");
    if (o.command == Command::Report) {
        if (o.last && !o.id.empty()) return fail("give --last or --id, not both");
        if (o.pdf.empty() == o.html.empty()) return fail("give one file to write: --pdf FILE or --html FILE");
    }
    return ParseResult{o, {}, false};
}

std::optional<std::string> takeVenue(CliOptions& options)
{
    if (options.venueFile.empty()) return std::nullopt;
    const VenueReading reading = readVenueFile(options.venueFile);
    if (!reading.venue) return options.venueFile + ": " + joinedProblems(reading.problems);
    if (reading.venue->projectors.empty()) return options.venueFile + ": no projectors under [Projectors]";
    std::vector<ProjectorArg> venueRows;
    for (const VenueProjector& p : reading.venue->projectors) {
        for (const ProjectorArg& given : options.projectors)
            if (sameProjectorPort(given.port, p.port))
                return "port " + given.port + " is given by --port and by " + options.venueFile + " (" + p.label + ")";
        venueRows.push_back({p.label, p.port});
    }
    const auto at = options.projectors.begin() + static_cast<std::ptrdiff_t>(options.venueAt);
    options.projectors.insert(at, venueRows.begin(), venueRows.end());
    options.venueName = reading.venue->name;
    return std::nullopt;
}

} // namespace fw::cli
