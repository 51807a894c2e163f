#include "platform/IspToolRunner.h"

#include <cstdlib>
#include <filesystem>

#include "platform/posix/WineLaunch.h"
#include "ground/FilePath.h"
#include "ground/SettingsFile.h"
#include "transfer/IspCommandLine.h"

namespace fw::platform {

namespace {

namespace fs = std::filesystem;

constexpr int kFileNotFound = 2;  // as a failed start of the tool itself reports it

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
        const int port = ispPortOf(arguments);
        if (!isWindowsExecutable(program)) {
            // A tool built for this system is told its port's device here.
            if (port == 0) return direct_.start(program, arguments, workingDirectory);
            return direct_.startWithEnvironment(program, arguments, workingDirectory,
                                                {{kPortDeviceVariable, deviceOfPort_(port)}});
        }
        // The shell runs in the tool's folder, so every path it gets is absolute.
        const fs::path tool = fs::absolute(program);
        const fs::path folder = tool.parent_path();
        const std::string runner = SettingsFile(pathText(folder)).ispRunner();
        const WineChoice wine = chooseWine(windowsMachineOf(program), tool.filename().string(), runner,
                                           findWineFacts(runner, searchPath()));
        if (wine.program.empty()) {
            ProcessStart failed;
            failed.errorCode = kFileNotFound;
            failed.failure = wine.failure;
            return failed;
        }
        const WineSetup setup{wine.program, (folder / kWinePrefixName).string(), port,
                              port > 0 ? deviceOfPort_(port) : ""};
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
