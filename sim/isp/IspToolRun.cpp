#include "IspToolRun.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "ground/SettingsFile.h"

namespace fw::sim::isp {

namespace {

namespace fs = std::filesystem;

constexpr const char* kTitle = "GF9450 ISP programmer (stand-in)";
constexpr const char* kLineEnd = "\r\n";
// A failing or crashing run stops after the begin frame and two data frames.
constexpr std::size_t kFramesBeforeTrouble = 3;

std::string inFolder(const std::string& folder, const std::string& name)
{
    const fs::path path(name);
    return path.is_absolute() ? name : (fs::path(folder) / path).string();
}

bool readFile(const std::string& path, std::string& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

} // namespace

IspToolRun::IspToolRun(const std::vector<std::string>& arguments, const std::string& workingDirectory,
                       bool failThisRun, bool crashThisRun)
    : line_(parseIspCommandLine(arguments)), workingDirectory_(workingDirectory), fail_(failThisRun),
      crash_(crashThisRun)
{
    line(kTitle);
    if (!line_.error.empty()) {
        fail(line_.error);
        return;
    }
    std::error_code ec;
    if (!fs::is_regular_file(inFolder(workingDirectory_, line_.driverFile), ec)) {
        fail("Error: can't open driver " + line_.driverFile);
        return;
    }
    line("Driver " + line_.driverFile + ", device " + line_.device);
    if (!readFile(line_.imagePath, image_) || image_.empty()) {
        fail("Error: can't open image " + line_.imagePath);
        return;
    }
    line("Image " + line_.imagePath + ", " + std::to_string(image_.size()) + " bytes");
}

void IspToolRun::portOpened(const std::string& device)
{
    line("Port " + portName(line_.port) + " (" + device + ") at " + std::to_string(line_.baud) + " bit/s");
    std::optional<std::size_t> stopAfter;
    if (fail_ || crash_) stopAfter = kFramesBeforeTrouble;
    client_ = std::make_unique<IspClient>(image_, stopAfter);
}

void IspToolRun::portFailed(const std::string& device, const std::string& reason)
{
    fail("Error: can't open " + portName(line_.port) + " (" + device + "): " + reason);
}

std::string IspToolRun::logText() const
{
    std::vector<std::string> lines = log_;
    if (client_) {
        lines.push_back("Erase, program and verify: " + std::to_string(client_->framesAcknowledged()) + " of " +
                        std::to_string(client_->frameCount()) + " frames, " + std::to_string(client_->resends()) +
                        " sent again");
    }
    if (!dies()) lines.push_back(resultLine());
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) text += (i ? kLineEnd : "") + lines[i];
    return text;
}

std::string IspToolRun::resultLine() const
{
    if (succeeded()) return kSuccessLine;
    if (!error_.empty()) return error_;
    if (client_ && !client_->failure().empty()) return client_->failure();
    return "Error: stopped before the end";
}

bool writeTextFile(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    return static_cast<bool>(out);
}

} // namespace fw::sim::isp
