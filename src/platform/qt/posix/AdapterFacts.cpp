#include "qt/AdapterFacts.h"

#include <filesystem>
#include <algorithm>
#include <fstream>
#include <limits>

#include "ground/Numbers.h"

namespace fw::qt {

namespace {

namespace fs = std::filesystem;

constexpr const char* kStableNames = "/dev/serial/by-id";
constexpr const char* kUsbSerialDevices = "/sys/bus/usb-serial/devices/";
constexpr const char* kLatencyTimer = "/latency_timer";
constexpr const char* kProcesses = "/proc";
constexpr const char* kGrabbers[] = {"ModemManager", "brltty"};

fs::path resolved(const fs::path& path)
{
    std::error_code ec;
    const fs::path target = fs::canonical(path, ec);
    return ec ? fs::path() : target;
}

std::string firstLine(const fs::path& file)
{
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

} // namespace

std::string stableDeviceName(const std::string& device)
{
    const fs::path target = resolved(device);
    std::error_code ec;
    for (fs::directory_iterator link(kStableNames, ec), end; !ec && !target.empty() && link != end;
         link.increment(ec))
        if (resolved(link->path()) == target) return link->path().string();
    return {};
}

std::optional<int> latencyTimerMs(const std::string& device)
{
    const std::string text = firstLine(kUsbSerialDevices + fs::path(device).filename().string() + kLatencyTimer);
    const auto ms = fw::numberFromDigits(text, 0, std::numeric_limits<int>::max());
    if (!ms) return std::nullopt;
    return static_cast<int>(*ms);
}

fw::PortGrabbers portGrabbersRunning()
{
    fw::PortGrabbers running;
    std::error_code ec;
    for (fs::directory_iterator entry(kProcesses, ec), end; !ec && entry != end; entry.increment(ec)) {
        const std::string name = firstLine(entry->path() / "comm");
        for (const char* grabber : kGrabbers)
            if (name == grabber && std::find(running.begin(), running.end(), name) == running.end())
                running.push_back(name);
    }
    return running;
}

} // namespace fw::qt
