#include "platform/Terminal.h"

#include <unistd.h>

namespace fw::platform {

bool standardOutputIsTerminal() { return isatty(STDOUT_FILENO) != 0; }

void useUtf8Output() {}  // terminals here take UTF-8 as it is

} // namespace fw::platform
