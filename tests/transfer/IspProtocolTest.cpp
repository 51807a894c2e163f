#include <gtest/gtest.h>

#include "PackageMaker.h"
#include "isp/IspClient.h"
#include "isp/IspScaler.h"

using namespace fw::sim;
using namespace fw::sim::isp;

namespace {

// Runs the client against the scaler with instant delivery; `onLine` may
// change the bytes the scaler gets. Returns the scaler's flash.
template <typename Change>
std::optional<std::string> flash(IspClient& client, IspScaler& scaler, Change onLine)
{
    Micros now = 0;
    std::string out = client.start();
    for (int steps = 0; !client.finished() && steps < 10000; ++steps) {
        now += ms(1);
        std::string answers;
        if (!out.empty())
            for (const Emission& e : scaler.receive(now, onLine(out))) answers += e.bytes;
        out.clear();
        for (char b : answers) out += client.received(b);
        if (answers.empty()) out = client.timedOut();
    }
    return scaler.flashed();
}

std::string unchanged(const std::string& bytes) { return bytes; }

} // namespace

TEST(IspProtocol, ImageArrivesWholeAndRefusedFramesAreSentAgain)
{
    const std::string image = fw::testing::imageBytes(50000, 3);
    IspScaler scaler;
    scaler.refuseNextDataFrame();
    IspClient client(image);
    EXPECT_EQ(flash(client, scaler, unchanged), image);
    EXPECT_TRUE(client.succeeded());
    EXPECT_EQ(client.resends(), 1u);
}

TEST(IspProtocol, DamagedFrameIsNeverWrittenAndIsSentAgainAfterTheTimeOut)
{
    const std::string image = fw::testing::imageBytes(20000, 4);
    IspScaler scaler;
    IspClient client(image);
    int frames = 0;
    auto damageThird = [&](std::string bytes) {
        if (++frames == 3) bytes[10] = static_cast<char>(bytes[10] ^ 0x40);
        return bytes;
    };
    EXPECT_EQ(flash(client, scaler, damageThird), image);
    EXPECT_EQ(client.resends(), 1u);
}

TEST(IspProtocol, EchoOfTheToolsOwnFramesIsNeverTakenForAnAnswer)
{
    const std::string image = fw::testing::imageBytes(9000, 5);
    IspClient client(image);
    std::string sent = client.start();
    std::string next;
    for (char b : sent) next += client.received(b);  // a projector in command mode echoes
    EXPECT_EQ(next, "");
    EXPECT_EQ(client.framesAcknowledged(), 0u);
    for (int i = 0; i < 4; ++i) client.timedOut();
    EXPECT_TRUE(client.finished());
    EXPECT_FALSE(client.succeeded());
}
