#pragma once

#include <functional>
#include <string>

#include "qt/VenueWindow.h"

namespace fw::qt {

// The venue window as the program wires it: each row on this machine's own
// serial port or serial server as settings.ini maps its number, the ISP
// tool from the program folder, the service record at recordPath.
VenueSetup venueSetup(const std::string& programFolder, const std::string& workingDirectory,
                      const std::string& recordPath, const std::string& listFile, std::function<void()> endProgram);

} // namespace fw::qt
