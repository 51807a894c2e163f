#include "ground/Events.h"

namespace fw {

const char* nameOf(Operation operation)
{
    switch (operation) {
    case Operation::Test: return "test";
    case Operation::Upgrade: return "upgrade";
    case Operation::Check: return "check";
    }
    return "?";
}

const char* nameOf(Phase phase)
{
    switch (phase) {
    case Phase::LinkTest: return "link-test";
    case Phase::ModelCheck: return "model-check";
    case Phase::DownloadMode: return "download-mode";
    case Phase::ImageTransfer: return "image-transfer";
    case Phase::Verdict: return "verdict";
    case Phase::Restart: return "restart";
    case Phase::IspMode: return "isp-mode";
    case Phase::IspToolRun: return "isp-tool-run";
    }
    return "?";
}

const char* nameOf(PhaseOutcome outcome)
{
    switch (outcome) {
    case PhaseOutcome::Ok: return "ok";
    case PhaseOutcome::NoAnswer: return "no-answer";
    case PhaseOutcome::WrongAnswer: return "wrong-answer";
    case PhaseOutcome::Mismatch: return "mismatch";
    case PhaseOutcome::NotJudged: return "not-judged";
    case PhaseOutcome::PortFailed: return "port-failed";
    case PhaseOutcome::ImageUnusable: return "image-unusable";
    case PhaseOutcome::TimeUp: return "time-up";
    case PhaseOutcome::NoSuccessLine: return "no-success-line";
    case PhaseOutcome::Interrupted: return "interrupted";
    }
    return "?";
}

const char* nameOf(Reason reason)
{
    switch (reason) {
    case Reason::None: return "none";
    case Reason::Declined: return "declined";
    case Reason::PackageNotValid: return "package-not-valid";
    case Reason::PortNotOpened: return "port-not-opened";
    case Reason::NoAnswer: return "no-answer";
    case Reason::WrongAnswer: return "wrong-answer";
    case Reason::PortFailed: return "port-failed";
    case Reason::ModelMismatch: return "model-mismatch";
    case Reason::LoaderNoAnswer: return "loader-no-answer";
    case Reason::ImageUnusable: return "image-unusable";
    case Reason::UpImageNotTaken: return "up-image-not-taken";
    case Reason::NoRestart: return "no-restart";
    case Reason::IspFolderUnusable: return "isp-folder-unusable";
    case Reason::ScalerImageMissing: return "scaler-image-missing";
    case Reason::IspToolNotStarted: return "isp-tool-not-started";
    case Reason::IspToolFailed: return "isp-tool-failed";
    case Reason::Unexpected: return "unexpected";
    }
    return "?";
}

const char* nameOf(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Status: return "status";
    case MessageKind::Information: return "information";
    case MessageKind::Error: return "error";
    case MessageKind::Question: return "question";
    }
    return "?";
}

} // namespace fw
