#include "ground/PortForms.h"

#include <charconv>

#include "ground/NetworkAddress.h"
#include "ground/SettingsFile.h"

namespace fw {

namespace {

constexpr std::string_view kPortPrefix = "COM";

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        const char c = text[i];
        const char upper = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        if (upper != prefix[i]) return false;
    }
    return true;
}

} // namespace

std::optional<int> portNumberOf(std::string_view text)
{
    if (startsWithIgnoringCase(text, kPortPrefix)) text.remove_prefix(kPortPrefix.size());
    if (text.empty() || text.front() < '0' || text.front() > '9') return std::nullopt;
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || value < kLowestPortNumber || value > kHighestPortNumber) return std::nullopt;
    return value;
}

bool isDevicePath(std::string_view text)
{
    return text.starts_with('/') || text.starts_with("\\\\") || isNetworkPortName(text);
}

PortForm portFormOf(std::string_view text)
{
    if (isNetworkPortName(text)) return parseNetworkAddress(text) ? PortForm::Network : PortForm::Unknown;
    if (isDevicePath(text)) return text.size() > 1 ? PortForm::DevicePath : PortForm::Unknown;
    return portNumberOf(text) ? PortForm::Number : PortForm::Unknown;
}

} // namespace fw
