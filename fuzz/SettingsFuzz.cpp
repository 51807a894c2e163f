// Arbitrary settings-file text: reading never fails, and setting "FILE" in
// "PATH" to a value the input picks reads back as that value while the
// port key keeps the value it had.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "ground/ProfileFile.h"

namespace {

constexpr std::size_t kMaxValueLength = 1023;

void require(bool condition)
{
    if (!condition) std::abort();
}

std::string_view trimBlanks(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    // The text up to the first NUL is the new value, the rest the file.
    const std::size_t split = input.find('\0');
    const std::string_view value = split == std::string_view::npos ? std::string_view{} : input.substr(0, split);
    const std::string_view content = split == std::string_view::npos ? input : input.substr(split + 1);

    const std::string port = fw::profileValue(content, "RS232Set", "COM");
    require(port.size() <= kMaxValueLength);
    require(fw::profileValue(content, "PATH", "FILE").size() <= kMaxValueLength);

    const auto updated = fw::withProfileValue(content, "PATH", "FILE", value);
    const bool holdsLineBreak = value.find_first_of("\r\n") != std::string_view::npos;
    require(updated.has_value() != holdsLineBreak);
    if (!updated) return 0;
    require(fw::profileValue(*updated, "PATH", "FILE") == trimBlanks(value).substr(0, kMaxValueLength));
    require(fw::profileValue(*updated, "RS232Set", "COM") == port);
    return 0;
}
