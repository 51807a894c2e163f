#pragma once

#include <string>

namespace fw::qt {

// The name the program goes by in the user's folders and the desktop menu.
inline constexpr const char* kProgramId = "firmware-upgrade-tool";

// Gives the application object the program's name, so that the user's data
// folder is the same for the window and the command line.
void setProgramName();

// The folder settings.ini, log.txt and the vendor's ISP tool live in: the
// executable's own folder when it holds settings.ini or gf9450isp.exe (a
// portable copy), otherwise the user's data folder.
std::string chooseProgramFolder(const std::string& executableFolder, const std::string& userDataFolder);

// That folder for this program, in native separators. With create, a user's
// data folder that does not exist yet is made (the first start).
std::string programFolder(bool create);

// The folder of the documents --help refers to, where they were installed
// with the program: share/doc/firmware-upgrade-tool beside the executable's
// bin folder (a Linux package), or docs beside the executable (the Windows
// ZIP). Empty where neither holds them (a build tree).
std::string documentationFolder();

} // namespace fw::qt
