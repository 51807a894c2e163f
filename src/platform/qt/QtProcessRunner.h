#pragma once

#include "ground/ProcessRunner.h"

namespace fw::qt {

// Starts programs with QProcess: directly, never through a shell, in the
// given working directory. The child's output goes to this program's own
// output, its input is empty.
class QtProcessRunner final : public fw::ProcessRunner {
public:
    fw::ProcessStart start(const std::string& program, const std::vector<std::string>& arguments,
                           const std::string& workingDirectory) override;
    fw::ProcessStart startWithEnvironment(const std::string& program, const std::vector<std::string>& arguments,
                                          const std::string& workingDirectory,
                                          const fw::Environment& variables) override;
    // Stops every program started by any runner of this process.
    void stopAll() override;
};

// Start-failure codes, as the Windows shell reports them.
inline constexpr int kFileNotFound = 2;
inline constexpr int kPathNotFound = 3;
inline constexpr int kAccessDenied = 5;

} // namespace fw::qt
