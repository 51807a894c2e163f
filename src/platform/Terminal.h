#pragma once

namespace fw::platform {

// True when standard output is a terminal (a console on Windows) that shows
// a line redrawn in place; false when it goes to a file or a pipe.
bool standardOutputIsTerminal();

} // namespace fw::platform
