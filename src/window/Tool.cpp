#include "window/Tool.h"

#include "window/PortMessages.h"

namespace fw {

Tool::Tool(SerialPort& port_, EventLoop& loop_, View& view_, ProcessRunner& processes_, std::string programFolder_,
           std::string workingDirectory_)
    : link(port_, loop_), port(port_), loop(loop_), view(view_), processes(processes_),
      programFolder(std::move(programFolder_)), workingDirectory(std::move(workingDirectory_)),
      ispFolder(programFolder)
{
    port.setEventHandler([this](CommEvent event) { MSComm1_OnComm(*this, event); });
}

Tool::~Tool() { port.setEventHandler({}); }

} // namespace fw
