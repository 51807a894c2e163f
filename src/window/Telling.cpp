#include "window/Telling.h"

#include <exception>
#include <optional>

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
    if (style != MessageStyle::Question) {
        tell(tool, MessageShown{kindOf(style), text, std::nullopt});
        if (const std::optional<Reason> ending = tool.told.endingAtNextBox; ending && tool.told.current) {
            tool.told.current->end(*ending);
        } else if (const std::optional<Operation> broken = tool.told.brokenOff) {
            tool.told.brokenOff.reset();
            tell(tool, OperationEnded{*broken, Reason::Unexpected});
        }
    }
    const Answer answer = tool.view.showMessage(text, style);
    if (style == MessageStyle::Question) tell(tool, MessageShown{MessageKind::Question, text, answer == Answer::Yes});
    return answer;
}

void endOperationAtNextBox(Tool& tool, Reason reason)
{
    if (tool.told.current) tool.told.endingAtNextBox = reason;
}

ToldOperation::ToldOperation(Tool& tool, Operation operation)
    : tool_(tool), operation_(operation), enclosing_(tool.told.current), exceptionsAtStart_(std::uncaught_exceptions())
{
    tool_.told.brokenOff.reset();
    tool_.told.current = this;
    // A package check alone involves no port.
    const int port = operation_ == Operation::Check ? 0 : tool_.port.commPort();
    if (!enclosing_) tell(tool_, OperationStarted{operation_, port});
}

ToldOperation::~ToldOperation()
{
    if (!ended_ && std::uncaught_exceptions() > exceptionsAtStart_) breakOff();
    if (!ended_) end(Reason::Unexpected);
    tool_.told.current = enclosing_;
}

void ToldOperation::breakOff()
{
    ended_ = true;
    if (!enclosing_) {
        tool_.told.endingAtNextBox.reset();
        tool_.told.brokenOff = operation_;
        return;
    }
    // The front end's operation around this one ends with the box it shows.
    tool_.told.nestedReason = Reason::Unexpected;
    tool_.told.endingAtNextBox = Reason::Unexpected;
}

void ToldOperation::end(Reason reason)
{
    if (ended_) return;
    ended_ = true;
    tool_.told.endingAtNextBox.reset();
    if (!enclosing_) {
        tell(tool_, OperationEnded{operation_, reason});
        return;
    }
    tool_.told.nestedReason = reason;
    enclosing_->end(reason);
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
