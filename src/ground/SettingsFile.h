#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "ground/ProfileFile.h"

namespace fw {

// settings.ini, in the program folder: its name, every section and key, their
// defaults and ranges. Files that older copies wrote read the same here, and a
// write changes its own key and keeps every other byte (ProfileFile).
inline constexpr const char* kSettingsFileName = "settings.ini";

struct SettingKey {
    const char* section;
    const char* key;
};

// The port dialog's list text at the last OK that opened the port; a missing
// or empty key leaves the port's number as it is.
inline constexpr SettingKey kPortSetting{"RS232Set", "COM"};
// The list file last chosen; may be empty.
inline constexpr SettingKey kListFileSetting{"PATH", "FILE"};
// The device behind each port number on Linux and macOS, one key a number:
// COM2=/dev/ttyUSB0 (the key is the port's name).
inline constexpr const char* kPortsSection = "Ports";
// How long one run of the ISP tool may take, whole seconds.
inline constexpr SettingKey kIspTimeLimitSetting{"ISP", "TIMELIMIT"};
// The program that runs a Windows build of the ISP tool; wine when missing.
inline constexpr SettingKey kIspRunnerSetting{"ISP", "RUNNER"};

// Port numbers the dialog offers and [Ports] may map.
inline constexpr int kLowestPortNumber = 1;
inline constexpr int kHighestPortNumber = 255;

inline constexpr int32_t kDefaultIspTimeLimitSeconds = 1200;
// A week: anything longer is surely a slip of the keyboard.
inline constexpr int32_t kLongestIspTimeLimitSeconds = 7 * 24 * 3600;

// Port n by its name, "COM" and the number: what the technician reads, the
// key of its [Ports] line, and the device itself on Windows. The text form
// names a port as the dialog's list text gives it.
std::string portName(int number);
std::string portName(std::string_view numberText);

// [Ports]: number to device.
using PortLines = std::map<int, std::string>;

// The time limit a TIMELIMIT text gives: the default for a missing value, 0,
// or anything that is not a whole number of seconds; at most a week.
int32_t ispTimeLimitFrom(std::string_view text);

// Typed reads and writes of one program folder's settings.ini. A missing file,
// section or key reads as empty (or the default); writes create what they need
// and say whether the file was written.
class SettingsFile {
public:
    explicit SettingsFile(const std::string& programFolder);

    // The folder's path and the file's name, joined as they always have been.
    const std::string& path() const { return file_.path(); }

    std::string storedPort() const;
    bool storePort(std::string_view listText);

    std::string listFile() const;
    bool storeListFile(std::string_view path);

    // The device [Ports] gives port n; empty when none (or n below 1).
    std::string portDevice(int number) const;
    // Every [Ports] line from COM1 to COM255 that has a value.
    PortLines portDevices() const;
    bool storePortDevice(int number, std::string_view device);

    int32_t ispTimeLimitSeconds() const;
    std::string ispRunner() const;

private:
    std::string read(SettingKey setting) const;
    bool write(SettingKey setting, std::string_view value);

    ProfileFile file_;
};

} // namespace fw
