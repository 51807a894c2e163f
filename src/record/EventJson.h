#pragma once

#include <string>

#include "ground/Events.h"

namespace fw {

// The version of the events' JSON form: raised when a field changes its
// meaning or goes; new fields may come without it.
inline constexpr int kEventSchemaVersion = 1;

// Where and when an event happened, as a front end knows it.
struct EventStamp {
    std::string time;  // UTC, ISO 8601
    int port = 0;      // the projector's port; 0 for none
    std::string label = {};  // the projector's label in a venue file; empty for none
};

// One event as one line of JSON: "schema", "type", "time", "port" and
// "label" when there are, then the event's own fields.
std::string eventJson(const Event& event, const EventStamp& stamp);

// "succeeded", "declined" or "failed".
const char* outcomeName(Reason reason);

} // namespace fw
