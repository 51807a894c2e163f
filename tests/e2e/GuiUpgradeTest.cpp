// The window program's own parts (Qt serial port, event loop, process
// runner, widgets) against projector-sim on a real pseudo-terminal and the
// stand-in ISP tool as a real process: the technician presses "Upgrade SW",
// answers Yes, and the simulated projector ends up holding both images.

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
    QProcess sim;  // its first line names its device; a sim still running at the end is killed with it
    sim.start(QStringLiteral(FWUP_PROJECTOR_SIM), {QStringLiteral("--report"), QString::fromStdString(report)});
    ASSERT_TRUE(sim.waitForReadyRead(5000));
    const std::string device = sim.readLine().trimmed().toStdString();
    QProcess maker;
    maker.start(QStringLiteral(FWUP_MAKE_SAMPLE_PACKAGE), {QString::fromStdString(work.file("Paket ö"))});
    ASSERT_TRUE(maker.waitForFinished(30000));
    const std::string list = maker.readAllStandardOutput().trimmed().toStdString();
    std::filesystem::copy_file(FWUP_ISP_TOOL, in("gf9450isp.exe"));
    fw::testing::writeFile(in("GF9450_CFI_DRIVER.BIN"), "driver");
    fw::testing::writeFile(in("settings.ini"), "[PATH]\r\nFILE=" + list + "\r\n[Ports]\r\nCOM1=" + device + "\r\n");

    fw::qt::QtSerialPort port(fw::qt::settingsPortDevices(fw::SettingsFile(program)));
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

    sim.terminate();  // it writes its report as it ends
    ASSERT_TRUE(sim.waitForFinished(5000));
    const std::string flashed = fw::testing::readFile(report);
    EXPECT_NE(flashed.find("up_whole=yes"), std::string::npos) << flashed;
    EXPECT_NE(flashed.find("scaler_whole=yes"), std::string::npos) << flashed;
}
