#include "job/IspFolder.h"

#include <filesystem>
#include <system_error>

#include "ground/FilePath.h"
#include "ground/SettingsFile.h"
#include "transfer/IspCommandLine.h"

namespace fw {

namespace fs = std::filesystem;

IspFolder prepareIspFolder(const std::string& programFolder, int port)
{
    const fs::path folder = filePath(programFolder) / ("isp-" + portName(port));
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) return {pathText(folder), "cannot make the ISP tool's folder " + pathText(folder) + ": " + ec.message()};
    // A missing driver is the tool's own to report, as in the program folder.
    const fs::path driver = filePath(programFolder) / kIspDriverName;
    if (fs::exists(driver, ec)) {
        // Removed first: on Windows, libstdc++ takes any two files for the same
        // one and refuses to copy over an existing copy.
        fs::remove(folder / kIspDriverName, ec);
        fs::copy_file(driver, folder / kIspDriverName, ec);
        if (ec) return {pathText(folder), "cannot copy " + pathText(driver) + " for the ISP tool: " + ec.message()};
    }
    return {pathText(folder), {}};
}

} // namespace fw
