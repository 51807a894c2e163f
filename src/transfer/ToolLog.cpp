#include "transfer/ToolLog.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "ground/FileHelpers.h"
#include "ground/FilePath.h"
#include "ground/Text.h"

namespace fw {

namespace {

// Enough of the log's end for any last line worth reading; a longer line
// cannot be the success line anyway.
constexpr std::streamoff kTailBytes = 4096;
constexpr const char* kCutMark = "...";

std::string withoutOneLineEnd(std::string_view text)
{
    if (text.ends_with("\r\n")) text.remove_suffix(2);
    else if (text.ends_with('\r') || text.ends_with('\n')) text.remove_suffix(1);
    return std::string(text);
}

} // namespace

std::string lastLine(std::string_view text)
{
    const std::string body = withoutOneLineEnd(text);
    const auto lastBreak = body.find_last_of("\r\n");
    return lastBreak == std::string::npos ? body : body.substr(lastBreak + 1);
}

std::optional<std::string> lastLineOfFile(const std::string& path)
{
    std::ifstream log(filePath(path), std::ios::binary);
    if (!log) return std::nullopt;
    log.seekg(0, std::ios::end);
    const std::streamoff size = log.tellg();
    if (size < 0) return std::nullopt;
    const std::streamoff start = size > kTailBytes ? size - kTailBytes : 0;
    std::string tail(static_cast<std::size_t>(size - start), '\0');
    log.seekg(start);
    if (!log.read(tail.data(), static_cast<std::streamsize>(tail.size()))) return std::nullopt;
    const std::string line = lastLine(tail);
    // A last line that fills all that was read may begin before it: marked
    // as cut, its end can never pass for the success line.
    if (start > 0 && line.size() == withoutOneLineEnd(tail).size()) return kCutMark + line;
    return line;
}

std::string lastLogLine(const std::string& path)
{
    const auto line = lastLineOfFile(path);
    return line ? strip(*line) : std::string();
}

bool isSuccessLine(std::string_view line)
{
    if (!line.ends_with(kIspSuccessLine)) return false;
    line.remove_suffix(std::string_view(kIspSuccessLine).size());
    return line.empty() || line.ends_with(' ');
}

std::optional<std::string> removeOldLog(const std::string& path)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    // Whatever stands at the name counts, a folder or a dangling link too:
    // the tool could not write its log there either.
    const fs::path log = filePath(path);
    if (!fs::exists(fs::symlink_status(log, ec))) return std::nullopt;
    fs::remove(log, ec);
    if (ec) return ec.message();
    if (fs::exists(fs::symlink_status(log, ec))) return "it is still there after it was deleted";
    return std::nullopt;
}

std::string ispLogPath(const std::string& ispFolder) { return ispFolder + kPathSeparator + kIspLogName; }

} // namespace fw
