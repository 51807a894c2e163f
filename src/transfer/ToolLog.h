#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace fw {

// The ISP tool writes its log into the program folder.
inline constexpr const char* kIspLogName = "log.txt";

// The line the ISP tool writes last when the scaler took its image.
inline constexpr const char* kIspSuccessLine = "Command: 0503 0000 fafd";

// The last line of a text, whether or not a line end (CR LF, CR or LF)
// follows it.
std::string lastLine(std::string_view text);

// The last line of the file at `path`; nothing when it cannot be read.
std::optional<std::string> lastLineOfFile(const std::string& path);

} // namespace fw
