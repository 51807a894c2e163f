#include <gtest/gtest.h>

#include <QTest>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "PackageMaker.h"
#include "TempFolder.h"
#include "qt/QtProcessRunner.h"

using fw::qt::QtProcessRunner;
using fw::sim::TempFolder;

TEST(QtProcessRunner, StartFailuresSayWhatWasWrong)
{
    TempFolder folder;
    fw::testing::writeFile(folder.file("not-a-program"), "data");
    const struct {
        std::string program, inFolder;
        int errorCode;
    } cases[] = {
        {folder.file("gf9450isp.exe"), folder.str(), fw::qt::kFileNotFound},
        {folder.file("not-a-program"), folder.str(), fw::qt::kAccessDenied},
        {"/bin/true", folder.file("gone"), fw::qt::kPathNotFound},
    };
    QtProcessRunner runner;
    for (const auto& c : cases) {
        const fw::ProcessStart start = runner.start(c.program, {"-c", "1"}, c.inFolder);
        EXPECT_EQ(start.process, nullptr) << c.program;
        EXPECT_EQ(start.errorCode, c.errorCode) << c.program;
    }
}

TEST(QtProcessRunner, ProgramRunsDirectlyInTheFolderWithItsArgumentsVerbatim)
{
    TempFolder folder;
    QtProcessRunner runner;
    // A shell would split or act on these; the program must get them as they are.
    const fw::ProcessStart start = runner.start("/usr/bin/touch", {"a;b", "$(x) c"}, folder.str());
    ASSERT_NE(start.process, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return start.process->hasEnded(); }, 5000));
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "a;b"));
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "$(x) c"));
}

namespace {

bool processAlive(pid_t pid) { return ::kill(pid, 0) == 0; }

// The program writes the id of the child it leaves running, then goes on
// running itself, or ends at once.
pid_t startedChild(QtProcessRunner& runner, const TempFolder& folder, const char* thenWhat,
                   std::unique_ptr<fw::RunningProcess>& process)
{
    const std::string script = std::string("sleep 300 & echo $! > child.pid; ") + thenWhat;
    fw::ProcessStart start = runner.start("/bin/sh", {"-c", script}, folder.str());
    process = std::move(start.process);
    pid_t child = 0;
    if (!QTest::qWaitFor([&] { return (std::ifstream(folder.file("child.pid")) >> child) && child > 0; }, 5000)) return 0;
    return child;
}

} // namespace

// Stopped one by one, or all at once by any runner as the program ends.
TEST(QtProcessRunner, RunningProgramIsPolledAndStoppingItStopsWhatItStartedEvenAfterItEnded)
{
    const struct {
        const char* thenWhat;
        bool stopAll;
    } cases[] = {{"sleep 300", false}, {"exit 0", false}, {"sleep 300", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.thenWhat) + (c.stopAll ? ", all" : ""));
        TempFolder folder;
        QtProcessRunner runner;
        std::unique_ptr<fw::RunningProcess> process;
        const pid_t child = startedChild(runner, folder, c.thenWhat, process);
        ASSERT_GT(child, 0);  // so the runner started the program
        if (std::string(c.thenWhat) == "sleep 300") {
            EXPECT_FALSE(process->hasEnded());  // polled, never waited for
        }
        if (c.stopAll) {
            QtProcessRunner().stopAll();
        } else {
            process->stop();
            EXPECT_TRUE(process->hasEnded());
        }
        EXPECT_TRUE(QTest::qWaitFor([&] { return process->hasEnded() && !processAlive(child); }, 5000))
            << "child " << child << " still runs";
    }
}
