#include "transfer/DownloadProtocol.h"

#include <charconv>
#include <fstream>

#include "link/EventLoop.h"
#include "link/PortError.h"
#include "link/SendCommand.h"
#include "shell/Text.h"
#include "shell/Tool.h"

namespace fw {

namespace {

constexpr const char* kDownloadCommand = "op dlmy";
constexpr const char* kYes = "y";                       // no line end: the loader takes the one letter
constexpr int32_t kLengthPauseMs = 1000;                // the loader reads the length only after its prompt is out
constexpr int32_t kAfterRestartPauseMs = 4000;          // the projector is not ready at once after "BOOT"
constexpr std::size_t kBlockSize = 1024;                // the port's output queue holds one block
constexpr const char* kLineEnd = "\r\n";
// A driver and adapter hold a few kilobytes at most; this is ten times
// more than 38400 bit/s needs for the largest of them.
constexpr uint32_t kLineDrainLimitMs = 30000;
constexpr int32_t kLineDrainPollMs = 10;

float percentDone(uint64_t block, uint64_t blocks)
{
    return static_cast<float>(block) / static_cast<float>(blocks) * 100.0f;
}

uint64_t fileSize(std::ifstream& file)
{
    file.seekg(0, std::ios::end);
    const auto end = file.tellg();
    file.seekg(0, std::ios::beg);
    if (end < 0) throw ImageError("the uP image cannot be measured");
    return static_cast<uint64_t>(end);
}

void sendBlock(Tool& tool, std::ifstream& image, std::string& block, std::size_t size)
{
    block.resize(size);
    if (!image.read(block.data(), static_cast<std::streamsize>(size))) throw ImageError("the uP image cannot be read");
    tool.port.output(block);
}

} // namespace

std::optional<std::string> lengthText(std::string_view lblSizeCaption)
{
    const std::string digits = strip(lblSizeCaption);
    uint64_t bytes = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), bytes);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    char hex[17];
    const auto written = std::to_chars(hex, hex + sizeof hex, bytes, 16);
    return toUpperAscii(std::string_view(hex, static_cast<std::size_t>(written.ptr - hex)));
}

DownloadMode enterDownloadMode(Tool& tool)
{
    // An unseen echo is judged by the question that should follow; a port
    // that failed has been reported, and no question can come over it.
    if (!SendCommand(tool, kDownloadCommand)) return DownloadMode::PortFailureReported;
    if (!waitForConfirmation(tool)) return DownloadMode::NoQuestion;
    tool.port.output(kYes);
    tool.state.receiveBuffer.clear();
    return DownloadMode::Entered;
}

bool announceLength(Tool& tool, const std::string& length)
{
    if (!waitForLengthPrompt(tool)) return false;
    delay(tool.loop, kLengthPauseMs);
    tool.port.output(length);
    return waitForDataRequest(tool);
}

void beginImageTransfer(Tool& tool) { tool.port.setInputMode(InputMode::Binary); }

void sendImage(Tool& tool, const std::string& imagePath, uint64_t announcedBytes)
{
    std::ifstream image(imagePath, std::ios::binary);
    if (!image) throw ImageError("the uP image cannot be opened");
    const uint64_t size = fileSize(image);
    if (size != announcedBytes) throw ImageError("the uP image changed since it was checked");

    const uint64_t blocks = size / kBlockSize;
    const std::size_t rest = static_cast<std::size_t>(size % kBlockSize);
    std::string block;
    for (uint64_t i = 1; i <= blocks; ++i) {
        tool.view.setProgressValue(percentDone(i, blocks));
        tool.loop.processPendingEvents();
        sendBlock(tool, image, block, kBlockSize);
    }
    tool.view.setProgressValue(100);
    tool.loop.processPendingEvents();
    if (rest != 0) sendBlock(tool, image, block, rest);
    image.close();

    tool.port.setInputMode(InputMode::Text);
    tool.port.output(kLineEnd);
}

void waitUntilLineCarriedImage(Tool& tool)
{
    const uint32_t start = tool.loop.tickCount();
    while (tool.port.outputPending() > 0) {
        if (tool.loop.tickCount() - start >= kLineDrainLimitMs) throw PortError(kPortDeviceFailure);
        delay(tool.loop, kLineDrainPollMs);
    }
}

Verdict readVerdict(Tool& tool) { return waitForVerdict(tool); }

bool awaitRestart(Tool& tool)
{
    if (!waitForRestart(tool)) return false;
    tool.state.receiveBuffer.clear();
    delay(tool.loop, kAfterRestartPauseMs);
    return true;
}

bool endLoaderDialogue(Tool& tool)
{
    try {
        tool.port.setInputMode(InputMode::Text);
    } catch (const PortError&) {
        // the line end may still go out
    }
    try {
        tool.port.output(kLineEnd);
        return true;
    } catch (const PortError&) {
        return false;
    }
}

} // namespace fw
