#include "ConsoleView.h"

#include <cmath>
#include <cstdio>

namespace fw::cli {

namespace {

constexpr double kUpImageBytes = 262144;
constexpr int kPlainProgressStep = 10;  // percent between progress lines off a terminal

std::string minutesAndSeconds(double seconds)
{
    const long s = std::lround(seconds);
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld", s / 60, s % 60);
    return text;
}

} // namespace

ConsoleView::ConsoleView(Console& console, std::string prefix, const EventLoop& clock, bool assumeYes,
                         std::istream& in, int32_t ispTimeLimitSeconds)
    : console_(console), prefix_(std::move(prefix)), clock_(clock), assumeYes_(assumeYes), in_(in),
      ispTimeLimit_(minutesAndSeconds(ispTimeLimitSeconds))
{
}

void ConsoleView::say(const std::string& text) { console_.line(prefix_ + text); }

Answer ConsoleView::showMessage(const std::string& text, MessageStyle style)
{
    switch (style) {
    case MessageStyle::Critical:
    case MessageStyle::Information:
        say(text);
        return Answer::Ok;
    case MessageStyle::Question:
        if (assumeYes_) {
            say(text + " [yes]");
            return Answer::Yes;
        }
        return console_.ask(prefix_ + text, in_) ? Answer::Yes : Answer::No;
    }
    return Answer::Ok;
}

void ConsoleView::setCaption(Caption caption, const std::string& text)
{
    switch (caption) {
    case Caption::lblFileCount:
        if (!text.empty()) say(text);
        break;
    case Caption::Form3Label2:
        if (processing_) console_.status(prefix_ + "ISP tool running, elapsed " + text + " of " + ispTimeLimit_ + " limit");
        break;
    default: break;
    }
}

std::string ConsoleView::progressText(double percent) const
{
    const double elapsed = static_cast<uint32_t>(clock_.tickCount() - transferStart_) / 1000.0;
    const double remaining = percent > 0 ? elapsed * (100 - percent) / percent : 0;
    char text[160];
    std::snprintf(text, sizeof text, "uP image %5.1f %%  %6.0f of %.0f bytes  elapsed %s  remaining %s", percent,
                  kUpImageBytes * percent / 100, kUpImageBytes, minutesAndSeconds(elapsed).c_str(),
                  minutesAndSeconds(remaining).c_str());
    return text;
}

void ConsoleView::setProgressValue(double percent)
{
    if (percent <= 0) {
        transferStarted_ = false;
        return;
    }
    if (!transferStarted_) {
        // the first block is on its way: the transfer's own clock starts here
        transferStarted_ = true;
        transferStart_ = clock_.tickCount();
        lastPlainStep_ = -1;
    }
    if (console_.isTerminal()) {
        const int width = 30;
        const int filled = static_cast<int>(percent * width / 100);
        console_.status(prefix_ + "[" + std::string(filled, '#') + std::string(width - filled, '.') + "] " +
                        progressText(percent));
        return;
    }
    const int step = static_cast<int>(percent) / kPlainProgressStep;
    if (step != lastPlainStep_) {
        lastPlainStep_ = step;
        say(progressText(percent));
    }
}

void ConsoleView::setProcessingWindowVisible(bool visible)
{
    if (visible && !processing_) say("Running the ISP tool on the scaler (time limit " + ispTimeLimit_ + ") ...");
    processing_ = visible;
}

} // namespace fw::cli
