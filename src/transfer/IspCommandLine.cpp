#include "transfer/IspCommandLine.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "ground/FileHelpers.h"
#include "ground/FilePath.h"
#include "ground/Numbers.h"
#include "ground/Texts.h"

namespace fw {

namespace fs = std::filesystem;

namespace {

constexpr const char* kPortOption = "-c";
constexpr std::size_t kLongestPortDigits = 3;  // COM255
constexpr uint64_t kHighestPortDigits = 999;

} // namespace

std::vector<std::string> ispArgumentList(int portNumber, const std::string& imagePath)
{
    return {kPortOption, std::to_string(portNumber), "-l", kIspDriverName, "-d", kIspDeviceOption,
            "-b", kIspBaudRate,               "-p", imagePath};
}

int ispPortOf(const std::vector<std::string>& arguments)
{
    std::vector<std::string> items;
    for (const std::string& argument : arguments) {
        std::size_t from = 0;
        while (from < argument.size()) {  // the one text of Windows splits at its blanks
            const std::size_t end = std::min(argument.find(' ', from), argument.size());
            if (end > from) items.push_back(argument.substr(from, end - from));
            from = end + 1;
        }
    }
    for (std::size_t i = 0; i + 1 < items.size(); ++i) {
        const std::string& value = items[i + 1];
        if (items[i] != kPortOption || value.size() > kLongestPortDigits) continue;
        if (const auto port = numberFromDigits(value, 0, kHighestPortDigits)) return static_cast<int>(*port);
    }
    return 0;
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
