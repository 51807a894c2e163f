#include "IspFolder.h"

#include <filesystem>
#include <system_error>

#include "transfer/IspCommandLine.h"

namespace fw::cli {

namespace fs = std::filesystem;

IspFolder prepareIspFolder(const std::string& programFolder, int port)
{
    const fs::path folder = fs::path(programFolder) / ("isp-COM" + std::to_string(port));
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) return {folder.string(), "cannot make the ISP tool's folder " + folder.string() + ": " + ec.message()};
    // A missing driver is the tool's own to report, as in the program folder.
    const fs::path driver = fs::path(programFolder) / kIspDriverName;
    if (fs::exists(driver, ec)) {
        fs::copy_file(driver, folder / kIspDriverName, fs::copy_options::overwrite_existing, ec);
        if (ec) return {folder.string(), "cannot copy " + driver.string() + " for the ISP tool: " + ec.message()};
    }
    return {folder.string(), {}};
}

} // namespace fw::cli
