#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include "PackageMaker.h"
#include "ProjectorModel.h"
#include "TempFolder.h"
#include "transfer/IspCommandLine.h"
#include "transfer/ToolLog.h"

using namespace fw;
using namespace fw::sim;

namespace {

using Clock = std::chrono::steady_clock;

// Not a protocol time-out: a hung stand-in must not hang the test run.
constexpr auto kHangGuard = std::chrono::seconds(60);

// A pseudo-terminal whose slave side the stand-in opens as its serial port,
// with the projector model in ISP mode behind the master side.
class ProjectorOnPty {
public:
    ProjectorOnPty()
    {
        char name[256] = {};
        if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0) throw std::runtime_error("no pseudo-terminal");
        slaveName_ = name;
        termios tio{};
        tcgetattr(slave_, &tio);
        cfmakeraw(&tio);
        tcsetattr(slave_, TCSANOW, &tio);
        projector_.receive(0, "op dlgf\r");  // the upgrade program put the scaler in ISP mode
    }
    ~ProjectorOnPty()
    {
        ::close(master_);
        ::close(slave_);
    }

    const std::string& device() const { return slaveName_; }
    ProjectorModel& projector() { return projector_; }

    // Passes bytes between the stand-in and the model until the process
    // ends; returns its wait status.
    int serveUntilExit(pid_t child)
    {
        const auto start = Clock::now();
        for (;;) {
            int status = 0;
            if (waitpid(child, &status, WNOHANG) == child) return status;
            if (Clock::now() - start > kHangGuard) {
                kill(child, SIGKILL);
                waitpid(child, &status, 0);
                ADD_FAILURE() << "stand-in hung";
                return status;
            }
            pollfd p{master_, POLLIN, 0};
            if (poll(&p, 1, 20) <= 0) continue;
            char buffer[8192];
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n <= 0) continue;
            const auto now = static_cast<Micros>(
                std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count());
            for (const Emission& e : projector_.receive(now, std::string_view(buffer, std::size_t(n))))
                if (::write(master_, e.bytes.data(), e.bytes.size()) < 0) ADD_FAILURE() << "master write failed";
        }
    }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string slaveName_;
    ProjectorModel projector_;
};

// The program folder as the upgrade program leaves it for the tool.
struct ProgramFolder {
    TempFolder folder;
    std::string image;
    std::string imageBytes = fw::testing::imageBytes(300000, 21);

    explicit ProgramFolder(const std::string& portMapping)
    {
        fw::testing::writeFile(folder.file(kIspDriverName), "driver");
        image = folder.file("scaler image.bin");  // a blank in the path, passed as one argument
        fw::testing::writeFile(image, imageBytes);
        if (!portMapping.empty()) fw::testing::writeFile(folder.file("settings.ini"), "[Ports]\r\n" + portMapping + "\r\n");
    }

    // Starts the stand-in as the program does: directly, in the program
    // folder, with the arguments the program builds.
    pid_t start(int port, const std::vector<std::pair<std::string, std::string>>& environment = {}) const
    {
        std::vector<std::string> args{FWSIM_ISP_TOOL};
        for (const auto& a : ispArguments(port, image)) args.push_back(a);
        const pid_t child = fork();
        if (child == 0) {
            if (chdir(folder.str().c_str()) != 0) _exit(126);
            for (const auto& [name, value] : environment) setenv(name.c_str(), value.c_str(), 1);
            std::vector<char*> argv;
            for (auto& a : args) argv.push_back(a.data());
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        return child;
    }

    std::string log() const { return fw::testing::readFile(folder.file("log.txt")); }
};

} // namespace

TEST(IspToolExecutable, FlashesTheScalerOverASerialDeviceAndEndsItsLogWithTheSuccessLine)
{
    ProjectorOnPty line;
    ProgramFolder program("COM7=" + line.device());
    const int status = line.serveUntilExit(program.start(7));

    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(line.projector().flashedScalerImage(), program.imageBytes);
    const std::string log = program.log();
    EXPECT_TRUE(log.ends_with("\r\nCommand: 0503 0000 fafd")) << log;  // no line end after it
    EXPECT_NE(log.find(line.device()), std::string::npos);
}

TEST(IspToolExecutable, FailingOnceFailsOnlyTheFirstRunAcrossProcesses)
{
    ProjectorOnPty line;
    ProgramFolder program("COM3=" + line.device());
    const std::vector<std::pair<std::string, std::string>> failOnce{{"FWSIM_ISP_FAIL", "once"}};

    const int first = line.serveUntilExit(program.start(3, failOnce));
    EXPECT_TRUE(WIFEXITED(first) && WEXITSTATUS(first) == 1);
    EXPECT_EQ(lastLine(program.log()).rfind("Error:", 0), 0u) << program.log();
    EXPECT_FALSE(line.projector().flashedScalerImage().has_value());

    const int second = line.serveUntilExit(program.start(3, failOnce));
    EXPECT_TRUE(WIFEXITED(second) && WEXITSTATUS(second) == 0);
    EXPECT_EQ(lastLine(program.log()), kIspSuccessLine);
    EXPECT_EQ(line.projector().flashedScalerImage(), program.imageBytes);
}

TEST(IspToolExecutable, CrashingRunDiesLeavingALogWithoutAResultLine)
{
    ProjectorOnPty line;
    ProgramFolder program("COM3=" + line.device());
    const int status = line.serveUntilExit(program.start(3, {{"FWSIM_ISP_CRASH", "1"}}));

    EXPECT_TRUE(WIFSIGNALED(status));
    const std::string last = lastLine(program.log());
    EXPECT_NE(last, kIspSuccessLine);
    EXPECT_NE(last.rfind("Error:", 0), 0u);
    EXPECT_FALSE(line.projector().flashedScalerImage().has_value());
}

TEST(IspToolExecutable, UnmappedPortNumberMeansTheMatchingTtyS)
{
    ProgramFolder program("");
    int status = 0;
    waitpid(program.start(250), &status, 0);

    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1);
    EXPECT_EQ(lastLine(program.log()).rfind("Error: can't open COM250 (/dev/ttyS249)", 0), 0u) << program.log();
}
