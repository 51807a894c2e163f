#include <gtest/gtest.h>

#include <QTest>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <termios.h>
#include <thread>
#include <unistd.h>

#include "ground/LineTiming.h"
#include "ground/PortError.h"
#include "qt/QtSerialPort.h"

using fw::CommEvent;
using fw::PortError;
using fw::qt::QtSerialPort;

namespace {

// A pseudo-terminal: the program opens the slave side by its device name,
// the test plays the far end on the master side.
class PtyPair {
public:
    PtyPair()
    {
        char name[256] = {};
        if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0) throw std::runtime_error("openpty failed");
        slaveName_ = name;
        // The far end reads raw bytes, and never blocks the test.
        termios raw{};
        tcgetattr(master_, &raw);
        cfmakeraw(&raw);
        tcsetattr(master_, TCSANOW, &raw);
        fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    }
    ~PtyPair()
    {
        close(slave_);
        hangUp();
    }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    const std::string& slaveName() const { return slaveName_; }

    // The far end sends.
    void send(const std::string& bytes)
    {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = write(master_, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno != EAGAIN && errno != EINTR) throw std::runtime_error("pty write failed");
            if (n > 0) done += static_cast<std::size_t>(n);
        }
    }
    // The far end goes away: the line hangs up.
    void hangUp()
    {
        if (master_ >= 0) close(master_);
        master_ = -1;
    }
    // The line stops taking bytes, as a stalled driver does, and goes on again.
    void stopLine() { tcflow(slave_, TCOOFF); }
    void restartLine() { tcflow(slave_, TCOON); }
    // Waits, without running any event, until bytes from the far end are
    // waiting for the program; false when none came within `limitMs`.
    bool awaitBytesForProgram(int limitMs)
    {
        pollfd waiting{slave_, POLLIN, 0};  // the program's side of the line, looked at but never read
        return poll(&waiting, 1, limitMs) == 1 && (waiting.revents & POLLIN);
    }
    // What has arrived at the far end so far, up to `atMost` bytes (does not wait).
    std::string received(std::size_t atMost = SIZE_MAX)
    {
        std::string out;
        char buffer[4096];
        while (master_ >= 0 && out.size() < atMost) {
            const ssize_t n = read(master_, buffer, std::min(sizeof buffer, atMost - out.size()));
            if (n <= 0) break;
            out.append(buffer, static_cast<std::size_t>(n));
        }
        return out;
    }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string slaveName_;
};

// Generous: only a broken adapter ever waits this long.
constexpr int kArrivalCapMs = 5000;

int codeOf(const std::function<void()>& operation)
{
    try {
        operation();
    } catch (const PortError& e) {
        return e.code();
    }
    return 0;
}

struct QtSerialPortOnPty : ::testing::Test {
    PtyPair pty;
    std::unique_ptr<QtSerialPort> port = makePort();
    int receiveEvents = 0;

    std::unique_ptr<QtSerialPort> makePort()
    {
        auto p = std::make_unique<QtSerialPort>([this](int n) { return n == 3 ? pty.slaveName() : std::string(); });
        p->setCommPort(3);
        return p;
    }
    void SetUp() override
    {
        port->setEventHandler([this](CommEvent e) {
            if (e == CommEvent::Received) ++receiveEvents;
        });
    }
    void writeToSlowFarEnd(std::size_t block);
};

} // namespace

// Every byte value on the way out is pinned with the slow far end below.
TEST_F(QtSerialPortOnPty, EveryByteFromTheFarEndArrivesThroughTheReceiveEvent)
{
    port->setPortOpen(true);
    EXPECT_EQ(port->deviceName(), pty.slaveName());
    port->setInputMode(fw::InputMode::Binary);
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    pty.send(all);
    ASSERT_TRUE(QTest::qWaitFor([&] { return receiveEvents > 0; }, kArrivalCapMs));
    std::string got;
    (void)QTest::qWaitFor([&] { return (got += port->input()).size() >= 256; }, kArrivalCapMs);
    EXPECT_EQ(got, all);
    EXPECT_EQ(port->input(), "");
}

// The line is slower than the writer: every block must wait for room and
// still arrive whole and in order (the uP image on a real cable). Blocks of
// 1000 bytes leave the driver room for part of a block, as a serial
// adapter's driver does: the rest must follow the part, nothing lost.
TEST_F(QtSerialPortOnPty, FarEndThatReadsSlowlyStillGetsEveryBlockInOrder)
{
    for (const std::size_t block : {std::size_t{1024}, std::size_t{1000}}) {
        SCOPED_TRACE(block);
        port = makePort();
        writeToSlowFarEnd(block);
    }
}

void QtSerialPortOnPty::writeToSlowFarEnd(std::size_t block)
{
    constexpr std::size_t kBlocks = 256;
    std::string image;
    for (std::size_t i = 0; i < kBlocks * block; ++i) image += static_cast<char>((i * 7 + i / block) & 0xFF);
    port->setPortOpen(true);

    std::string got;
    // Stopped and joined however the writing ends: a write that throws fails the test.
    std::jthread farEnd([&](const std::stop_token& stop) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!stop.stop_requested() && got.size() < image.size() && std::chrono::steady_clock::now() < deadline) {
            // about 200 kB/s: the writer soon finds the line's buffers full
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            got += pty.received(1024);
        }
    });
    for (std::size_t i = 0; i < kBlocks; ++i) port->output(std::string_view(image).substr(i * block, block));
    farEnd.join();
    EXPECT_EQ(got.size(), image.size());
    EXPECT_TRUE(got == image);
}

TEST_F(QtSerialPortOnPty, ReceiveEventIsNeverRaisedFromInsideAWrite)
{
    port->setPortOpen(true);
    bool writing = false;
    bool raisedInsideWrite = false;
    port->setEventHandler([&](CommEvent) {
        raisedInsideWrite |= writing;
        ++receiveEvents;
        port->input();
    });
    pty.send("echo");
    ASSERT_TRUE(pty.awaitBytesForProgram(kArrivalCapMs));  // the reply waits in the driver while the program writes
    writing = true;
    port->output(std::string(1024, 'b'));
    writing = false;
    ASSERT_TRUE(QTest::qWaitFor([&] { return receiveEvents > 0; }, kArrivalCapMs));
    EXPECT_FALSE(raisedInsideWrite);
}

TEST_F(QtSerialPortOnPty, RefusalsCarryTheirCodesAndLeaveThePortAsItWas)
{
    QtSerialPort missing([](int) { return std::string("/dev/fwup-no-such-tty"); });
    auto other = makePort();
    struct Refused {
        const char* what;
        std::function<void()> operation;
        int code;
    };
    const Refused whileClosed[] = {
        {"output", [&] { port->output("x"); }, fw::kPortNotOpen},
        {"input", [&] { port->input(); }, fw::kPortNotOpen},
        {"discard", [&] { port->discardInput(); }, fw::kPortNotOpen},
        {"missing device", [&] { missing.setPortOpen(true); }, fw::kInvalidPort},
        {"port 0", [&] { port->setCommPort(0); }, fw::kInvalidPort},
    };
    for (const auto& r : whileClosed) EXPECT_EQ(codeOf(r.operation), r.code) << r.what;
    EXPECT_NO_THROW(port->setPortOpen(false));

    port->setPortOpen(true);
    const Refused whileOpen[] = {
        {"open twice", [&] { port->setPortOpen(true); }, fw::kPortAlreadyOpen},
        {"held by this port", [&] { other->setPortOpen(true); }, fw::kPortAlreadyOpen},
        {"number change", [&] { port->setCommPort(5); }, fw::kPortAlreadyOpen},
    };
    for (const auto& r : whileOpen) EXPECT_EQ(codeOf(r.operation), r.code) << r.what;
    EXPECT_TRUE(port->portOpen());
    EXPECT_EQ(port->commPort(), 3);
    EXPECT_FALSE(other->portOpen());

    port->setPortOpen(false);
    port->setCommPort(4);  // the mapping knows only port 3
    EXPECT_EQ(codeOf([&] { port->setPortOpen(true); }), fw::kInvalidPort);
    EXPECT_EQ(port->commPort(), 4);
}

TEST_F(QtSerialPortOnPty, LineHangingUpIsADeviceFailure)
{
    port->setPortOpen(true);
    pty.hangUp();
    const int code = codeOf([&] {
        for (int i = 0; i < 64; ++i) port->output(std::string(1024, 'x'));
    });
    EXPECT_EQ(code, fw::kPortDeviceFailure);
}

// A line that stops taking bytes fails the write once its time is up (a
// few seconds for a block), and what did not go out never goes out later.
TEST_F(QtSerialPortOnPty, StalledLineFailsTheWriteInsteadOfHanging)
{
    using namespace std::chrono;
    port->setPortOpen(true);
    pty.stopLine();
    const auto start = steady_clock::now();
    EXPECT_EQ(codeOf([&] { port->output(std::string(1024, 'x')); }), fw::kPortDeviceFailure);
    const auto waited = duration_cast<milliseconds>(steady_clock::now() - start).count();
    EXPECT_GE(waited, fw::writeTimeoutMs(1024) - 100);
    EXPECT_LT(waited, fw::writeTimeoutMs(1024) + kArrivalCapMs);

    pty.restartLine();
    QTest::qWait(100);  // QSerialPort would write what it still held now
    EXPECT_EQ(pty.received(), "");
    port->output("after");
    ASSERT_TRUE(QTest::qWaitFor([&] { return pty.received(5) == "after"; }, kArrivalCapMs));
}

TEST_F(QtSerialPortOnPty, RefusedOpenSaysWhetherThisUserMayUseTheDevice)
{
    port->setPortOpen(true);  // held: every other open is refused
    const struct {
        int accessError;
        fw::OpenRefusal refusal;
    } cases[] = {
        {0, fw::OpenRefusal::InUse},
        {EACCES, fw::OpenRefusal::PermissionDenied},
        {EPERM, fw::OpenRefusal::PermissionDenied},
        {EIO, fw::OpenRefusal::InUseOrPermissionDenied},
    };
    for (const auto& c : cases) {
        std::string probed;
        QtSerialPort other([this](int) { return pty.slaveName(); }, nullptr, [&](const std::string& device) {
            probed = device;
            return c.accessError;
        });
        try {
            other.setPortOpen(true);
            ADD_FAILURE() << "a held port opened";
        } catch (const PortError& e) {
            EXPECT_EQ(e.code(), fw::kPortAlreadyOpen);
            EXPECT_EQ(e.refusal(), c.refusal) << c.accessError;
            EXPECT_EQ(e.device(), pty.slaveName());
        }
        EXPECT_EQ(probed, pty.slaveName());
    }
}
