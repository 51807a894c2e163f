// What the real windows add to the handlers pinned on the virtual clock:
// each button, menu item, close request and timer reaches its handler, and
// paths travel between the widgets, the logic and the disk unchanged. The
// flows and their endings are pinned without widgets and not run again here;
// the whole upgrade through the window runs once, on a real line, in e2e.

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>

#include "FixedDeviceSource.h"
#include "GuiRig.h"
#include "ground/ProfileFile.h"

using fw::sim::PortAvailability;
using fw::testing::makePackage;

namespace {

const QString kCloseWhileBusy = "now, the projector will become damaged. Are you sure?";

void click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

std::string storedSetting(GuiRig& r, const char* section, const char* key)
{
    return fw::ProfileFile(r.tool().settingsPath()).read(section, key);
}

} // namespace

TEST(WindowWiring, TestButtonRunsTheCommunicationTest)
{
    GuiRig r;
    r.session.start();
    ASSERT_TRUE(r.form2().isVisible());
    EXPECT_TRUE(r.technician.boxes().empty());  // a first start says nothing

    click(r.form2().cmdTest());
    EXPECT_EQ(r.technician.texts(), QStringList{"Test OK!"});
    EXPECT_EQ(r.port.bytesSent(), "ky nop\r");
}

TEST(WindowWiring, CloseAsksOnlyWhileBusyAndNoKeepsTheWindowOpen)
{
    {
        GuiRig idle;
        idle.session.start();
        idle.form2().close();
        EXPECT_TRUE(idle.technician.boxes().empty());
        EXPECT_EQ(idle.programEnds, 1);
    }  // its technician would answer the next rig's boxes

    GuiRig r;
    r.session.start();
    ASSERT_TRUE(r.port.portOpen());
    r.tool().state.DownloadBusy = true;
    r.form2().close();  // unscripted: No
    ASSERT_EQ(r.technician.texts(), QStringList{kCloseWhileBusy});
    EXPECT_EQ(r.technician.boxes()[0].defaultButton, QMessageBox::No);
    EXPECT_TRUE(r.form2().isVisible());
    EXPECT_EQ(r.programEnds, 0);

    r.technician.answerNext(QMessageBox::Yes);
    r.form2().close();
    EXPECT_FALSE(r.form2().isVisible());
    EXPECT_EQ(r.programEnds, 1);
    EXPECT_FALSE(r.portOpenAtEnd);
}

TEST(WindowWiring, ExitItemAsksFirstAndEndsOnlyOnYes)
{
    GuiRig r;
    r.session.start();
    r.form2().pExit()->trigger();  // unscripted: No
    EXPECT_EQ(r.technician.texts(), QStringList{"Exit this program?"});
    EXPECT_EQ(r.programEnds, 0);
    EXPECT_TRUE(r.form2().isVisible());

    r.technician.answerNext(QMessageBox::Yes);
    r.form2().pExit()->trigger();
    EXPECT_EQ(r.programEnds, 1);
}

TEST(WindowWiring, PortDialogListsDevicesAsTheyComeAndGoAndOkAppliesThePickedOne)
{
    GuiRig r;
    fw::DetectedDevice ttyS0{"/dev/ttyS0", "", "", "", {}, {}, 1};
    fw::DetectedDevice adapter{"/dev/ttyUSB0", "FT232R USB UART", "FTDI", "A10K3Z", 0x0403, 0x6001, 0};
    fw::sim::FixedDeviceSource source({ttyS0});
    r.session.setDeviceSource(source);
    r.port.setAvailability(2, PortAvailability::Projector);
    r.session.start();
    r.form2().RS_232()->trigger();
    fw::qt::COM_Set* dialog = r.view().portDialog();
    ASSERT_TRUE(dialog->isVisible());
    QTreeWidget* list = dialog->lstDevices();
    ASSERT_EQ(list->topLevelItemCount(), 1);
    EXPECT_EQ(list->topLevelItem(0)->text(0), "COM1");

    source.list().push_back(adapter);  // plugged in while the dialog is open
    click(dialog->cmdRefresh());
    ASSERT_EQ(list->topLevelItemCount(), 2);
    const QTreeWidgetItem* row = list->topLevelItem(1);
    EXPECT_EQ((QStringList{row->text(0), row->text(1), row->text(2), row->text(3), row->text(4), row->text(5)}),
              (QStringList{"COM2 (new)", "/dev/ttyUSB0", "FT232R USB UART", "FTDI", "A10K3Z", "0403:6001"}));

    list->setCurrentItem(list->topLevelItem(1));
    emit list->itemClicked(list->topLevelItem(1), 0);
    EXPECT_EQ(dialog->Combo_Com()->currentText(), "2");
    click(dialog->RS232());
    EXPECT_TRUE(r.technician.boxes().empty());
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(r.port.commPort(), 2);
    EXPECT_TRUE(r.port.portOpen());
    EXPECT_EQ(storedSetting(r, "Ports", "COM2"), "/dev/ttyUSB0");
    EXPECT_EQ(storedSetting(r, "RS232Set", "COM"), "2");

    source.list().pop_back();  // pulled out
    click(dialog->cmdRefresh());
    EXPECT_EQ(list->topLevelItemCount(), 1);
}

TEST(WindowWiring, MissingIspToolIsNamedWithItsFolderInTheStatusLine)
{
    GuiRig r;
    r.session.start();
    r.session.noteMissingIspTool();
    const std::string notice = "gf9450isp.exe is expected in " + r.programFolder.str() + ".";
    EXPECT_EQ(r.form2().statusBar()->currentMessage().toStdString(), notice);

    GuiRig present;
    fw::testing::writeFile(present.programFolder.file("gf9450isp.exe"), "tool");
    present.session.start();
    present.session.noteMissingIspTool();
    EXPECT_TRUE(present.form2().statusBar()->currentMessage().isEmpty());
}

TEST(WindowWiring, OneSecondClockCountsIntoTheProcessingWindowsElapsedLabel)
{
    GuiRig r;
    r.session.timer1().setInterval(5);
    EXPECT_TRUE(QTest::qWaitFor([&] { return r.session.form3().Label2()->text() == "00:02"; }, 5000));
}

// A technician's folders and file names are not ASCII: the remembered
// package opens at start-up, the file dialog starts beside it, and the one
// picked there is shown, checked and stored as it is named.
TEST(NonAsciiPaths, ReachStartUpTheFileDialogAndThePathBoxUnchanged)
{
    GuiRig r;
    const std::string folder = r.workFolder.file("Prüfung");
    std::filesystem::create_directory(folder);
    const std::string remembered = folder + "/Bild ä.txt";
    const std::string picked = folder + "/Bild ö.txt";
    std::filesystem::rename(makePackage(folder).listFile, remembered);
    std::filesystem::copy_file(remembered, picked);
    r.rememberListFile(remembered);

    r.session.start();
    EXPECT_TRUE(r.technician.boxes().empty()) << r.technician.texts().join('\n').toStdString();
    EXPECT_EQ(r.form2().txtTxtSourceFilePath()->text(), QString::fromUtf8(remembered));
    EXPECT_TRUE(r.form2().cmdUpgradeSW()->isEnabled());

    r.technician.chooseFileNext(QString::fromUtf8(picked));
    click(r.form2().cmdOpenFile1());
    ASSERT_EQ(r.technician.fileDialogs().size(), 1u);
    EXPECT_EQ(r.technician.fileDialogs()[0].directory, QString::fromUtf8(folder));
    EXPECT_EQ(r.technician.fileDialogs()[0].preselected, QStringList{QString::fromUtf8(remembered)});
    EXPECT_TRUE(r.technician.boxes().empty()) << r.technician.texts().join('\n').toStdString();
    EXPECT_EQ(r.form2().txtTxtSourceFilePath()->text(), QString::fromUtf8(picked));
    EXPECT_EQ(r.form2().lblSize()->text(), "262144");
    EXPECT_EQ(storedSetting(r, "PATH", "FILE"), picked);
}
