#pragma once

#include <string>

#include "ground/Events.h"
#include "window/Tool.h"

namespace fw {

// What the handlers tell their listeners beside what the window shows.

inline void tell(Tool& tool, const Event& event) { tool.events.tell(event); }

// A box, shown and told: a question once it is answered, any other box as
// it opens (it may stay open a long while).
Answer showMessage(Tool& tool, const std::string& text, MessageStyle style);

// The operation under way ends with `reason` as the next box opens (not a
// question): that box tells how it ended. Its listeners learn the box, then
// the end, then the box shows; so the service record holds the whole entry,
// the box's text with it, while the box waits for the technician, and the
// entry's time stops where the work did. Nothing when no operation is under
// way (the start-up checks) or the operation ends before a box opens.
void endOperationAtNextBox(Tool& tool, Reason reason);

// A test or an upgrade as its listeners learn of it: started as the
// outermost one begins, ended once with its reason. A front end that wraps a
// handler in one of its own (the command line's upgrade, with its checks
// first) is the one told, and the handler is always its last step: the
// handler's end, whenever it comes (before its last box), ends the wrapper
// with the same reason, and the wrapper's own end after the handler returns
// changes nothing. One left by an exception (a fault of the program, which
// the front end catches and names in a box) ends as Unexpected as that box
// opens, so its account carries the fault's message; one left otherwise
// without an end ends as Unexpected at once.
class ToldOperation {
public:
    ToldOperation(Tool& tool, Operation operation);
    ~ToldOperation();
    ToldOperation(const ToldOperation&) = delete;
    ToldOperation& operator=(const ToldOperation&) = delete;

    void end(Reason reason);
    // The reason the last operation run inside this one ended with.
    Reason nestedReason() const { return tool_.told.nestedReason; }

private:
    void breakOff();

    Tool& tool_;
    Operation operation_;
    ToldOperation* enclosing_;  // the front end's operation around a handler's; none for the outermost
    int exceptionsAtStart_;
    bool ended_ = false;
};

// A phase as its listeners learn of it; one left by an exception ends as
// Interrupted (the operation's end says why).
class ToldPhase {
public:
    ToldPhase(Tool& tool, Phase phase, int run = 0);
    ~ToldPhase();
    ToldPhase(const ToldPhase&) = delete;
    ToldPhase& operator=(const ToldPhase&) = delete;

    void end(PhaseOutcome outcome);

private:
    Tool& tool_;
    Phase phase_;
    int run_;
    bool ended_ = false;
};

} // namespace fw
