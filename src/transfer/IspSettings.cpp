#include "transfer/IspSettings.h"

#include <algorithm>
#include <charconv>

#include "ground/ProfileFile.h"

namespace fw {

namespace {

constexpr const char* kIspSection = "ISP";
constexpr const char* kTimeLimitKey = "TIMELIMIT";

} // namespace

int32_t ispTimeLimitFrom(std::string_view text)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos)
        return kDefaultIspTimeLimitSeconds;
    uint64_t seconds = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (error == std::errc::result_out_of_range) return kLongestIspTimeLimitSeconds;
    if (error != std::errc() || end != text.data() + text.size() || seconds == 0) return kDefaultIspTimeLimitSeconds;
    return static_cast<int32_t>(std::min<uint64_t>(seconds, kLongestIspTimeLimitSeconds));
}

int32_t ispTimeLimitSeconds(const std::string& settingsPath)
{
    return ispTimeLimitFrom(ProfileFile(settingsPath).read(kIspSection, kTimeLimitKey));
}

} // namespace fw
