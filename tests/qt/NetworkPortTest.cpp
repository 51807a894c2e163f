#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTest>
#include <atomic>
#include <map>
#include <memory>

#include "Bytes.h"
#include "RecordingServer.h"
#include "ground/PortError.h"
#include "net/TelnetStream.h"
#include "qt/AnyPort.h"

using namespace fw::platform::telnet;
using fw::testing::bytes;

namespace {

constexpr int kArrivalCapMs = 5000;

// IAC SB COM-PORT-OPTION code value... IAC SE
std::string comPort(std::initializer_list<int> codeAndValue)
{
    return bytes({kIac, kSb, kComPortOption}) + bytes(codeAndValue) + bytes({kIac, kSe});
}

// An RFC 2217 server as these tests need one: it agrees to what the client
// offers (the COM-PORT-OPTION only when `agree`), answers each setting with
// the value asked for unless `sets` gives another, and a rate question with
// its rate while `answerQuestions` holds.
struct ComPortServer {
    std::map<int, std::string> sets;
    bool agree = true;
    std::shared_ptr<std::atomic<bool>> answerQuestions = std::make_shared<std::atomic<bool>>(true);
    std::shared_ptr<Decoder> decoder = std::make_shared<Decoder>();
    std::shared_ptr<std::string> rate = std::make_shared<std::string>();

    std::string operator()(const std::string& arrived) const
    {
        std::string data;
        std::vector<Command> commands;
        decoder->feed(arrived, data, commands);
        std::string reply;
        for (const Command& c : commands) {
            if (c.verb == kWill) reply += negotiation(c.option == kComPortOption && !agree ? kDont : kDo, c.option);
            if (c.verb == kDo) reply += negotiation(kWill, c.option);
            if (c.verb == kSb && c.option == kComPortOption) reply += answer(c.payload);
        }
        return reply;
    }
    std::string answer(const std::string& payload) const
    {
        const int code = static_cast<uint8_t>(payload[0]);
        std::string value = payload.substr(1);
        const bool question = code == 1 && value == std::string(4, '\0');
        if (question && !*answerQuestions) return {};
        if (question) value = *rate;
        else if (sets.count(code)) value = sets.at(code);
        if (code == 1) *rate = value;
        return subnegotiation(kComPortOption, static_cast<char>(code + 100) + value);
    }
};

struct NetworkPortTest : ::testing::Test {
    std::unique_ptr<RecordingServer> server;
    std::unique_ptr<fw::qt::AnyPort> port;
    int receiveEvents = 0;

    void serve(RecordingServer::Answer answer, const std::string& scheme = "rfc2217://")
    {
        server = std::make_unique<RecordingServer>(std::move(answer));
        const std::string name = scheme + "127.0.0.1:" + std::to_string(server->port());
        port = std::make_unique<fw::qt::AnyPort>([name](int) { return name; });
        port->setEventHandler([this](fw::CommEvent) { ++receiveEvents; });
    }
    std::string serverName() const { return "The serial server at 127.0.0.1:" + std::to_string(server->port()); }
    // The code of a failed open, and what the port says of it.
    std::pair<int, std::string> openFailure()
    {
        try {
            port->setPortOpen(true);
        } catch (const fw::PortError& e) {
            return {e.code(), port->failureDetail()};
        }
        return {0, {}};
    }
    bool serverGot(const std::string& tail)
    {
        return QTest::qWaitFor([&] { return server->received().ends_with(tail); }, kArrivalCapMs);
    }
};

} // namespace

TEST_F(NetworkPortTest, OpenSetsTheLineTo38400EightNoneOneAndHoldsTheServerToIt)
{
    const std::string greeting = bytes({kIac, kWill, kBinary, kIac, kDo, kBinary, kIac, kWill, kSuppressGoAhead, kIac,
                                        kDo, kSuppressGoAhead, kIac, kWill, kComPortOption});
    const std::string settings = comPort({1, 0, 0, 0x96, 0}) + comPort({2, 8}) + comPort({3, 1}) + comPort({4, 1}) +
                                 comPort({5, 1}) + comPort({10, 0}) + comPort({11, 0}) + comPort({5, 9});
    serve(ComPortServer{});
    ASSERT_EQ(openFailure().first, 0);
    EXPECT_EQ(server->received(), greeting + settings);

    // A refusal ends the open with the server's answer in words (each
    // setting's: tests/net/ComPortClientTest.cpp).
    ComPortServer slower;
    slower.sets[1] = bytes({0, 0, 0x25, 0x80});
    serve(slower);
    EXPECT_EQ(openFailure(),
              std::make_pair(int(fw::kPortDeviceFailure), serverName() + " set the line to 9600 bit/s, not 38400."));
    EXPECT_FALSE(port->portOpen());
    ComPortServer declining;
    declining.agree = false;
    serve(declining);
    EXPECT_EQ(openFailure().second,
              serverName() + " does not set serial lines (RFC 2217): use socket:// for a raw TCP gateway.");
    server->hangUp();  // nothing listens there any more
    EXPECT_EQ(openFailure(), std::make_pair(int(fw::kPortDeviceFailure), serverName() + " refused the connection."));
}

TEST_F(NetworkPortTest, DataPassesWhole0xFFDoubledOnTheWireAndNotificationsAreNoData)
{
    serve(ComPortServer{});
    port->setPortOpen(true);
    const std::size_t opened = server->received().size();
    port->output(bytes({'a', 0xFF, 0x00, 'b'}));
    // then the question how far it has read
    EXPECT_TRUE(serverGot(bytes({'a', 0xFF, 0xFF, 0x00, 'b'}) + comPort({1, 0, 0, 0, 0})));
    EXPECT_EQ(server->received().size(), opened + 5 + comPort({1, 0, 0, 0, 0}).size());

    server->send(bytes({'N', 0xFF, 0xFF}) + comPort({106, 0x60}) + comPort({107, 0x30}) +
                 bytes({kIac, kWill, 1}) + bytes({'O', 'P'}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return receiveEvents > 0; }, kArrivalCapMs));
    std::string got;
    (void)QTest::qWaitFor([&] { return (got += port->input()).size() >= 4; }, kArrivalCapMs);
    EXPECT_EQ(got, bytes({'N', 0xFF, 'O', 'P'}));
    EXPECT_TRUE(serverGot(bytes({kIac, kDont, 1})));  // an option it does not want is refused

    port->setDtrEnable(true);
    EXPECT_TRUE(serverGot(comPort({5, 8})));
    port->discardInput();
    EXPECT_TRUE(serverGot(comPort({12, 1})));  // the server's received data is purged
    port->openNetworkPort()->setLineRate(115200);  // the ISP tool's rate, checked as the first
    EXPECT_NE(server->received().find(comPort({1, 0, 1, 0xC2, 0}) + comPort({2, 8})), std::string::npos);
}

TEST_F(NetworkPortTest, WhatTheServerHasNotReadOrMayStillHoldIsPending)
{
    ComPortServer quiet;
    *quiet.answerQuestions = false;
    serve(quiet);
    port->setPortOpen(true);
    port->output(std::string(3000, 'x'));
    EXPECT_GE(port->outputPending(), 3000u);  // not read, as far as the program knows
    server->send(comPort({101, 0, 0, 0x96, 0}));  // the answer to the question after the data
    ASSERT_TRUE(QTest::qWaitFor([&] { return port->outputPending() < 3000; }, kArrivalCapMs));
    QElapsedTimer drained;
    drained.start();
    // read by the server: what it holds leaves at 38400 bit/s
    ASSERT_TRUE(QTest::qWaitFor([&] { return port->outputPending() == 0; }, kArrivalCapMs));
    EXPECT_GE(drained.elapsed(), 500);
}

TEST_F(NetworkPortTest, LostConnectionIsADeviceFailureNamingTheServer)
{
    serve(ComPortServer{});
    port->setPortOpen(true);
    server->hangUp();
    int code = 0;
    try {
        for (int i = 0; i < 64; ++i) port->output(std::string(1024, 'x'));
    } catch (const fw::PortError& e) {
        code = e.code();
    }
    EXPECT_EQ(code, fw::kPortDeviceFailure);
    EXPECT_EQ(port->failureDetail(),
              "The connection to the serial server at 127.0.0.1:" + std::to_string(server->port()) + " was lost.");
}

// A raw gateway gets the bytes as they are, never faster than its line carries them.
TEST_F(NetworkPortTest, RawGatewayGetsBytesAsTheyAreAtTheLinesPace)
{
    serve({}, "socket://");
    port->setPortOpen(true);
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    QElapsedTimer elapsed;
    elapsed.start();
    for (int i = 0; i < 48; ++i) port->output(all);  // 12 kB: 3.2 s of line, 8 kB of it ahead
    EXPECT_GE(elapsed.elapsed(), 1000);
    EXPECT_TRUE(serverGot(all));
    EXPECT_EQ(server->received().size(), 48u * 256u);
}
