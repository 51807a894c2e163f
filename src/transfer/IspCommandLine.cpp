#include "transfer/IspCommandLine.h"

#include <filesystem>
#include <system_error>

#include "ground/FileHelpers.h"
#include "ground/FilePath.h"
#include "ground/Texts.h"

namespace fw {

namespace fs = std::filesystem;

std::vector<std::string> ispArgumentList(int portNumber, const std::string& imagePath)
{
    return {"-c", std::to_string(portNumber), "-l", kIspDriverName, "-d", kIspDeviceOption,
            "-b", kIspBaudRate,               "-p", imagePath};
}

std::string ispParameterText(int portNumber, const std::string& imagePath)
{
    std::string text;
    for (const std::string& item : ispArgumentList(portNumber, imagePath)) {
        if (!text.empty()) text += ' ';
        text += item;
    }
    return text;
}

std::string ispImageArgument(const std::string& scalerImagePath, const std::string& workingDirectory)
{
    if (scalerImagePath.empty()) return {};
    fs::path image = filePath(scalerImagePath);
    if (!image.is_absolute()) image = filePath(workingDirectory) / image;
    std::error_code ec;
    if (!fs::is_regular_file(image, ec)) return {};
    // Windows takes "/" as well as "\" in a path, but the short form splits
    // at the system's own separator only: "images/scaler.bin" would be
    // looked up as one component and lose its folder.
    image.make_preferred();
    return GetShortNameFromLongName(pathText(image));
}

std::string ispToolExpectedIn(const std::string& programFolder)
{
    return std::string(kIspToolName) + texts::ToolExpectedIn + programFolder + ".";
}

} // namespace fw
