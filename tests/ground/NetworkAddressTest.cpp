#include <gtest/gtest.h>

#include "ground/NetworkAddress.h"

using namespace fw;

// A serial server's name: its host and a TCP port from 1 to 65535 in digits alone.
TEST(NetworkAddress, HostAndADigitsOnlyPortInRange)
{
    const std::pair<const char*, const char*> valid[] = {{"rfc2217://server:4001", "server:4001"},
                                                         {"socket://10.0.0.7:65535", "10.0.0.7:65535"},
                                                         {"rfc2217://[::1]:4001", "[::1]:4001"},
                                                         {"rfc2217://server:080", "server:80"}};
    for (const auto& [name, hostAndPort] : valid) {
        const auto address = parseNetworkAddress(name);
        ASSERT_TRUE(address) << name;
        EXPECT_EQ(address->hostAndPort(), hostAndPort);
    }
    for (const char* name : {"rfc2217://server:0", "rfc2217://server:65536", "rfc2217://server:99999999999",
                             "rfc2217://server:+80", "rfc2217://server:-80", "rfc2217://server: 80",
                             "rfc2217://server:", "rfc2217://:4001", "rfc2217://::1:4001", "telnet://server:23"})
        EXPECT_FALSE(parseNetworkAddress(name)) << name;
}
