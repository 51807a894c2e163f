#include "platform/IspToolRunner.h"

#include <cstdlib>
#include <filesystem>

#include "platform/posix/WineLaunch.h"
#include "ground/FilePath.h"
#include "ground/SettingsFile.h"

namespace fw::platform {

namespace {

namespace fs = std::filesystem;

constexpr const char* kPortOption = "-c";
constexpr int kFileNotFound = 2;  // as a failed start of the tool itself reports it

// The port the tool is told to open: the number after "-c"; 0 when none.
int portOf(const std::vector<std::string>& arguments)
{
    for (std::size_t i = 0; i + 1 < arguments.size(); ++i) {
        const std::string& value = arguments[i + 1];
        if (arguments[i] == kPortOption && !value.empty() && value.size() < 4 &&
            value.find_first_not_of("0123456789") == std::string::npos)
            return std::stoi(value);
    }
    return 0;
}

std::string searchPath()
{
    const char* path = std::getenv("PATH");
    return path ? path : "";
}

// A Windows build of the tool runs through wine; the tool's command line,
// working folder and log stay what they are.
class WineRunner final : public ProcessRunner {
public:
    WineRunner(ProcessRunner& direct, DeviceOfPort deviceOfPort)
        : direct_(direct), deviceOfPort_(std::move(deviceOfPort))
    {
    }

    ProcessStart start(const std::string& program, const std::vector<std::string>& arguments,
                       const std::string& workingDirectory) override
    {
        if (!isWindowsExecutable(program)) return direct_.start(program, arguments, workingDirectory);
        // The shell runs in the tool's folder, so every path it gets is absolute.
        const fs::path tool = fs::absolute(program);
        const fs::path folder = tool.parent_path();
        const std::string runner = SettingsFile(pathText(folder)).ispRunner();
        const std::string wine = wineProgram(runner, searchPath());
        if (wine.empty()) {
            ProcessStart failed;
            failed.errorCode = kFileNotFound;
            failed.failure = wineMissingMessage(tool.filename().string(), runner);
            return failed;
        }
        const int port = portOf(arguments);
        const WineSetup setup{wine, (folder / kWinePrefixName).string(), port, port > 0 ? deviceOfPort_(port) : ""};
        const Launch launch = wineLaunch(setup, tool.string(), arguments);
        return direct_.start(launch.program, launch.arguments, workingDirectory);
    }

    void stopAll() override { direct_.stopAll(); }

private:
    ProcessRunner& direct_;
    DeviceOfPort deviceOfPort_;
};

} // namespace

std::unique_ptr<ProcessRunner> ispToolRunner(ProcessRunner& direct, DeviceOfPort deviceOfPort)
{
    return std::make_unique<WineRunner>(direct, std::move(deviceOfPort));
}

} // namespace fw::platform
