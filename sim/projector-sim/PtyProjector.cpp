#include "PtyProjector.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

#include "ground/LineTiming.h"
#include "ground/Numbers.h"


namespace fw::sim {

namespace {

constexpr double kBytesPerSecond = kLineBytesPerSecond;
constexpr std::size_t kReadChunk = 4096;
constexpr double kMaxCredit = 64;         // how far the paced line may run ahead after a pause
constexpr int kIdlePollMs = 50;           // how often a quiet loop looks at the stop flag
// The report is rewritten once the host has been quiet this long, so a
// transfer in progress is not slowed by summing and writing it on every read.
constexpr Micros kQuietBeforeReport = ms(100);
const std::string kCommandSeparator = "|";
const std::string kNoise = std::string("\x00\x7f#~", 4);

Micros byteTime(std::size_t bytes) { return lineTimeUs(bytes); }

std::string hexSum(const std::string& bytes)
{
    uint64_t sum = 0;
    for (unsigned char b : bytes) sum += b;
    char text[32];
    std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(sum));
    return text;
}

std::string imageLines(const std::string& name, const std::string& bytes, bool whole)
{
    return name + "_bytes=" + std::to_string(bytes.size()) + "\n" + name + "_sum=" + hexSum(bytes) + "\n" + name +
           "_whole=" + (whole ? "yes" : "no") + "\n";
}

std::string milliseconds(Micros from, Micros to) { return fixedDecimal(static_cast<double>(to - from) / 1000.0, 3); }

} // namespace

PtyProjector::PtyProjector(SimOptions options)
    : options_(std::move(options)), model_(options_.projector), start_(std::chrono::steady_clock::now())
{
    char name[256];
    if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0) throw std::runtime_error("openpty failed");
    devicePath_ = name;
    termios raw{};
    tcgetattr(slave_, &raw);
    cfmakeraw(&raw);
    tcsetattr(slave_, TCSANOW, &raw);
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    if (options_.noiseEveryMs) nextNoise_ = ms(options_.noiseEveryMs);
}

PtyProjector::~PtyProjector()
{
    if (master_ >= 0) close(master_);
    if (slave_ >= 0) close(slave_);
}

Micros PtyProjector::now() const
{
    return static_cast<Micros>(
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start_).count());
}

// The scaler's ISP mode runs at the ISP tool's own rate: pacing its image
// of megabytes at 38400 bit/s would make every upgrade take minutes.
bool PtyProjector::linePaced() const { return options_.paced && !model_.inIspMode(); }

void PtyProjector::accrueCredit()
{
    const Micros t = now();
    credit_ = std::min(kMaxCredit, credit_ + static_cast<double>(t - lastCredit_) * kBytesPerSecond / 1e6);
    lastCredit_ = t;
}

bool PtyProjector::mayTakeFromHost() const { return !linePaced() || credit_ >= 1; }

void PtyProjector::queue(const std::vector<Emission>& emissions)
{
    for (const Emission& e : emissions) outgoing_.emplace(e.at, e.bytes);
}

void PtyProjector::takeFromHost()
{
    const std::size_t allowed = linePaced() ? static_cast<std::size_t>(credit_) : kReadChunk;
    char buffer[kReadChunk];
    const ssize_t n = read(master_, buffer, std::min(allowed, sizeof buffer));
    if (n <= 0) return;
    const Micros t = now();
    lastInputAt_ = t;
    reportStale_ = true;
    if (linePaced()) credit_ -= static_cast<double>(n);
    if (options_.sink) {
        if (sinkBytes_ == 0) sinkFirstAt_ = t;
        sinkLastAt_ = t;
        sinkBytes_ += static_cast<uint64_t>(n);
        return;
    }
    receivedBytes_ += static_cast<uint64_t>(n);
    queue(model_.receive(t, std::string_view(buffer, static_cast<std::size_t>(n))));
    noteImageProgress(t);
    if (options_.closeAfterImageByte && model_.lineCut()) cutLine();
}

// The loader empties its image when a download is announced, and the host
// sends no image byte before the loader asks for it, so an empty image
// marks the start of the next transfer.
void PtyProjector::noteImageProgress(Micros at)
{
    const std::size_t bytes = model_.receivedUpImage().size();
    if (bytes == 0 || bytes < imageBytesSeen_) imageBytesSeen_ = 0;
    if (bytes == 0) return;
    if (imageBytesSeen_ == 0) imageFirstAt_ = at;
    if (bytes != imageBytesSeen_) imageLastAt_ = at;
    imageBytesSeen_ = bytes;
}

void PtyProjector::sendDue()
{
    while (!cut_ && !outgoing_.empty()) {
        const Micros t = now();
        if (outgoing_.begin()->first > t) return;
        // The line towards the host carries one byte every ten bit times:
        // the next text waits until the last one is out.
        if (linePaced() && txFree_ > t) return;
        const std::string bytes = outgoing_.begin()->second;
        outgoing_.erase(outgoing_.begin());
        if (linePaced()) txFree_ = t + byteTime(bytes.size());
        for (std::size_t done = 0; done < bytes.size();) {
            const ssize_t n = write(master_, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno != EAGAIN) return;
            if (n > 0) done += static_cast<std::size_t>(n);
            else poll(nullptr, 0, 1);
        }
    }
}

void PtyProjector::addNoise()
{
    if (!options_.noiseEveryMs || now() < nextNoise_) return;
    outgoing_.emplace(now(), kNoise);
    nextNoise_ = now() + ms(options_.noiseEveryMs);
}

void PtyProjector::cutLine()
{
    // Closing the pseudo-terminal is what a pulled cable looks like to the host.
    close(master_);
    close(slave_);
    master_ = slave_ = -1;
    cut_ = true;
}

int PtyProjector::pollTimeoutMs() const
{
    const Micros t = now();
    auto untilMs = [t](Micros at) { return at <= t ? 0 : static_cast<int>((at - t + 999) / 1000); };
    int timeout = kIdlePollMs;
    if (!outgoing_.empty()) {
        Micros due = outgoing_.begin()->first;
        if (linePaced()) due = std::max(due, txFree_);
        timeout = std::min(timeout, untilMs(due));
    }
    if (!mayTakeFromHost()) {
        const double missing = 1 - credit_;
        timeout = std::min(timeout, std::max(1, static_cast<int>(std::ceil(missing * 1000 / kBytesPerSecond))));
    }
    return timeout;
}

void PtyProjector::run(const std::atomic<bool>& stop)
{
    while (!stop && !cut_) {
        addNoise();
        accrueCredit();
        // A paced line with no byte due yet is not polled for input, or
        // waiting input would wake the loop at once, over and over.
        const bool mayTake = mayTakeFromHost();
        pollfd fd{master_, static_cast<short>(mayTake ? POLLIN : 0), 0};
        poll(&fd, 1, pollTimeoutMs());
        if (fd.revents & POLLIN) {
            accrueCredit();
            takeFromHost();
        } else {
            saveReportWhenQuiet();
        }
        sendDue();
    }
    saveReport();
}

std::string PtyProjector::report() const
{
    if (options_.sink)
        return "sink_bytes=" + std::to_string(sinkBytes_) + "\nsink_ms=" + milliseconds(sinkFirstAt_, sinkLastAt_) +
               "\n";
    const auto& up = model_.flashedUpImage();
    const auto& scaler = model_.flashedScalerImage();
    return "model=" + options_.projector.modelName + "\n" +
           imageLines("up", up ? *up : model_.receivedUpImage(), up.has_value()) +
           "up_transfer_ms=" + milliseconds(imageFirstAt_, imageLastAt_) + "\n" +
           imageLines("scaler", scaler ? *scaler : std::string{}, scaler.has_value()) +
           "line_cut=" + (cut_ ? "yes" : "no") + "\n" + "received_bytes=" + std::to_string(receivedBytes_) + "\n" +
           "commands=" + commandList() + "\n";
}

// The commands its interpreter took, in order, without their CR: which
// projector a program talked to, and what it asked.
std::string PtyProjector::commandList() const
{
    std::string list;
    for (const std::string& command : model_.commands()) list += (list.empty() ? "" : kCommandSeparator) + command;
    return list;
}

void PtyProjector::saveReportWhenQuiet()
{
    if (reportStale_ && now() - lastInputAt_ >= kQuietBeforeReport) saveReport();
}

void PtyProjector::saveReport()
{
    reportStale_ = false;
    if (options_.reportFile.empty()) return;
    const std::string text = report();
    if (text == lastReport_) return;
    const std::string temporary = options_.reportFile + ".tmp";
    std::ofstream(temporary, std::ios::trunc) << text;
    std::rename(temporary.c_str(), options_.reportFile.c_str());
    lastReport_ = text;
}

} // namespace fw::sim
