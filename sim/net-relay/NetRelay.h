#pragma once

#include <cstdint>
#include <string>

namespace fw::sim {

// What the network between the program and a serial server does to it.
struct NetworkFaults {
    uint32_t delayMs = 0;       // added to every chunk, each way
    uint32_t claimedRate = 0;   // the server's rate answers (RFC 2217) rewritten to this; 0: as they are
};

// Takes connections on a listening socket and relays each to host:port,
// both ways, with the faults applied; returns when the listener fails.
void relayConnections(int listener, const std::string& host, uint16_t port, const NetworkFaults& faults);

// Rewrites every RFC 2217 rate answer (IAC SB COM-PORT-OPTION 101 and four
// bytes) in the chunk to the given rate.
void rewriteRateAnswers(std::string& chunk, uint32_t rate);

} // namespace fw::sim
