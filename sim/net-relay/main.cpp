// net-relay: a network between fwupgrade and a serial server, for the
// end-to-end tests and the latency measurements: it relays TCP connections
// on 127.0.0.1 to host:port, adding a delay each way, or claiming another
// line rate than the server set. The first line of its output is the port
// it listens on.
//
//   net-relay --to HOST:PORT [--delay-ms N] [--claim-rate N] [--listen PORT]

#include <arpa/inet.h>
#include <charconv>
#include <iostream>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>

#include "NetRelay.h"

namespace {

bool number(const std::string& text, uint32_t& value)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

int listenOn(uint16_t port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    const int yes = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(fd, 8) != 0) return -1;
    return fd;
}

uint16_t portOf(int listener)
{
    sockaddr_in address{};
    socklen_t size = sizeof address;
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size);
    return ntohs(address.sin_port);
}

} // namespace

int main(int argc, char* argv[])
{
    fw::sim::NetworkFaults faults;
    std::string target;
    uint32_t listenPort = 0;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        const std::string value = argv[i + 1];
        const bool ok = option == "--to"           ? (target = value, true)
                        : option == "--delay-ms"   ? number(value, faults.delayMs)
                        : option == "--claim-rate" ? number(value, faults.claimedRate)
                        : option == "--listen"     ? number(value, listenPort)
                                                   : false;
        if (!ok) {
            std::cerr << "net-relay: bad option " << option << ' ' << value << '\n';
            return 2;
        }
    }
    const std::size_t colon = target.rfind(':');
    uint32_t port = 0;
    if (colon == std::string::npos || !number(target.substr(colon + 1), port) || port == 0 || port > 65535) {
        std::cerr << "usage: net-relay --to HOST:PORT [--delay-ms N] [--claim-rate N] [--listen PORT]\n";
        return 2;
    }
    const int listener = listenOn(static_cast<uint16_t>(listenPort));
    if (listener < 0) {
        std::cerr << "net-relay: cannot listen\n";
        return 1;
    }
    std::cout << portOf(listener) << std::endl;
    fw::sim::relayConnections(listener, target.substr(0, colon), static_cast<uint16_t>(port), faults);
    return 0;
}
