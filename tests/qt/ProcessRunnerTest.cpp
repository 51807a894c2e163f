#include <gtest/gtest.h>

#include <QTest>
#include <filesystem>
#include <fstream>

#include "TempFolder.h"
#include "qt/QtProcessRunner.h"

using fw::qt::QtProcessRunner;
using fw::sim::TempFolder;

TEST(QtProcessRunner, MissingProgramIsFileNotFound)
{
    TempFolder folder;
    QtProcessRunner runner;
    const fw::ProcessStart start = runner.start(folder.file("gf9450isp.exe"), {"-c", "1"}, folder.str());
    EXPECT_EQ(start.process, nullptr);
    EXPECT_EQ(start.errorCode, fw::qt::kFileNotFound);
}

TEST(QtProcessRunner, OtherStartFailuresAreNotFileNotFound)
{
    TempFolder folder;
    QtProcessRunner runner;
    const std::string plainFile = folder.file("not-a-program");
    std::ofstream(plainFile) << "data";
    const fw::ProcessStart notRunnable = runner.start(plainFile, {}, folder.str());
    EXPECT_EQ(notRunnable.process, nullptr);
    EXPECT_EQ(notRunnable.errorCode, fw::qt::kAccessDenied);

    const fw::ProcessStart noFolder = runner.start("/bin/true", {}, folder.file("gone"));
    EXPECT_EQ(noFolder.process, nullptr);
    EXPECT_EQ(noFolder.errorCode, fw::qt::kPathNotFound);
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

TEST(QtProcessRunner, RunningProgramIsPolledWithoutBlocking)
{
    TempFolder folder;
    QtProcessRunner runner;
    const fw::ProcessStart start = runner.start("/bin/sleep", {"0.3"}, folder.str());
    ASSERT_NE(start.process, nullptr);
    EXPECT_FALSE(start.process->hasEnded());
    EXPECT_TRUE(QTest::qWaitFor([&] { return start.process->hasEnded(); }, 5000));
}
