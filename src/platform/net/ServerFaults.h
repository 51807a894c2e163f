#pragma once

#include <string>

#include "net/ComPortClient.h"

namespace fw::platform {

// What went wrong with a serial server, as the technician reads it.
enum class ServerFault {
    Refused,        // nothing listens there, or it turned the connection away
    NotFound,       // the host name does not resolve
    Silent,         // no connection, or no answer to the line settings, in time
    Lost,           // the connection ended under the program
    StoppedTaking,  // the server stopped reading what the program sends
    NoLineControl,  // the server does not speak RFC 2217 (or refuses 8-bit data)
};

// "The serial server at HOST:PORT refused the connection." and the like;
// seconds only for Silent.
std::string serverFaultText(ServerFault fault, const std::string& hostAndPort, int seconds = 0);

// "The serial server at HOST:PORT set the line to 9600 bit/s, not 38400."
std::string lineRefusalText(const LineRefusal& refusal, const std::string& hostAndPort);

} // namespace fw::platform
