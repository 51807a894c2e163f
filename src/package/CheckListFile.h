#pragma once

#include <string>

namespace fw {

struct Tool;

// Reads the list file, measures both images and recomputes their byte sums.
// Results: tool.state.package, tool.state.ListFileValid, the lblSize caption,
// and on failure a disabled "Upgrade SW", the status line and a message box.
// Relative image names resolve against tool.workingDirectory.
void CheckListFile(Tool& tool, const std::string& listFilePath);

} // namespace fw
