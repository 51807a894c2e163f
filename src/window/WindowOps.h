#pragma once

#include <string>

#include "window/Tool.h"

namespace fw {

// Reports go to the status line first; the box then shows the status line.
Answer report(Tool& tool, const std::string& message, MessageStyle style);
// An operation's last box: the operation's end is told as it opens.
Answer reportEnding(Tool& tool, Reason reason, const std::string& message, MessageStyle style);
// Shows whatever the status line holds now.
Answer showStatusLine(Tool& tool, MessageStyle style);

// The path box, which the logic reads back, is kept in the state as well.
void setCaption(Tool& tool, Caption caption, const std::string& text);

// Upgrade SW, Open File, the test button, the RS232 menu item and Text2, in that order.
void Disable_object(Tool& tool);
void Enable_object(Tool& tool);

// Upgrade SW, Open File and the test button off: what a failure leaves when
// the technician must pick another port or fix the link first.
void disableWorkButtons(Tool& tool);

// Marks a test, upgrade or scaler flash as under way for as long as it
// lives: the port dialog must not close and reopen the port underneath it.
class RunningOperation {
public:
    explicit RunningOperation(Tool& tool) : state_(tool.state) { ++state_.operationsRunning; }
    ~RunningOperation() { --state_.operationsRunning; }
    RunningOperation(const RunningOperation&) = delete;
    RunningOperation& operator=(const RunningOperation&) = delete;

private:
    WindowState& state_;
};

} // namespace fw
