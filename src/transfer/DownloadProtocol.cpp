#include "transfer/DownloadProtocol.h"

#include <charconv>
#include <fstream>

#include "ground/EventLoop.h"
#include "ground/FilePath.h"
#include "ground/PortError.h"
#include "ground/Text.h"
#include "link/SendCommand.h"

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

// The image on disk no longer matches what was announced or cannot be read.
struct ImageError {};

// The length as the loader wants it: upper-case hexadecimal without leading
// zeros, prefix, suffix or line end ("40000" for 262144 bytes).
std::string lengthText(uint64_t bytes)
{
    char hex[17];
    const auto written = std::to_chars(hex, hex + sizeof hex, bytes, 16);
    return toUpperAscii(std::string_view(hex, static_cast<std::size_t>(written.ptr - hex)));
}

uint64_t fileSize(std::ifstream& file)
{
    file.seekg(0, std::ios::end);
    const auto end = file.tellg();
    file.seekg(0, std::ios::beg);
    if (end < 0) throw ImageError{};
    return static_cast<uint64_t>(end);
}

// The image is read whole before its first byte goes out: what the line
// carries is what was read, and no disk read falls between two blocks.
std::string readImage(const std::string& imagePath, uint64_t announcedBytes)
{
    std::ifstream image(filePath(imagePath), std::ios::binary);
    if (!image) throw ImageError{};
    const uint64_t size = fileSize(image);
    if (size != announcedBytes) throw ImageError{};  // it changed since it was checked
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (!image.read(bytes.data(), static_cast<std::streamsize>(size))) throw ImageError{};
    return bytes;
}

// The event loop turns between blocks, so the window stays live and what
// falls due runs before the next block; but once in kEventTurnMs at most: on
// a line that takes a block in microseconds, turning it for every block
// would cost more than writing the block. At 38400 bit/s a block takes
// 267 ms, and the loop turns before each.
class EventsBetweenBlocks {
public:
    static constexpr uint32_t kEventTurnMs = 10;

    explicit EventsBetweenBlocks(EventLoop& loop) : loop_(loop), lastTurn_(loop.tickCount() - kEventTurnMs) {}

    void turn()
    {
        const uint32_t now = loop_.tickCount();
        if (now - lastTurn_ < kEventTurnMs) return;
        lastTurn_ = now;
        loop_.processPendingEvents();
    }

private:
    EventLoop& loop_;
    uint32_t lastTurn_;
};

void sendBlocks(Link& link, const std::string& imagePath, uint64_t announcedBytes, const ProgressSink& progress)
{
    const std::string image = readImage(imagePath, announcedBytes);
    const std::string_view bytes(image);
    const uint64_t size = bytes.size();
    const uint64_t blocks = size / kBlockSize;
    EventsBetweenBlocks events(link.loop);
    for (uint64_t i = 1; i <= blocks; ++i) {
        progress(i * kBlockSize, size);
        events.turn();
        link.port.output(bytes.substr((i - 1) * kBlockSize, kBlockSize));
    }
    progress(size, size);
    link.loop.processPendingEvents();
    if (size % kBlockSize != 0) link.port.output(bytes.substr(blocks * kBlockSize));

    link.port.setInputMode(InputMode::Text);
    link.port.output(kLineEnd);
}

void waitUntilLineCarriedImage(Link& link)
{
    const uint32_t start = link.loop.tickCount();
    while (link.port.outputPending() > 0) {
        if (link.loop.tickCount() - start >= kLineDrainLimitMs) throw PortError(kPortDeviceFailure);
        delay(link.loop, kLineDrainPollMs);
    }
}

} // namespace

DownloadModeEntry enterDownloadMode(Link& link)
{
    // An unseen echo is judged by the question that should follow; no
    // question can come over a port that failed.
    if (const PortFailure failure = SendCommand(link, kDownloadCommand)) return {DownloadMode::PortFailed, failure};
    if (!waitForConfirmation(link)) return {DownloadMode::NoQuestion, std::nullopt};
    link.port.output(kYes);
    link.received.clear();
    return {DownloadMode::Entered, std::nullopt};
}

bool announceLength(Link& link, uint64_t imageBytes)
{
    if (!waitForLengthPrompt(link)) return false;
    delay(link.loop, kLengthPauseMs);
    link.port.output(lengthText(imageBytes));
    return waitForDataRequest(link);
}

void beginImageTransfer(Link& link) { link.port.setInputMode(InputMode::Binary); }

ImageSending sendImage(Link& link, const std::string& imagePath, uint64_t announcedBytes, const ProgressSink& progress)
{
    try {
        sendBlocks(link, imagePath, announcedBytes, progress);
        waitUntilLineCarriedImage(link);
        return ImageSending::Sent;
    } catch (const ImageError&) {
        return ImageSending::ImageUnusable;
    } catch (const PortError&) {
        return ImageSending::PortFailed;
    }
}

Verdict readVerdict(Link& link) { return waitForVerdict(link); }

bool awaitRestart(Link& link)
{
    if (!waitForRestart(link)) return false;
    link.received.clear();
    delay(link.loop, kAfterRestartPauseMs);
    return true;
}

bool endLoaderDialogue(Link& link)
{
    try {
        link.port.setInputMode(InputMode::Text);
    } catch (const PortError&) {
        // the line end may still go out
    }
    try {
        link.port.output(kLineEnd);
        return true;
    } catch (const PortError&) {
        return false;
    }
}

} // namespace fw
