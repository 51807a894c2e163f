// Arbitrary venue-file text: a reading is a venue or its problems, never
// both; a venue read holds no projector without a label or a known port and
// none twice; and written back, into the text it came from or into a new
// file, it reads back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "ground/PortForms.h"
#include "ground/VenueFile.h"

namespace {

void require(bool condition)
{
    if (!condition) std::abort();
}

void requireReadsBackAs(std::string_view existing, const fw::Venue& venue)
{
    const auto text = fw::venueText(existing, venue);
    if (!text) return;  // a name or file that cannot be written is refused, not mangled
    const fw::VenueReading again = fw::readVenueText(*text);
    require(again.venue.has_value() && *again.venue == venue);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    const fw::VenueReading reading = fw::readVenueText(content);
    require(reading.venue.has_value() == reading.problems.empty());
    if (!reading.venue) return 0;
    for (const fw::VenueProjector& p : reading.venue->projectors)
        require(!p.label.empty() && fw::portFormOf(p.port) != fw::PortForm::Unknown);
    if (!fw::venueProblems(*reading.venue).empty()) return 0;
    requireReadsBackAs(content, *reading.venue);
    requireReadsBackAs({}, *reading.venue);
    return 0;
}
