#pragma once

namespace fw::platform {

// True when standard output is a terminal (a console on Windows) that shows
// a line redrawn in place; false when it goes to a file or a pipe.
bool standardOutputIsTerminal();

// Makes a console show the program's UTF-8 output as text (a file or a
// pipe takes the bytes as they are).
void useUtf8Output();

} // namespace fw::platform
