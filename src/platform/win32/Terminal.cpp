#include "platform/Terminal.h"

#include <windows.h>

namespace fw::platform {

// Only a console has a console mode; a file or a pipe has none.
bool standardOutputIsTerminal()
{
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) != 0;
}

void useUtf8Output()
{
    SetConsoleOutputCP(CP_UTF8);
}

} // namespace fw::platform
