#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace fw {

// A port reached over the network instead of a serial device: a serial
// server that speaks RFC 2217 (the line set by the program), or a raw TCP
// gateway (the line set on the gateway).
enum class NetworkScheme { Rfc2217, RawSocket };

struct NetworkAddress {
    NetworkScheme scheme = NetworkScheme::Rfc2217;
    std::string host;    // a name, an IPv4 address, or an IPv6 address without brackets
    uint16_t port = 0;

    // "host:port", "[::1]:port" for an IPv6 address: what messages name.
    std::string hostAndPort() const;
};

// True for a name that means a network port (rfc2217://, socket://), valid or not.
bool isNetworkPortName(std::string_view name);

// rfc2217://host:port or socket://host:port; none for anything else, or
// for a missing host, or a port that is not a number from 1 to 65535.
std::optional<NetworkAddress> parseNetworkAddress(std::string_view name);

} // namespace fw
