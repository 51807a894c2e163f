#include "ground/PortForms.h"

#include "ground/NetworkAddress.h"
#include "ground/Numbers.h"
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
    const auto number = numberFromDigits(text, kLowestPortNumber, kHighestPortNumber);
    if (!number) return std::nullopt;
    return static_cast<int>(*number);
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
