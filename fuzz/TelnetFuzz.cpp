// A serial server's answers to the client, two ways. The input as it is,
// fed in pieces: whatever it holds, the decoder keeps no more than the
// longest subnegotiation, gives no more data than came, and the client
// never takes the line as set without the four answers it asked for. And
// the input read as a script of what a server sends (data with 0xFF in it,
// negotiations, subnegotiations of any length, 0xFF pairs without end,
// floods of notifications, two-byte commands), put on the wire as a server
// does and fed one byte at a time: after every byte (a connection cut
// there) the data and commands out are the beginning of those that went
// in, and at the end exactly those.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "net/ComPortClient.h"
#include "net/TelnetStream.h"

namespace {

using namespace fw::platform;
using namespace fw::platform::telnet;

constexpr std::size_t kLongest = Decoder::kLongestSubnegotiation;
constexpr std::size_t kMostOnTheWire = 256 * 1024;
constexpr uint32_t kRate = 38400;

void require(bool condition)
{
    if (!condition) std::abort();
}

bool same(const Command& a, const Command& b)
{
    return a.verb == b.verb && a.option == b.option && a.payload == b.payload;
}

class Input {
public:
    Input(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool more() const { return at_ < size_; }
    uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }

private:
    const uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

// What a server sent: the bytes on the wire, and the data and commands they hold.
struct Sent {
    std::string wire;
    std::string data;
    std::vector<Command> commands;

    void command(uint8_t verb, uint8_t option, const std::string& payload = {})
    {
        if (verb == kSb) wire += subnegotiation(option, payload);
        else wire += negotiation(verb, option);
        // Longer than any the program knows: dropped whole.
        if (verb != kSb || 1 + payload.size() <= kLongest) commands.push_back({verb, option, payload});
    }
};

Sent scriptOf(Input& in)
{
    Sent sent;
    while (in.more() && sent.wire.size() < kMostOnTheWire) {
        switch (in.byte() % 6) {
        case 0: {  // data, 0xFF among it as the input has it
            std::string data(in.byte(), '\0');
            for (char& c : data) c = static_cast<char>(in.byte());
            sent.wire += escapeData(data);
            sent.data += data;
            break;
        }
        case 1: {
            const auto verb = static_cast<uint8_t>(kWill + in.byte() % 4);
            sent.command(verb, in.byte());
            break;
        }
        case 2: {  // up to 16 KiB of one byte (0xFF: pairs without end, as far as the client can tell)
            const uint8_t option = in.byte();
            const std::size_t length = in.byte() * 64u + in.byte() % 64u;
            sent.command(kSb, option, std::string(length, static_cast<char>(in.byte())));
            break;
        }
        case 3: {  // a subnegotiation as the input has it
            const uint8_t option = in.byte();
            std::string payload(in.byte(), '\0');
            for (char& c : payload) c = static_cast<char>(in.byte());
            sent.command(kSb, option, payload);
            break;
        }
        case 4: {  // line state and modem state notifications
            const int count = in.byte() * 8;
            for (int i = 0; i < count; ++i)
                sent.command(kSb, kComPortOption, {static_cast<char>(106 + i % 2), static_cast<char>(in.byte())});
            break;
        }
        default:  // SE outside a subnegotiation, NOP, data mark ... go-ahead: dropped
            sent.wire += std::string{static_cast<char>(kIac), static_cast<char>(kSe + in.byte() % 10)};
            break;
        }
    }
    return sent;
}

bool holds(const std::vector<Command>& commands, const Command& wanted)
{
    for (const Command& c : commands)
        if (same(c, wanted)) return true;
    return false;
}

// The client asked for 38400 8N1 and takes what came; it may take the line
// as set only when the server answered each setting with what was asked.
void requireSoundClient(const std::vector<Command>& commands)
{
    ComPortClient client;
    client.greeting();
    client.setLine(kRate, true);
    for (const Command& c : commands) {
        const std::string reply = client.take(c);
        require(reply.empty() || reply.size() == 3);  // one answer at most: no flood back
    }
    const auto answer = [](std::string value) { return Command{kSb, kComPortOption, value}; };
    if (client.lineAnswered() && !client.refusal()) {
        require(holds(commands, answer(std::string{101, 0, 0, static_cast<char>(0x96), 0})));
        require(holds(commands, answer("\x66\x08")));
        require(holds(commands, answer("\x67\x01")));
        require(holds(commands, answer("\x68\x01")));
    }
    if (client.agreed()) require(holds(commands, {kDo, kComPortOption, {}}));
    if (client.declined())
        require(holds(commands, {kDont, kComPortOption, {}}) || holds(commands, {kDont, kBinary, {}}) ||
                holds(commands, {kWont, kBinary, {}}));
}

void decodeAsItIs(const uint8_t* data, std::size_t size)
{
    if (size == 0) return;
    const std::size_t piece = 1 + data[0] % 32;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Decoder decoder;
    std::string out;
    std::vector<Command> commands;
    for (std::size_t at = 0; at < bytes.size(); at += piece) {
        decoder.feed(bytes.substr(at, piece), out, commands);
        require(decoder.held() <= kLongest);
    }
    require(out.size() <= size);
    for (const Command& c : commands) require(c.payload.size() < kLongest);
    requireSoundClient(commands);
}

void decodeScript(const uint8_t* data, std::size_t size)
{
    Input in(data, size);
    const Sent sent = scriptOf(in);
    Decoder decoder;
    std::string out;
    std::vector<Command> commands;
    for (const char c : sent.wire) {
        const std::size_t dataBefore = out.size(), commandsBefore = commands.size();
        decoder.feed(std::string_view(&c, 1), out, commands);
        require(decoder.held() <= kLongest);
        require(out.size() <= sent.data.size() && commands.size() <= sent.commands.size());
        for (std::size_t i = dataBefore; i < out.size(); ++i) require(out[i] == sent.data[i]);
        for (std::size_t i = commandsBefore; i < commands.size(); ++i) require(same(commands[i], sent.commands[i]));
    }
    require(out == sent.data);
    require(commands.size() == sent.commands.size());
    requireSoundClient(commands);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    decodeAsItIs(data, size);
    decodeScript(data, size);
    return 0;
}
