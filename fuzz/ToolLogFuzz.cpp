// The ISP tool's log.txt as any bytes (repeated into a file of up to 480 KiB
// when the first byte is 0xF0 or more, with or without line breaks): the last line
// read from the file's end, stripped, is the one a plain reading of the
// whole file gives, or the end of it when it is longer than the part read;
// and the verdict on it is the verdict on the whole line.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>

#include "transfer/ToolLog.h"

namespace {

constexpr std::size_t kTailBytes = 4096;

void require(bool condition)
{
    if (!condition) std::abort();
}

const std::string& logPath()
{
    // In memory where the system has it: a file is written for every input.
    static const std::string folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    static const std::string path = folder + "/fuzz_tool_log." + std::to_string(getpid()) + ".txt";
    return path;
}

std::string fileText(const uint8_t* data, std::size_t size)
{
    const std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (data[0] < 0xF0 || rest.empty()) return rest;
    const std::size_t wanted = (std::size_t{data[0]} & 0x0F) * 32 * 1024 + 1;
    std::string text;
    while (text.size() < wanted) text += rest;
    return text;
}

struct LastLine {
    std::string stripped;
    bool inTail = false;  // it starts within the file's last kTailBytes
};

// One line end (CR LF, CR or LF) off the end, the text after the last line
// break, spaces off both ends.
LastLine plainLastLine(std::string_view text)
{
    const std::size_t size = text.size();
    if (text.ends_with("\r\n")) text.remove_suffix(2);
    else if (text.ends_with('\r') || text.ends_with('\n')) text.remove_suffix(1);
    const std::size_t lastBreak = text.find_last_of("\r\n");
    LastLine last;
    last.inTail = size <= kTailBytes || (lastBreak != std::string_view::npos && lastBreak >= size - kTailBytes);
    if (lastBreak != std::string_view::npos) text.remove_prefix(lastBreak + 1);
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    last.stripped = text;
    return last;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    const std::string text = fileText(data, size);
    {
        std::ofstream file(logPath(), std::ios::binary | std::ios::trunc);
        file.write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    const std::string line = fw::lastLogLine(logPath());
    const LastLine whole = plainLastLine(text);
    require(line.size() <= kTailBytes + 3);
    require(line.find_first_of("\r\n") == std::string::npos);
    require(line.empty() || (line.front() != ' ' && line.back() != ' '));
    if (whole.inTail) {
        require(line == whole.stripped);
        require(fw::isSuccessLine(line) == fw::isSuccessLine(whole.stripped));
    }
    // However long the line, the verdict on its end is never a false success.
    if (fw::isSuccessLine(line)) require(fw::isSuccessLine(whole.stripped));
    return 0;
}
