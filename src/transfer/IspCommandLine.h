#pragma once

#include <string>
#include <vector>

namespace fw {

// The chip vendor's ISP tool and its driver file, both in the program folder.
inline constexpr const char* kIspToolName = "gf9450isp.exe";
inline constexpr const char* kIspDriverName = "GF9450_CFI_DRIVER.BIN";
inline constexpr const char* kIspDeviceOption = "7";
inline constexpr const char* kIspBaudRate = "115200";

// Where the technician must put the tool: "gf9450isp.exe is expected in
// FOLDER." with the program folder's full path.
std::string ispToolExpectedIn(const std::string& programFolder);

// The tool's options as one text, the way the Windows shell hands them over:
// "-c 3 -l GF9450_CFI_DRIVER.BIN -d 7 -b 115200 -p C:\FW\SCALER.BIN".
std::string ispParameterText(int portNumber, const std::string& imagePath);

// The same items one by one, for a start without a shell.
std::vector<std::string> ispArgumentList(int portNumber, const std::string& imagePath);

// The port the tool is told to open: the number after "-c", in either form
// above; 0 when there is none.
int ispPortOf(const std::vector<std::string>& arguments);

// What this platform's process start takes: the one text on Windows, the
// separate items elsewhere.
std::vector<std::string> ispArguments(int portNumber, const std::string& imagePath);

// The scaler image as the tool must be given it: absolute (a relative name
// resolves against the folder the list-file check resolved it against), then
// in its short form. Empty when no existing file can be named, so the tool
// is never run with nothing after "-p".
std::string ispImageArgument(const std::string& scalerImagePath, const std::string& workingDirectory);

} // namespace fw
