#include "ground/FilePath.h"

#include <system_error>

namespace fw {

std::filesystem::path filePath(std::string_view text)
{
    try {
        return std::filesystem::path(std::u8string(text.begin(), text.end()));
    } catch (const std::filesystem::filesystem_error&) {
        return {};  // not UTF-8: names nothing, so the caller's open fails as for a missing file
    }
}

std::string pathText(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace fw
