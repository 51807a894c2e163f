#include "CliOptions.h"

#include <limits>

#include "PortPaths.h"
#include "ground/NetworkAddress.h"
#include "ground/Numbers.h"

namespace fw::cli {

const char* const kUsage =
    "usage: fwupgrade test --port N [--json] [--record FILE] [--folder DIR] [--transcript FILE]\n"
    "       fwupgrade check LIST [--json] [--folder DIR]\n"
    "       fwupgrade upgrade --port N [--port M ...] LIST [--yes] [--json] [--record FILE] [--folder DIR]\n"
    "                         [--transcript FILE]\n"
    "       fwupgrade ports [--json] [--folder DIR]\n"
    "       fwupgrade history [--last N] [--json] [--record FILE]\n"
    "\n"
    "  test      the projector communication test on port N\n"
    "  check     checks a list file and its two images\n"
    "  upgrade   checks the package, the link and the model, then upgrades the\n"
    "            projector on each port (several ports run at once)\n"
    "  ports     lists the serial devices found, each with its port number\n"
    "  history   the service record of tests and upgrades, newest first, one a line\n"
    "  --port    a number from 1 to 255, a device path such as /dev/ttyUSB0, or a\n"
    "            serial server: rfc2217://HOST:PORT (RFC 2217, the line set by\n"
    "            the program) or socket://HOST:PORT (raw TCP, the line set on the\n"
    "            server); used for this run only, settings.ini is not changed\n"
    "  --folder  program folder holding settings.ini, gf9450isp.exe and log.txt\n"
    "            (default: the program folder below)\n"
    "  --json    one JSON object a line: the events of test, check and upgrade\n"
    "            (events.md in the documentation), the ports, or the history's\n"
    "            entries as stored\n"
    "  --record  the service record file for this run (default: upgrades.jsonl in\n"
    "            the user's data folder)\n";

namespace {

constexpr uint64_t kHighestPortNumber = 255;

std::optional<int> portNumber(const std::string& text)
{
    const auto number = numberFromDigits(text, 1, kHighestPortNumber);
    if (!number) return std::nullopt;
    return static_cast<int>(*number);
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
    else return fail("unknown command: " + arguments[0]);

    std::vector<std::string> positional;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        auto value = [&](const char*) -> std::optional<std::string> {
            if (i + 1 >= arguments.size()) return std::nullopt;
            return arguments[++i];
        };
        if (a == "--port") {
            const auto text = value("--port");
            if (!text) return fail("--port needs a number");
            if (isNetworkPortName(*text) && !parseNetworkAddress(*text))
                return fail("--port " + *text + ": a serial server is written rfc2217://HOST:PORT or "
                            "socket://HOST:PORT");
            if (isDevicePath(*text)) {
                o.portPaths.push_back(*text);
                continue;
            }
            const auto n = portNumber(*text);
            if (!n) return fail("--port takes a number from 1 to 255 or a device path, not '" + *text + "'");
            o.ports.push_back(*n);
        } else if (a == "--folder") {
            const auto text = value("--folder");
            if (!text) return fail("--folder needs a folder");
            o.folder = *text;
        } else if (a == "--transcript" && (o.command == Command::Test || o.command == Command::Upgrade)) {
            // Only test and upgrade talk to a projector; elsewhere the file would stay empty.
            const auto text = value("--transcript");
            if (!text) return fail("--transcript needs a file name");
            o.transcript = *text;
        } else if (a == "--json") {
            o.json = true;
        } else if (a == "--record" && o.command != Command::Ports && o.command != Command::Check) {
            const auto text = value("--record");
            if (!text) return fail("--record needs a file name");
            o.record = *text;
        } else if (a == "--last" && o.command == Command::History) {
            const auto text = value("--last");
            const auto n = text ? count(*text) : std::nullopt;
            if (!n) return fail("--last takes a number from 1 up, not '" + text.value_or("") + "'");
            o.last = *n;
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
    const std::size_t portCount = o.ports.size() + o.portPaths.size();
    if (needsList && positional.size() != 1) return fail("give exactly one list file");
    if (!needsList && !positional.empty()) return fail("unexpected argument: " + positional[0]);
    if (needsList) o.listFile = positional[0];
    if (needsPort && portCount == 0) return fail("--port is required");
    if (!needsPort && portCount != 0) return fail(arguments[0] + " takes no --port");
    if (o.command == Command::Test && portCount > 1) return fail("test takes one --port");
    for (std::size_t i = 0; i < o.portPaths.size(); ++i)
        for (std::size_t j = i + 1; j < o.portPaths.size(); ++j)
            if (o.portPaths[i] == o.portPaths[j]) return fail("port " + o.portPaths[i] + " given twice");
    for (std::size_t i = 0; i < o.ports.size(); ++i)
        for (std::size_t j = i + 1; j < o.ports.size(); ++j)
            if (o.ports[i] == o.ports[j]) return fail("port " + std::to_string(o.ports[i]) + " given twice");
    return ParseResult{o, {}, false};
}

} // namespace fw::cli
