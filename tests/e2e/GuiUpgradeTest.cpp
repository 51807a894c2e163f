// The window program's own parts (Qt serial port, event loop, process
// runner, widgets) against projector-sim on a real pseudo-terminal and the
// stand-in ISP tool as a real process: the technician presses "Upgrade SW",
// answers Yes, and the simulated projector ends up holding both images.

#include <QDir>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>

#include "ModalAnswerer.h"
#include "PackageMaker.h"
#include "TempFolder.h"
#include "qt/PortDevice.h"
#include "qt/QtEventLoop.h"
#include "qt/QtProcessRunner.h"
#include "qt/QtSerialPort.h"
#include "qt/WindowSession.h"

namespace {

// projector-sim as a child process; its first line names the device.
struct ProjectorSim {
    explicit ProjectorSim(const std::string& report)
    {
        process.start(QStringLiteral(FWUP_PROJECTOR_SIM), {QStringLiteral("--report"), QString::fromStdString(report)});
        process.waitForStarted();
        process.waitForReadyRead(5000);
        device = process.readLine().trimmed().toStdString();
    }
    ~ProjectorSim() { stop(); }
    void stop()
    {
        if (process.state() == QProcess::NotRunning) return;
        process.terminate();
        process.waitForFinished(5000);
    }
    QProcess process;
    std::string device;
};

std::string samplePackage(const std::string& folder)
{
    QProcess maker;
    maker.start(QStringLiteral(FWUP_MAKE_SAMPLE_PACKAGE), {QString::fromStdString(folder)});
    maker.waitForFinished(30000);
    return maker.readAllStandardOutput().trimmed().toStdString();
}

} // namespace

TEST(WindowOnARealLine, UpgradeSwConfirmedWithYesFlashesBothImages)
{
    fw::sim::TempFolder root;
    fw::sim::TempFolder work;
    // A technician's folder names are not ASCII: the program folder, the
    // package, and so the ISP tool's own arguments.
    const std::string program = root.file("Prüfung ä");
    std::filesystem::create_directory(program);
    const auto in = [&](const char* name) { return program + "/" + name; };
    const std::string report = work.file("report.txt");
    ProjectorSim sim(report);
    ASSERT_FALSE(sim.device.empty());
    const std::string list = samplePackage(work.file("Paket ö"));
    ASSERT_FALSE(list.empty());
    std::filesystem::copy_file(FWUP_ISP_TOOL, in("gf9450isp.exe"));
    fw::testing::writeFile(in("GF9450_CFI_DRIVER.BIN"), "driver");
    fw::testing::writeFile(in("settings.ini"), "[PATH]\r\nFILE=" + list + "\r\n[Ports]\r\nCOM1=" + sim.device + "\r\n");

    fw::qt::QtSerialPort port(fw::qt::settingsPortDevices(in("settings.ini")));
    fw::qt::QtEventLoop loop;
    fw::qt::QtProcessRunner processes;
    fw::qt::WindowSession session(port, loop, processes, program, work.str());
    ModalAnswerer technician;
    session.start();
    ASSERT_TRUE(session.form2().cmdUpgradeSW()->isEnabled()) << technician.texts().join('\n').toStdString();

    technician.answerNext(QMessageBox::Yes);
    QTest::mouseClick(session.form2().cmdUpgradeSW(), Qt::LeftButton);

    const QStringList texts = technician.texts();
    ASSERT_EQ(texts.size(), 2) << texts.join('\n').toStdString();
    EXPECT_TRUE(texts[0].startsWith("This upgrading process may take 15 minutes."));
    EXPECT_EQ(texts[1].toStdString(),
              "Download complete. Don't forget to turn the projector AC power off and on again to complete the "
              "software upgrading process.");
    EXPECT_EQ(technician.boxes()[1].icon, QMessageBox::Information);
    EXPECT_TRUE(session.form2().cmdUpgradeSW()->isEnabled());

    sim.stop();
    const std::string flashed = fw::testing::readFile(report);
    EXPECT_NE(flashed.find("up_whole=yes"), std::string::npos) << flashed;
    EXPECT_NE(flashed.find("scaler_whole=yes"), std::string::npos) << flashed;
}
