#include "ground/SettingsFile.h"

#include <algorithm>
#include <charconv>
#include <vector>

#include "ground/FileHelpers.h"

namespace fw {

namespace {

constexpr const char* kPortNamePrefix = "COM";

} // namespace

std::string portName(std::string_view numberText) { return kPortNamePrefix + std::string(numberText); }

std::string portName(int number) { return portName(std::to_string(number)); }

int32_t ispTimeLimitFrom(std::string_view text)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos)
        return kDefaultIspTimeLimitSeconds;
    uint64_t seconds = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (error == std::errc::result_out_of_range) return kLongestIspTimeLimitSeconds;
    if (error != std::errc() || end != text.data() + text.size() || seconds == 0) return kDefaultIspTimeLimitSeconds;
    return static_cast<int32_t>(std::min<uint64_t>(seconds, kLongestIspTimeLimitSeconds));
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
