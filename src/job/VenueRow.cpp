#include "job/VenueRow.h"

#include <algorithm>

namespace fw {

namespace {

constexpr double kWhole = 100;

RowStep stepOf(Phase phase)
{
    switch (phase) {
    case Phase::LinkTest: return RowStep::LinkTest;
    case Phase::ModelCheck: return RowStep::ModelCheck;
    case Phase::DownloadMode:
    case Phase::ImageTransfer:
    case Phase::Verdict: return RowStep::UpImage;
    case Phase::Restart: return RowStep::Restart;
    case Phase::IspMode:
    case Phase::IspToolRun: break;
    }
    return RowStep::Scaler;
}

} // namespace

void VenueRow::restart() { *this = VenueRow(); }

void VenueRow::take(const Event& event)
{
    if (std::holds_alternative<OperationStarted>(event)) {
        restart();
        return;
    }
    if (const auto* phase = std::get_if<PhaseStarted>(&event)) {
        const RowStep step = stepOf(phase->phase);
        if (step != step_) progress_ = 0;
        step_ = step;
    }
    if (const auto* reply = std::get_if<ModelReplied>(&event)) model_ = reply->model;
    if (const auto* sent = std::get_if<ImageProgress>(&event); sent && sent->totalBytes > 0)
        progress_ = static_cast<double>(sent->sentBytes) * kWhole / static_cast<double>(sent->totalBytes);
    if (const auto* started = std::get_if<IspToolStarted>(&event)) {
        ispLimitSeconds_ = started->timeLimitSeconds;
        progress_ = 0;
    }
    if (const auto* elapsed = std::get_if<IspToolElapsed>(&event); elapsed && ispLimitSeconds_ > 0)
        progress_ = std::min(kWhole, elapsed->seconds * kWhole / ispLimitSeconds_);
    if (const auto* shown = std::get_if<MessageShown>(&event);
        shown && (shown->kind == MessageKind::Error || shown->kind == MessageKind::Information))
        result_ = shown->text;
    if (const auto* ended = std::get_if<OperationEnded>(&event)) {
        ended_ = true;
        succeeded_ = ended->succeeded();
        if (succeeded_ && step_ == RowStep::Scaler) progress_ = kWhole;
    }
}

const char* stepName(RowStep step)
{
    switch (step) {
    case RowStep::None: return "";
    case RowStep::LinkTest: return "link test";
    case RowStep::ModelCheck: return "model check";
    case RowStep::UpImage: return "uP image";
    case RowStep::Restart: return "restart";
    case RowStep::Scaler: break;
    }
    return "scaler";
}

} // namespace fw
