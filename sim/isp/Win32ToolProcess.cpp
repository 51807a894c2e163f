#include "ToolProcess.h"

#include <windows.h>

#include "IspToolRun.h"

namespace fw::sim::isp {

void hangForEver()
{
    for (;;) Sleep(INFINITE);
}

void writeLogLate(const std::string& path, const std::string& text, uint32_t lateMs)
{
    Sleep(lateMs);
    writeTextFile(path, text);
}

} // namespace fw::sim::isp
