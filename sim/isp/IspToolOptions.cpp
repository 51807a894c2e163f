#include "IspToolOptions.h"

#include <charconv>
#include <cstdlib>
#include <sstream>
#include <string_view>

namespace fw::sim::isp {

namespace {

// One text with blanks between the items is split like a command line.
std::vector<std::string> items(const std::vector<std::string>& arguments)
{
    if (arguments.size() != 1) return arguments;
    std::vector<std::string> split;
    std::istringstream text(arguments.front());
    for (std::string item; text >> item;) split.push_back(item);
    return split;
}

bool toNumber(const std::string& text, long& value)
{
    const char* const end = text.data() + text.size();
    const auto read = std::from_chars(text.data(), end, value);
    return read.ec == std::errc() && read.ptr == end;
}

const char* environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace

IspCommandLine parseIspCommandLine(const std::vector<std::string>& arguments)
{
    IspCommandLine line;
    const auto all = items(arguments);
    for (std::size_t i = 0; i < all.size(); ++i) {
        const std::string& option = all[i];
        const bool hasValue = i + 1 < all.size();
        const std::string value = hasValue ? all[i + 1] : std::string{};
        long number = 0;
        if (option == "-c" && toNumber(value, number)) line.port = static_cast<int>(number);
        else if (option == "-l" && hasValue) line.driverFile = value;
        else if (option == "-d" && hasValue) line.device = value;
        else if (option == "-b" && toNumber(value, number)) line.baud = static_cast<uint32_t>(number);
        else if (option == "-p" && hasValue) line.imagePath = value;
        else {
            line.error = "Error: bad option " + option;
            return line;
        }
        ++i;
    }
    if (line.port <= 0) line.error = "Error: no port given (-c)";
    else if (line.driverFile.empty()) line.error = "Error: no driver file given (-l)";
    else if (line.baud == 0) line.error = "Error: no baud rate given (-b)";
    else if (line.imagePath.empty()) line.error = "Error: no image given (-p)";
    return line;
}

IspSwitches IspSwitches::fromEnvironment()
{
    IspSwitches switches;
    const std::string_view fail = environment("FWSIM_ISP_FAIL");
    if (fail == "once") switches.fail = Failing::Once;
    else if (fail == "always") switches.fail = Failing::Always;
    long failPort = 0;
    if (toNumber(environment("FWSIM_ISP_FAIL_PORT"), failPort)) switches.failOnPort = static_cast<int>(failPort);
    long runMs = 0;
    if (toNumber(environment("FWSIM_ISP_RUN_MS"), runMs) && runMs > 0) switches.runAtLeastMs = static_cast<uint32_t>(runMs);
    switches.crash = std::string_view(environment("FWSIM_ISP_CRASH")) == "1";
    switches.writeNoLog = std::string_view(environment("FWSIM_ISP_NO_LOG")) == "1";
    switches.hang = std::string_view(environment("FWSIM_ISP_HANG")) == "1";
    long lateMs = 0;
    if (toNumber(environment("FWSIM_ISP_LOG_LATE_MS"), lateMs) && lateMs > 0)
        switches.logLateMs = static_cast<uint32_t>(lateMs);
    return switches;
}

} // namespace fw::sim::isp
