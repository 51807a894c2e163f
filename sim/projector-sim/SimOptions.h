#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ProjectorModel.h"

namespace fw::sim {

// What projector-sim was asked to be.
struct SimOptions {
    ProjectorOptions projector;
    bool paced = false;                  // 38400 bit/s, ten bit times a byte, each way; ISP mode stays unpaced
    bool sink = false;                   // no projector: only takes in and counts bytes
    std::optional<uint64_t> closeAfterImageByte;  // cut the line by closing the pseudo-terminal
    uint32_t noiseEveryMs = 0;           // stray bytes on the line now and then
    std::string reportFile;              // what the projector was flashed with, written on exit
    std::string linkPath;                // a symbolic link to the device, for a stable name
};

struct SimOptionsResult {
    std::optional<SimOptions> options;
    std::string error;
    bool help = false;
};

SimOptionsResult parseSimOptions(const std::vector<std::string>& arguments);

extern const char* const kSimUsage;

} // namespace fw::sim
