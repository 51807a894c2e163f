#pragma once

#include <QProcess>
#include <string>
#include <vector>

namespace fw::qt {

// Hands a program its arguments the way this system passes them (per-system
// file).
void setArguments(QProcess& process, const std::vector<std::string>& arguments);

// The arguments this program was started with, after its own name, as the
// program's UTF-8 texts (per-system file). Needs the application object.
std::vector<std::string> ownArguments(int argc, char* argv[]);

} // namespace fw::qt
