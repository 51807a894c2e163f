#include "ToolProcess.h"

#include <chrono>
#include <thread>
#include <unistd.h>

#include "IspToolRun.h"

namespace fw::sim::isp {

void hangForEver()
{
    if (fork() == 0) {
        for (;;) pause();
    }
    for (;;) pause();
}

void writeLogLate(const std::string& path, const std::string& text, uint32_t lateMs)
{
    if (fork() != 0) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(lateMs));
    writeTextFile(path, text);
    _exit(0);
}

} // namespace fw::sim::isp
