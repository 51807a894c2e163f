#include "window/Telling.h"

namespace fw {

namespace {

MessageKind kindOf(MessageStyle style)
{
    switch (style) {
    case MessageStyle::Critical: return MessageKind::Error;
    case MessageStyle::Information: return MessageKind::Information;
    case MessageStyle::Question: return MessageKind::Question;
    }
    return MessageKind::Error;
}

} // namespace

Answer showMessage(Tool& tool, const std::string& text, MessageStyle style)
{
    if (style != MessageStyle::Question) tell(tool, MessageShown{kindOf(style), text, std::nullopt});
    const Answer answer = tool.view.showMessage(text, style);
    if (style == MessageStyle::Question) tell(tool, MessageShown{MessageKind::Question, text, answer == Answer::Yes});
    return answer;
}

ToldOperation::ToldOperation(Tool& tool, Operation operation)
    : tool_(tool), operation_(operation), outermost_(tool.told.depth == 0)
{
    ++tool_.told.depth;
    // A package check alone involves no port.
    const int port = operation_ == Operation::Check ? 0 : tool_.port.commPort();
    if (outermost_) tell(tool_, OperationStarted{operation_, port});
}

ToldOperation::~ToldOperation()
{
    if (!ended_) end(Reason::Unexpected);
    --tool_.told.depth;
}

void ToldOperation::end(Reason reason)
{
    if (ended_) return;
    ended_ = true;
    if (outermost_) tell(tool_, OperationEnded{operation_, reason});
    else tool_.told.nestedReason = reason;
}

ToldPhase::ToldPhase(Tool& tool, Phase phase, int run) : tool_(tool), phase_(phase), run_(run)
{
    tell(tool_, PhaseStarted{phase_, run_});
}

ToldPhase::~ToldPhase()
{
    if (!ended_) end(PhaseOutcome::Interrupted);
}

void ToldPhase::end(PhaseOutcome outcome)
{
    if (ended_) return;
    ended_ = true;
    tell(tool_, PhaseEnded{phase_, outcome, run_});
}

} // namespace fw
