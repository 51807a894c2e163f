#include "PtyProjector.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>


namespace fw::sim {

namespace {

constexpr double kBytesPerSecond = 3840;  // 38400 bit/s, ten bit times a byte
constexpr std::size_t kReadChunk = 4096;
constexpr double kMaxCredit = 64;         // how far the paced line may run ahead after a pause
constexpr int kIdlePollMs = 50;           // how often a quiet loop looks at the stop flag
const std::string kNoise = std::string("\x00\x7f#~", 4);

Micros byteTime(std::size_t bytes) { return static_cast<Micros>(bytes * 1e6 / kBytesPerSecond); }

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

void PtyProjector::queue(const std::vector<Emission>& emissions)
{
    for (const Emission& e : emissions) outgoing_.emplace(e.at, e.bytes);
}

void PtyProjector::takeFromHost()
{
    std::size_t allowed = kReadChunk;
    if (options_.paced) {
        const Micros t = now();
        credit_ = std::min(kMaxCredit, credit_ + (t - lastCredit_) * kBytesPerSecond / 1e6);
        lastCredit_ = t;
        if (credit_ < 1) return;
        allowed = static_cast<std::size_t>(credit_);
    }
    char buffer[kReadChunk];
    const ssize_t n = read(master_, buffer, std::min(allowed, sizeof buffer));
    if (n <= 0) return;
    if (options_.paced) credit_ -= static_cast<double>(n);
    queue(model_.receive(now(), std::string_view(buffer, static_cast<std::size_t>(n))));
    if (options_.closeAfterImageByte && model_.lineCut()) cutLine();
    saveReport();
}

void PtyProjector::sendDue()
{
    while (!cut_ && !outgoing_.empty() && outgoing_.begin()->first <= now()) {
        const std::string bytes = outgoing_.begin()->second;
        outgoing_.erase(outgoing_.begin());
        if (options_.paced) {
            // The line towards the host carries one byte every ten bit times.
            const Micros start = std::max(now(), txFree_);
            txFree_ = start + byteTime(bytes.size());
        }
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
    int timeout = kIdlePollMs;
    if (!outgoing_.empty()) {
        const Micros due = outgoing_.begin()->first;
        const Micros t = now();
        timeout = due <= t ? 0 : std::min<int>(timeout, static_cast<int>((due - t) / 1000) + 1);
    }
    if (options_.paced && credit_ < 1) timeout = std::min(timeout, 2);
    return timeout;
}

void PtyProjector::run(const std::atomic<bool>& stop)
{
    while (!stop && !cut_) {
        addNoise();
        pollfd fd{master_, POLLIN, 0};
        poll(&fd, 1, pollTimeoutMs());
        if (fd.revents & POLLIN) takeFromHost();
        sendDue();
    }
    saveReport();
}

std::string PtyProjector::report() const
{
    const auto& up = model_.flashedUpImage();
    const auto& scaler = model_.flashedScalerImage();
    return "model=" + options_.projector.modelName + "\n" +
           imageLines("up", up ? *up : model_.receivedUpImage(), up.has_value()) +
           imageLines("scaler", scaler ? *scaler : std::string{}, scaler.has_value()) +
           "line_cut=" + (cut_ ? "yes" : "no") + "\n";
}

void PtyProjector::saveReport() const
{
    if (options_.reportFile.empty()) return;
    const std::string text = report();
    if (text == lastReport_) return;
    const std::string temporary = options_.reportFile + ".tmp";
    std::ofstream(temporary, std::ios::trunc) << text;
    std::rename(temporary.c_str(), options_.reportFile.c_str());
    lastReport_ = text;
}

} // namespace fw::sim
