#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fw::sim::isp {

// The stand-in ISP tool's command line, as the upgrade program builds it:
//   -c <port number> -l <driver file> -d <device> -b <bit/s> -p <scaler image>
// given as separate arguments or, as the Windows shell hands them over, as
// one text.
struct IspCommandLine {
    int port = 0;
    std::string driverFile;
    std::string device;
    uint32_t baud = 0;
    std::string imagePath;
    std::string error;  // empty when the command line is usable
};

IspCommandLine parseIspCommandLine(const std::vector<std::string>& arguments);

// Switches that make the stand-in misbehave in tests.
struct IspSwitches {
    enum class Failing { Never, Once, Always };
    Failing fail = Failing::Never;  // give up part way, with an error as the log's last line
    int failOnPort = 0;             // always fail when given this port number
    uint32_t runAtLeastMs = 0;      // end no sooner than this after the start
    bool crash = false;             // die part way, leaving a log without a result line
    bool writeNoLog = false;        // flash, but leave no log
    bool hang = false;              // never end by itself, nor the child it starts
    uint32_t logLateMs = 0;         // end at once; a child it leaves writes the log this much later
    bool stampLines = false;        // begin every log line with the time, as some builds of the tool do

    // From FWSIM_ISP_FAIL (once|always), FWSIM_ISP_FAIL_PORT, FWSIM_ISP_RUN_MS, FWSIM_ISP_CRASH=1,
    // FWSIM_ISP_NO_LOG=1, FWSIM_ISP_HANG=1 and FWSIM_ISP_LOG_LATE_MS.
    static IspSwitches fromEnvironment();
};

} // namespace fw::sim::isp
