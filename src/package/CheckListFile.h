#pragma once

#include <string>

namespace fw {

struct Tool;

// What the technician is told of a list file that cannot be used.
inline constexpr const char* kListFileNotValid = "Selected text file is not valid. Please select a valid file.";

// Reads the list file, measures both images and recomputes their byte sums.
// Results: tool.state.package, tool.state.ListFileValid, the lblSize caption,
// and on failure a disabled "Upgrade SW", the status line and a message box.
// Relative image names resolve against tool.workingDirectory.
void CheckListFile(Tool& tool, const std::string& listFilePath);

} // namespace fw
