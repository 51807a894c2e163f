#include "ground/SettingsFile.h"

#include <algorithm>
#include <vector>

#include "ground/FileHelpers.h"
#include "ground/Numbers.h"

namespace fw {

namespace {

constexpr const char* kPortNamePrefix = "COM";

} // namespace

std::string portName(std::string_view numberText) { return kPortNamePrefix + std::string(numberText); }

std::string portName(int number) { return portName(std::to_string(number)); }

int32_t ispTimeLimitFrom(std::string_view text)
{
    // A limit beyond the longest is taken as the longest; anything else that is not a limit, as none.
    const auto seconds = numberFromDigits(text, 1, kLongestIspTimeLimitSeconds, AboveRange::Highest);
    return seconds ? static_cast<int32_t>(*seconds) : kDefaultIspTimeLimitSeconds;
}

SettingsFile::SettingsFile(const std::string& programFolder)
    : file_(programFolder + kPathSeparator + kSettingsFileName)
{
}

std::string SettingsFile::read(SettingKey setting) const { return file_.read(setting.section, setting.key); }

bool SettingsFile::write(SettingKey setting, std::string_view value)
{
    return file_.write(setting.section, setting.key, value);
}

std::string SettingsFile::storedPort() const { return read(kPortSetting); }

bool SettingsFile::storePort(std::string_view listText) { return write(kPortSetting, listText); }

std::string SettingsFile::listFile() const { return read(kListFileSetting); }

bool SettingsFile::storeListFile(std::string_view path) { return write(kListFileSetting, path); }

std::string SettingsFile::portDevice(int number) const
{
    // A number typed into the dialog may lie beyond the list's 255; its line is read all the same.
    return number >= kLowestPortNumber ? file_.read(kPortsSection, portName(number)) : std::string{};
}

PortLines SettingsFile::portDevices() const
{
    std::vector<std::string> keys;
    for (int n = kLowestPortNumber; n <= kHighestPortNumber; ++n) keys.push_back(portName(n));
    const std::vector<std::string> devices = file_.read(kPortsSection, keys);
    PortLines lines;
    for (int n = kLowestPortNumber; n <= kHighestPortNumber; ++n) {
        const std::string& device = devices[static_cast<std::size_t>(n - kLowestPortNumber)];
        if (!device.empty()) lines.emplace(n, device);
    }
    return lines;
}

bool SettingsFile::storePortDevice(int number, std::string_view device)
{
    return file_.write(kPortsSection, portName(number), device);
}

int32_t SettingsFile::ispTimeLimitSeconds() const { return ispTimeLimitFrom(read(kIspTimeLimitSetting)); }

std::string SettingsFile::ispRunner() const { return read(kIspRunnerSetting); }

} // namespace fw
