#include "ConsolePrinter.h"

#include <cmath>
#include <cstdio>

#include "ground/Numbers.h"
#include "ground/UtcTime.h"
#include "record/EventJson.h"

namespace fw::cli {

namespace {

constexpr int kPlainProgressStep = 10;  // percent between progress lines off a terminal
// ... and never closer than this, but for the last: on a line that takes the
// image in milliseconds, ten lines tell nothing, and each wakes the console's
// writer between two blocks. A tenth at 38400 bit/s takes seven seconds.
constexpr uint32_t kPlainProgressLeastMs = 1000;
constexpr int kProgressBarWidth = 30;
constexpr int kPercentDecimals = 1;       // "  7.5 %"
constexpr std::size_t kPercentWidth = 5;

std::string minutesAndSeconds(double seconds)
{
    const long s = std::lround(seconds);
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld", s / 60, s % 60);
    return text;
}

} // namespace

ConsolePrinter::ConsolePrinter(Console& console, std::string prefix, const EventLoop& clock, bool assumeYes)
    : console_(console), prefix_(std::move(prefix)), clock_(clock), assumeYes_(assumeYes)
{
}

void ConsolePrinter::say(const std::string& text) { console_.line(prefix_ + text); }

void ConsolePrinter::tell(const Event& event)
{
    if (const auto* shown = std::get_if<MessageShown>(&event)) message(*shown);
    if (const auto* checked = std::get_if<PackageChecked>(&event)) package(*checked);
    if (const auto* phase = std::get_if<PhaseStarted>(&event); phase && phase->phase == Phase::ImageTransfer)
        transferStarted_ = false;
    if (const auto* sent = std::get_if<ImageProgress>(&event)) progress(*sent);
    if (const auto* started = std::get_if<IspToolStarted>(&event)) {
        ispTimeLimit_ = minutesAndSeconds(started->timeLimitSeconds);
        say("Running the ISP tool on the scaler (time limit " + ispTimeLimit_ + ") ...");
    }
    if (const auto* elapsed = std::get_if<IspToolElapsed>(&event))
        console_.status(prefix_ + "ISP tool running, elapsed " + minutesAndSeconds(elapsed->seconds) + " of " +
                        ispTimeLimit_ + " limit");
}

// The boxes and progress texts the window shows; a question is asked by the
// view, and shown here only when it was answered ahead.
void ConsolePrinter::message(const MessageShown& shown)
{
    if (shown.kind != MessageKind::Question) say(shown.text);
    else if (assumeYes_) say(shown.text + " [yes]");
}

void ConsolePrinter::package(const PackageChecked& checked)
{
    if (!checked.valid || !checked.up || !checked.scaler) return;
    say("Package valid: uP image " + checked.up->name + " (" + std::to_string(checked.up->size) +
        " bytes), scaler image " + checked.scaler->name + " (" + std::to_string(checked.scaler->size) + " bytes)");
}

std::string ConsolePrinter::progressText(const ImageProgress& sent, double percent) const
{
    const double elapsed = static_cast<uint32_t>(clock_.tickCount() - transferStart_) / 1000.0;
    const double remaining = percent > 0 ? elapsed * (100 - percent) / percent : 0;
    char bytes[64];
    std::snprintf(bytes, sizeof bytes, "%6llu of %llu bytes", static_cast<unsigned long long>(sent.sentBytes),
                  static_cast<unsigned long long>(sent.totalBytes));
    return "uP image " + fixedDecimal(percent, kPercentDecimals, kPercentWidth) + " %  " + bytes + "  elapsed " +
           minutesAndSeconds(elapsed) + "  remaining " + minutesAndSeconds(remaining);
}

void ConsolePrinter::progress(const ImageProgress& sent)
{
    if (sent.totalBytes == 0) return;
    const double percent = static_cast<double>(sent.sentBytes) * 100 / static_cast<double>(sent.totalBytes);
    if (!transferStarted_) {
        // the first block is on its way: the transfer's own clock starts here
        transferStarted_ = true;
        transferStart_ = clock_.tickCount();
        lastPlainStep_ = -1;
    }
    if (console_.isTerminal()) {
        const int filled = static_cast<int>(percent * kProgressBarWidth / 100);
        console_.status(prefix_ + "[" + std::string(filled, '#') + std::string(kProgressBarWidth - filled, '.') + "] " +
                        progressText(sent, percent));
        return;
    }
    const int step = static_cast<int>(percent) / kPlainProgressStep;
    if (step == lastPlainStep_) return;
    const uint32_t now = clock_.tickCount();
    const bool last = sent.sentBytes == sent.totalBytes;
    if (!last && lastPlainStep_ >= 0 && now - lastPlainLineAt_ < kPlainProgressLeastMs) return;
    lastPlainStep_ = step;
    lastPlainLineAt_ = now;
    say(progressText(sent, percent));
}

void JsonPrinter::tell(const Event& event)
{
    console_.line(eventJson(event, {isoUtc(WallClock::now()), port_, label_}));
}

} // namespace fw::cli
