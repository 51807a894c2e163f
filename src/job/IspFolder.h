#pragma once

#include <optional>
#include <string>

namespace fw {

// Each projector's ISP tool runs in a folder of its own under the program
// folder, so that several scalers flash side by side and no job ever reads
// another's log. The tool is given its driver file without a folder, so the
// driver is copied in; the tool itself is started from the program folder.
struct IspFolder {
    std::string path;
    std::string failure;  // why it could not be made ready; empty when it is
};

IspFolder prepareIspFolder(const std::string& programFolder, int port);

} // namespace fw
