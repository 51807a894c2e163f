#pragma once

#include <QProcess>
#include <string>
#include <vector>

namespace fw::qt {

// Hands a program its arguments the way this system passes them (per-system
// file).
void setArguments(QProcess& process, const std::vector<std::string>& arguments);

} // namespace fw::qt
