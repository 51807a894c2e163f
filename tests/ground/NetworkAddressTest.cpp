#include <gtest/gtest.h>

#include "ground/NetworkAddress.h"

using namespace fw;

// What a serial server's name may be: its host and a TCP port from 1 to
// 65535 in digits alone.
TEST(NetworkAddress, HostAndADigitsOnlyPortInRange)
{
    struct Case {
        const char* name;
        std::optional<std::string> hostAndPort;  // none: refused
    } cases[] = {
        {"rfc2217://server:4001", "server:4001"},
        {"socket://10.0.0.7:65535", "10.0.0.7:65535"},
        {"rfc2217://[::1]:4001", "[::1]:4001"},
        {"rfc2217://server:080", "server:80"},
        {"rfc2217://server:1", "server:1"},
        {"rfc2217://server:0", std::nullopt},
        {"rfc2217://server:65536", std::nullopt},
        {"rfc2217://server:99999999999", std::nullopt},
        {"rfc2217://server:+80", std::nullopt},
        {"rfc2217://server:-80", std::nullopt},
        {"rfc2217://server: 80", std::nullopt},
        {"rfc2217://server:80 ", std::nullopt},
        {"rfc2217://server:", std::nullopt},
        {"rfc2217://server", std::nullopt},
        {"rfc2217://:4001", std::nullopt},
        {"rfc2217://::1:4001", std::nullopt},  // an IPv6 address needs brackets
        {"telnet://server:23", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto address = parseNetworkAddress(c.name);
        EXPECT_EQ(address ? std::optional(address->hostAndPort()) : std::nullopt, c.hostAndPort);
    }
}
