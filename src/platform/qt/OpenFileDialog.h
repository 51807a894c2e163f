#pragma once

#include <string>

class QWidget;

namespace fw::qt {

// The list-file dialog: text files or all files, an existing file in an
// existing folder, the process's working directory left as it is. It starts
// at the given file (its folder, the name preselected) when one is given.
// Returns the chosen full path; a cancel returns the start location.
std::string runOpenFileDialog(QWidget* parent, const std::string& startLocation);

} // namespace fw::qt
