#include <gtest/gtest.h>

#include "Bytes.h"
#include "net/ComPortClient.h"
#include "net/ServerFaults.h"

using namespace fw::platform;
using namespace fw::platform::telnet;
using fw::testing::bytes;

namespace {

// The server's answer to a COM-PORT-OPTION command: its code plus 100.
Command answer(int code, std::initializer_list<int> value)
{
    return {kSb, kComPortOption, static_cast<char>(code + 100) + bytes(value)};
}

// A client that greeted and asked for 38400 8N1.
struct AskingClient {
    AskingClient()
    {
        client.greeting();
        client.setLine(38400, true);
    }
    ComPortClient client;
};

const std::initializer_list<int> k38400 = {0, 0, 0x96, 0};

} // namespace

// Each option as the server offers or asks for it: a change of state is
// answered once, a refusal each time; refusing 8-bit data or the line
// control declines.
TEST(ComPortClient, AnswersANegotiationOnlyWhereItsStateChangesOrToRefuse)
{
    const struct {
        uint8_t verb;
        uint8_t option;
        std::string reply;
        bool refusal;
        bool agreed;
        bool declined;
    } cases[] = {
        {kDo, kComPortOption, "", false, true, false},  // offered in the greeting
        {kDo, kBinary, "", false, false, false},
        {kDo, 24, negotiation(kWont, 24), true, false, false},  // terminal type: not ours
        {kWill, kSuppressGoAhead, "", false, false, false},
        {kWill, 1, negotiation(kDont, 1), true, false, false},  // echo: not wanted
        {kDont, kSuppressGoAhead, negotiation(kWont, kSuppressGoAhead), false, false, false},
        {kDont, kComPortOption, negotiation(kWont, kComPortOption), false, false, true},
        {kWont, kBinary, negotiation(kDont, kBinary), false, false, true},
        {kWont, 1, "", false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.verb) + "/" + std::to_string(c.option));
        ComPortClient client;
        client.greeting();
        EXPECT_EQ(client.take({c.verb, c.option, {}}), c.reply);
        EXPECT_EQ(client.agreed(), c.agreed);
        EXPECT_EQ(client.declined(), c.declined);
        EXPECT_EQ(client.take({c.verb, c.option, {}}), c.refusal ? c.reply : "");
    }
}

// Each answer held against what was asked: the first that differs is the
// refusal, in the technician's words.
TEST(ComPortClient, TheLineIsSetOnlyWhenEveryAnswerIsWhatWasAsked)
{
    AskingClient a;
    for (const Command& c : {answer(1, k38400), answer(2, {8}), answer(3, {1})}) a.client.take(c);
    EXPECT_FALSE(a.client.lineAnswered());
    a.client.take(answer(4, {1}));
    EXPECT_TRUE(a.client.lineAnswered());
    EXPECT_FALSE(a.client.refusal());

    const struct {
        Command answer;
        std::string text;
    } refusals[] = {
        {answer(1, {0, 0, 0x25, 0x80}), " set the line to 9600 bit/s, not 38400."},
        {answer(2, {7}), " set the line to 7 data bits, not 8."},
        {answer(3, {3}), " set the line to parity code 3, not parity code 1."},
        {answer(4, {2}), " set the line to stop bits code 2, not stop bits code 1."},
    };
    for (const auto& r : refusals) {
        SCOPED_TRACE(r.text);
        AskingClient refused;
        refused.client.take(r.answer);
        ASSERT_TRUE(refused.client.refusal());
        EXPECT_EQ(lineRefusalText(*refused.client.refusal(), "gw:2217"), "The serial server at gw:2217" + r.text);
    }
}

// Notifications, answers to control and purge, answers of another option
// and answers of the wrong length are taken and dropped: none counts as an
// answer to the line, nor do the last bytes of a longer one.
TEST(ComPortClient, NotificationsAndOtherAnswersNeverAnswerTheLine)
{
    AskingClient a;
    for (int i = 0; i < 1000; ++i)
        for (const Command& c : {answer(6, {0x60}), answer(7, {0x30}), answer(5, {1}), answer(12, {1}),
                                 Command{kSb, kBinary, bytes({101, 0, 0, 0x96, 0})}, answer(1, {}),
                                 answer(1, {0, 0, 0, 0x96, 0}), answer(1, {0x96, 0}), answer(2, {0, 8}),
                                 answer(3, {}), answer(4, {1, 1})})
            EXPECT_EQ(a.client.take(c), "");
    EXPECT_FALSE(a.client.lineAnswered());
    EXPECT_EQ(a.client.rateAnswers(), 0u);
    EXPECT_FALSE(a.client.refusal());
}
