// The Qt adapters on Windows' own interfaces, under wine: the serial port on
// a COM port that the prefix maps to projector-sim's pseudo-terminal
// (FWUP_TEST_COM names its number, FWUP_TEST_FREE_COM one that maps to
// nothing), and the ISP tool's process tree as a job object (FWUP_TEST_ISP_TOOL
// names the stand-in tool).
#include <gtest/gtest.h>

#include <QProcessEnvironment>
#include <QTest>
#include <fstream>
#include <functional>
#include <vector>
#include <windows.h>

#include "TempFolder.h"
#include "ground/PortError.h"
#include "link/PortEvents.h"
#include "link/TestLink.h"
#include "qt/QtEventLoop.h"
#include "qt/QtProcessRunner.h"
#include "qt/QtSerialPort.h"

using fw::qt::QtSerialPort;

namespace {

int16_t portFromEnvironment(const char* name) { return static_cast<int16_t>(qEnvironmentVariableIntValue(name)); }

int codeOf(const std::function<void()>& operation)
{
    try {
        operation();
    } catch (const fw::PortError& e) {
        return e.code();
    }
    return 0;
}

bool processEnds(DWORD id)
{
    const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
    if (process == nullptr) return true;  // gone already
    const bool ended = WaitForSingleObject(process, 5000) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
}

} // namespace

// wine's serial ports take no DTR level; every receive event inverts it. A
// port without the line must answer the link test without one failure.
TEST(WindowsSerialPort, PortWithoutADtrLineAnswersTheLinkTestWithoutAFailure)
{
    const int16_t number = portFromEnvironment("FWUP_TEST_COM");
    ASSERT_GT(number, 0) << "FWUP_TEST_COM names no port";
    QtSerialPort port(fw::qt::defaultPortDevice);
    fw::qt::QtEventLoop loop;
    fw::Link link(port, loop);
    std::vector<int> failures;
    int received = 0;
    port.setEventHandler([&](fw::CommEvent event) {
        received += event == fw::CommEvent::Received;
        if (const auto failure = fw::takePortEvent(link, event)) failures.push_back(*failure);
    });
    port.setCommPort(number);
    port.setPortOpen(true);
    const fw::LinkCheck check = fw::TestLink(link);
    EXPECT_TRUE(check.ok());
    EXPECT_GT(received, 1);
    EXPECT_EQ(failures, std::vector<int>{});
}

TEST(WindowsSerialPort, MissingAndHeldPortsAreRefusedWithTheirCodes)
{
    QtSerialPort port(fw::qt::defaultPortDevice), other(fw::qt::defaultPortDevice);
    port.setCommPort(portFromEnvironment("FWUP_TEST_FREE_COM"));
    EXPECT_EQ(codeOf([&] { port.setPortOpen(true); }), fw::kInvalidPort);
    port.setCommPort(portFromEnvironment("FWUP_TEST_COM"));
    other.setCommPort(portFromEnvironment("FWUP_TEST_COM"));
    port.setPortOpen(true);
    EXPECT_EQ(codeOf([&] { other.setPortOpen(true); }), fw::kPortAlreadyOpen);
    EXPECT_FALSE(other.portOpen());
}

// The stand-in tool told to hang starts a child that hangs too; stopping
// the tool, or every tool as the program ends, stops both.
TEST(WindowsProcessTree, StoppingTheToolStopsTheChildItStarted)
{
    qputenv("FWSIM_ISP_HANG", "1");
    for (const bool stopAll : {false, true}) {
        SCOPED_TRACE(stopAll ? "stop all" : "stop one");
        fw::sim::TempFolder folder;
        fw::qt::QtProcessRunner runner;
        fw::ProcessStart start = runner.start(qgetenv("FWUP_TEST_ISP_TOOL").toStdString(), {}, folder.str());
        ASSERT_NE(start.process, nullptr);
        DWORD child = 0;
        ASSERT_TRUE(QTest::qWaitFor([&] { return (std::ifstream(folder.file("isp-child.pid")) >> child) && child > 0; },
                                    10000));
        EXPECT_FALSE(start.process->hasEnded());
        if (stopAll) fw::qt::QtProcessRunner().stopAll();
        else start.process->stop();
        EXPECT_TRUE(QTest::qWaitFor([&] { return start.process->hasEnded(); }, 5000));
        EXPECT_TRUE(processEnds(child)) << "child " << child << " still runs";
    }
    qunsetenv("FWSIM_ISP_HANG");
}
