#pragma once

#include <optional>
#include <string>

#include "ground/EventLoop.h"
#include "ground/SerialPort.h"

namespace fw {

// What every exchange with the projector works on: the port, the clock and
// event pump, and the text received so far (the hidden receive pane).
struct Link {
    Link(SerialPort& port_, EventLoop& loop_) : port(port_), loop(loop_) {}
    Link(const Link&) = delete;
    Link& operator=(const Link&) = delete;

    SerialPort& port;
    EventLoop& loop;
    std::string received;
};

// The failure number of a port operation that failed (8002, 8005, 8018,
// 8021); none when the port did what it was asked.
using PortFailure = std::optional<int>;

} // namespace fw
