#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ground/SettingsFile.h"

namespace fw {

// A venue: the projectors a technician upgrades together, in the same INI
// form as settings.ini and read and written by the same code:
//
//   [Venue]
//   NAME=Hall A
//   [Projectors]
//   Left stack=rfc2217://10.0.4.21:4001
//   Right stack=COM3
//
// Each line under [Projectors] is one projector: its label (unique in the
// file, letter case aside) and its port as --port takes it; the order of
// the lines is the order of the rows. Blank lines and lines beginning with
// ";" or "#" are left out.
inline constexpr SettingKey kVenueNameSetting{"Venue", "NAME"};
inline constexpr const char* kProjectorsSection = "Projectors";

struct VenueProjector {
    std::string label;
    std::string port;  // COMn, a device path, or a serial server's URL
    bool operator==(const VenueProjector&) const = default;
};

struct Venue {
    std::string name;
    std::vector<VenueProjector> projectors;
    bool operator==(const Venue&) const = default;
};

struct VenueReading {
    std::optional<Venue> venue;         // none when the file cannot be used
    std::vector<std::string> problems;  // each "line N: what", in the order of the lines
};

// Any bytes at all: a venue, or every line that keeps it from being one.
VenueReading readVenueText(std::string_view content);
VenueReading readVenueFile(const std::string& path);

// What keeps a venue from being written so that it reads back the same:
// a label that cannot be written or is there twice, a port of no known form
// or there twice. Empty when nothing does.
std::vector<std::string> venueProblems(const Venue& venue);

// The text of a venue file: the existing text with the venue's name and
// projectors in place of its own, every other section and line kept.
// Nothing when the venue has problems.
std::optional<std::string> venueText(std::string_view existing, const Venue& venue);

// Writes the venue; empty text when it was written, else why not. A file
// that cannot be read, or does not read as a venue, is never written over.
std::string writeVenueFile(const std::string& path, const Venue& venue);

// The problems of a reading as one line ("line 4: ...; line 7: ...").
std::string joinedProblems(const std::vector<std::string>& problems);

} // namespace fw
