#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace fw {

// The ISP tool writes its log into the folder it runs in.
inline constexpr const char* kIspLogName = "log.txt";

// The line the ISP tool writes last when the scaler took its image.
inline constexpr const char* kIspSuccessLine = "Command: 0503 0000 fafd";

// The last line of a text, whether or not a line end (CR LF, CR or LF)
// follows it.
std::string lastLine(std::string_view text);

// The last line of the file at `path`; nothing when it cannot be read. Of
// a line longer than the file's end that is read (4 KiB), that end after
// "...".
std::optional<std::string> lastLineOfFile(const std::string& path);

// The last line of the log at `path`, stripped of spaces at its two ends;
// empty when there is no log or it cannot be read.
std::string lastLogLine(const std::string& path);

// Whether a stripped last line says the scaler took its image: the success
// line alone, or after other text and a space (a tool that stamps its lines
// with the time writes "12:00:01 Command: ...").
bool isSuccessLine(std::string_view line);

// Makes sure no log is left at `path` from an earlier run, so the one read
// afterwards can only be the tool's own. Nothing when the path is free now;
// otherwise why the old log is still there.
std::optional<std::string> removeOldLog(const std::string& path);

// The ISP tool's log in the folder it runs in.
std::string ispLogPath(const std::string& ispFolder);

} // namespace fw
