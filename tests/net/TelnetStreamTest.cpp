#include <gtest/gtest.h>

#include "Bytes.h"
#include "net/TelnetStream.h"

using namespace fw::platform::telnet;
using fw::testing::bytes;

namespace {

struct Decoded {
    std::string data;
    std::vector<Command> commands;
};

// What the decoder makes of the stream fed in pieces of `piece` bytes.
Decoded decoded(const std::string& stream, std::size_t piece)
{
    Decoder decoder;
    Decoded out;
    for (std::size_t at = 0; at < stream.size(); at += piece)
        decoder.feed(std::string_view(stream).substr(at, piece), out.data, out.commands);
    return out;
}

std::string shown(const std::vector<Command>& commands)
{
    std::string out;
    for (const Command& c : commands) out += std::to_string(c.verb) + "/" + std::to_string(c.option) + ":" + c.payload + " ";
    return out;
}

} // namespace

// Data with its 0xFF doubled, option negotiations, subnegotiations with
// 0xFF in their payload and two-byte commands, wherever the reads are cut.
TEST(TelnetDecoder, SplitsDataFromCommandsWhereverTheReadsAreCut)
{
    const std::string stream = "ab" + escapeData(bytes({0xFF, 0, 0xFF})) + negotiation(kWill, kBinary) + "c" +
                               subnegotiation(kComPortOption, bytes({101, 0, 0, 0xFF, 0xFF})) +
                               bytes({kIac, 241, kIac, 249}) + "d" + negotiation(kDont, 7) + escapeData("\xFF") +
                               subnegotiation(kIac, "\xFF");
    for (std::size_t piece = 1; piece <= stream.size(); ++piece) {
        SCOPED_TRACE(piece);
        const Decoded d = decoded(stream, piece);
        EXPECT_EQ(d.data, "ab" + bytes({0xFF, 0, 0xFF}) + "cd" + bytes({0xFF}));
        EXPECT_EQ(shown(d.commands), "251/0: 250/44:" + bytes({101, 0, 0, 0xFF, 0xFF}) + " 254/7: 250/255:\xFF ");
    }
}

// A server that opens a subnegotiation and sends 0xFF pairs without end
// makes the program hold no more than the longest subnegotiation; the
// over-long one is dropped whole and the data after it passes unharmed.
TEST(TelnetDecoder, AnEndlessSubnegotiationHoldsItsLimitAtMostAndIsDropped)
{
    Decoder decoder;
    std::string data;
    std::vector<Command> commands;
    decoder.feed(bytes({kIac, kSb, kComPortOption, 106}), data, commands);
    const std::string pairs(64 * 1024, '\xFF');
    for (int i = 0; i < 64; ++i) {  // 4 MiB on the wire
        decoder.feed(pairs, data, commands);
        ASSERT_LE(decoder.held(), Decoder::kLongestSubnegotiation);
    }
    decoder.feed(bytes({kIac, kSe}) + "OK" + escapeData("\xFF"), data, commands);
    EXPECT_EQ(decoder.held(), 0u);
    EXPECT_EQ(data, "OK\xFF");
    EXPECT_TRUE(commands.empty()) << shown(commands);

    // The longest one the program knows still comes through whole.
    const std::string longest = std::string(Decoder::kLongestSubnegotiation - 1, '\xFF');
    EXPECT_EQ(shown(decoded(subnegotiation(kComPortOption, longest), 7).commands), "250/44:" + longest + " ");
    EXPECT_EQ(decoded(subnegotiation(kComPortOption, longest + "x") + "z", 7).data, "z");
    EXPECT_TRUE(decoded(subnegotiation(kComPortOption, longest + "x"), 7).commands.empty());
}

// A subnegotiation broken by another command than SE is dropped; the
// command that broke it is taken as one, its option never taken for data.
TEST(TelnetDecoder, ABrokenSubnegotiationGivesWayToTheCommandThatBrokeIt)
{
    const struct {
        std::string stream;
        std::string data;
        std::string commands;
    } cases[] = {
        {bytes({kIac, kSb, kComPortOption, 106, 1, kIac, kWill, kSuppressGoAhead}) + "x", "x", "251/3: "},
        {bytes({kIac, kSb, kComPortOption, 106, kIac, 241}) + "x", "x", ""},
        {bytes({kIac, kSb, kComPortOption, 106, kIac, kSb, kComPortOption, 107, 3, kIac, kSe}) + "x", "x",
         "250/44:" + bytes({107, 3}) + " "},
        {bytes({kIac, kSb, kIac, kSe}) + "x", "x", ""},  // empty: no option to name
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.commands);
        const Decoded d = decoded(c.stream, 1);
        EXPECT_EQ(d.data, c.data);
        EXPECT_EQ(shown(d.commands), c.commands);
    }
}
