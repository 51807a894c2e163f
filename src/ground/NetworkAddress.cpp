#include "ground/NetworkAddress.h"

#include "ground/Numbers.h"

namespace fw {

namespace {

constexpr std::string_view kRfc2217Prefix = "rfc2217://";
constexpr std::string_view kSocketPrefix = "socket://";
constexpr uint32_t kHighestTcpPort = 65535;

std::optional<uint16_t> tcpPort(std::string_view text)
{
    const auto port = numberFromDigits(text, 1, kHighestTcpPort);
    if (!port) return std::nullopt;
    return static_cast<uint16_t>(*port);
}

// "host:port" or "[v6]:port" into its two parts; none when either is missing.
std::optional<NetworkAddress> hostAndPort(std::string_view rest)
{
    std::string_view host;
    std::string_view port;
    if (rest.starts_with('[')) {
        const std::size_t close = rest.find("]:");
        if (close == std::string_view::npos) return std::nullopt;
        host = rest.substr(1, close - 1);
        port = rest.substr(close + 2);
    } else {
        const std::size_t colon = rest.rfind(':');
        if (colon == std::string_view::npos) return std::nullopt;
        host = rest.substr(0, colon);
        port = rest.substr(colon + 1);
        if (host.find(':') != std::string_view::npos) return std::nullopt;  // an IPv6 address needs brackets
    }
    const auto number = tcpPort(port);
    if (host.empty() || host.find_first_of("/ \t") != std::string_view::npos || !number) return std::nullopt;
    NetworkAddress address;
    address.host = std::string(host);
    address.port = *number;
    return address;
}

} // namespace

std::string NetworkAddress::hostAndPort() const
{
    const bool v6 = host.find(':') != std::string::npos;
    return (v6 ? "[" + host + "]" : host) + ":" + std::to_string(port);
}

bool isNetworkPortName(std::string_view name)
{
    return name.starts_with(kRfc2217Prefix) || name.starts_with(kSocketPrefix);
}

std::optional<NetworkAddress> parseNetworkAddress(std::string_view name)
{
    const bool rfc2217 = name.starts_with(kRfc2217Prefix);
    if (!rfc2217 && !name.starts_with(kSocketPrefix)) return std::nullopt;
    auto address = hostAndPort(name.substr(rfc2217 ? kRfc2217Prefix.size() : kSocketPrefix.size()));
    if (address) address->scheme = rfc2217 ? NetworkScheme::Rfc2217 : NetworkScheme::RawSocket;
    return address;
}

} // namespace fw
