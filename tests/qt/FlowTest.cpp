// What the real windows add to the flows pinned on the virtual clock: each
// button, menu item, close request and timer reaches its handler, the boxes
// and the file dialog look as they should, the widgets follow the state.
// Endings already pinned without widgets are not run again here.

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QStatusBar>
#include <QTreeWidget>

#include "FixedDeviceSource.h"
#include "GuiRig.h"
#include "window/MainWindow.h"
#include "ground/ProfileFile.h"

using fw::sim::PortAvailability;
using fw::testing::makePackage;

namespace {

const QString kTestOk = "Test OK!";
const QString kMismatch = "Text file doesn't match the connected projector.";
const QString kConfirmation =
    "This upgrading process may take 15 minutes. During this time, DO NOT EXIT THIS PROGRAM and DO NOT PULL OUT "
    "COMMUNICATION CABLE. Otherwise, it will cause serious damage to the projector. Do you want to continue?";
const QString kDownloadComplete =
    "Download complete. Don't forget to turn the projector AC power off and on again to complete the software "
    "upgrading process.";
const QString kCloseWhileBusy = "now, the projector will become damaged. Are you sure?";

void click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

bool workButtons(GuiRig& r, bool upgrade, bool openFile, bool test)
{
    return r.form2().cmdUpgradeSW()->isEnabled() == upgrade && r.form2().cmdOpenFile1()->isEnabled() == openFile &&
           r.form2().cmdTest()->isEnabled() == test;
}

// Counts how often a window is shown.
struct ShowCounter : QObject {
    int shows = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Show) ++shows;
        return false;
    }
};

} // namespace

TEST(CommunicationTestThroughTheWindow, AnsweringProjectorGivesTestOk)
{
    GuiRig r;
    r.session.start();
    ASSERT_TRUE(r.form2().isVisible());
    EXPECT_TRUE(r.technician.boxes().empty());  // a first start says nothing
    EXPECT_TRUE(workButtons(r, false, true, true));

    click(r.form2().cmdTest());

    ASSERT_EQ(r.technician.texts(), QStringList{kTestOk});
    EXPECT_EQ(r.technician.boxes()[0].icon, QMessageBox::Information);
    EXPECT_EQ(r.technician.boxes()[0].title, "Firmware Upgrade Tool");
    EXPECT_EQ(r.port.bytesSent(), "ky nop\r");
    EXPECT_TRUE(workButtons(r, false, true, true));  // no package: Upgrade SW stays off
}

TEST(OpenFileThroughTheWindow, PackageForAnotherModelIsRefusedAfterTheDialog)
{
    GuiRig r({.modelName = "QT2416"});
    const auto package = makePackage(r.workFolder.str(), "QT2436_uP.bin");
    r.session.start();
    r.technician.chooseFileNext(QString::fromStdString(package.listFile));

    click(r.form2().cmdOpenFile1());

    ASSERT_EQ(r.technician.fileDialogs().size(), 1u);
    EXPECT_EQ(r.technician.fileDialogs()[0].nameFilters, (QStringList{"Txt Files (*.txt)", "(*.*)"}));
    ASSERT_EQ(r.technician.texts(), QStringList{kMismatch});
    EXPECT_EQ(r.technician.boxes()[0].icon, QMessageBox::Critical);
    EXPECT_EQ(r.form2().txtTxtSourceFilePath()->text().toStdString(), package.listFile);
    EXPECT_EQ(r.form2().lblSize()->text(), "262144");
    EXPECT_TRUE(workButtons(r, false, true, true));
    EXPECT_EQ(fw::ProfileFile(r.tool().settingsPath()).read("PATH", "FILE"), package.listFile);
    EXPECT_EQ(r.port.bytesSent(), "op model.name ?\r");
}

TEST(UpgradeThroughTheWindow, ConfirmedUpgradeRunsToDownloadCompleteAndGivesTheWindowBack)
{
    GuiRig r;
    const auto package = makePackage(r.workFolder.str());
    r.rememberListFile(package.listFile);
    r.session.start();
    ASSERT_TRUE(r.technician.boxes().empty());
    ASSERT_TRUE(workButtons(r, true, true, true));

    std::vector<int> progress;
    QObject::connect(r.form2().ProgressBar1(), &QProgressBar::valueChanged, [&](int v) { progress.push_back(v); });
    bool busyDuringBlocks = false, exitOffDuringBlocks = false;
    QObject::connect(r.form2().ProgressBar1(), &QProgressBar::valueChanged, [&](int v) {
        if (v != 40) return;
        busyDuringBlocks = r.form2().cursor().shape() == Qt::WaitCursor;
        exitOffDuringBlocks = !r.form2().pExit()->isEnabled() && !r.form2().RS_232()->isEnabled() &&
                              workButtons(r, false, false, false);
    });
    ShowCounter processingShown;
    r.session.form3().installEventFilter(&processingShown);

    r.technician.answerNext(QMessageBox::Yes);
    click(r.form2().cmdUpgradeSW());

    ASSERT_EQ(r.technician.texts(), (QStringList{kConfirmation, kDownloadComplete}));
    const auto& question = r.technician.boxes()[0];
    EXPECT_EQ(question.icon, QMessageBox::Question);
    EXPECT_EQ(question.buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(question.defaultButton, QMessageBox::No);
    EXPECT_EQ(r.technician.boxes()[1].icon, QMessageBox::Information);

    EXPECT_EQ(r.projector.flashedUpImage(), package.upBytes);
    EXPECT_EQ(r.projector.flashedScalerImage(), package.scalerBytes);

    // The bar climbed through every whole percent to 100 and was hidden after the uP phase.
    ASSERT_FALSE(progress.empty());
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_EQ(progress.back(), 100);
    EXPECT_TRUE(busyDuringBlocks);
    EXPECT_TRUE(exitOffDuringBlocks);
    EXPECT_FALSE(r.form2().ProgressBar1()->isVisible());

    // The processing window was up while the ISP tool ran, and is gone.
    EXPECT_GE(processingShown.shows, 1);
    EXPECT_FALSE(r.session.form3().isVisible());
    EXPECT_FALSE(r.session.form3().isTopmost());

    EXPECT_EQ(r.form2().cursor().shape(), Qt::ArrowCursor);
    EXPECT_TRUE(r.form2().pExit()->isEnabled());
    EXPECT_TRUE(r.form2().RS_232()->isEnabled());
    EXPECT_EQ(r.form2().lblFileCount()->text(), "");
    EXPECT_EQ(r.programEnds, 0);
}

namespace {

// A close request (the title bar's button) reaches the window once the bar
// shows `percent`, while the image is on its way.
void requestCloseAt(GuiRig& r, int percent)
{
    QObject::connect(r.form2().ProgressBar1(), &QProgressBar::valueChanged, [&r, percent, sent = false](int v) mutable {
        if (sent || v < percent) return;
        sent = true;
        QMetaObject::invokeMethod(&r.form2(), &QWidget::close, Qt::QueuedConnection);
    });
}

} // namespace

TEST(ExitGuardThroughTheWindow, YesDuringTheDownloadClosesThePortAndEndsTheProgram)
{
    GuiRig r;
    r.rememberListFile(makePackage(r.workFolder.str()).listFile);
    r.session.start();
    requestCloseAt(r, 40);
    r.technician.answerNext(QMessageBox::Yes);  // the confirmation
    r.technician.answerNext(QMessageBox::Yes);  // the exit guard
    click(r.form2().cmdUpgradeSW());

    ASSERT_GE(r.technician.texts().size(), 2);
    EXPECT_EQ(r.technician.texts()[1], kCloseWhileBusy);
    EXPECT_EQ(r.technician.boxes()[1].icon, QMessageBox::Question);
    EXPECT_EQ(r.technician.boxes()[1].defaultButton, QMessageBox::No);
    EXPECT_EQ(r.programEnds, 1);
    EXPECT_FALSE(r.portOpenAtEnd);
    EXPECT_FALSE(r.form2().isVisible());
    EXPECT_FALSE(r.technician.texts().contains(kDownloadComplete));
}

TEST(ExitItemThroughTheWindow, AsksFirstAndEndsOnlyOnYes)
{
    GuiRig r;
    r.session.start();
    r.form2().pExit()->trigger();  // unscripted: No
    EXPECT_EQ(r.technician.texts(), QStringList{"Exit this program?"});
    EXPECT_EQ(r.technician.boxes()[0].defaultButton, QMessageBox::No);
    EXPECT_EQ(r.programEnds, 0);
    EXPECT_TRUE(r.form2().isVisible());

    r.technician.answerNext(QMessageBox::Yes);
    r.form2().pExit()->trigger();
    EXPECT_EQ(r.programEnds, 1);
}

TEST(PortDialogThroughTheWindow, GoodPortIsAppliedStoredAndTheDialogHides)
{
    GuiRig r;
    r.port.setAvailability(4, PortAvailability::Projector);
    r.session.start();
    r.form2().RS_232()->trigger();
    r.view().portDialog()->Combo_Com()->setEditText("4");
    click(r.view().portDialog()->RS232());

    EXPECT_TRUE(r.technician.boxes().empty());
    EXPECT_FALSE(r.view().portDialog()->isVisible());
    EXPECT_EQ(r.port.commPort(), 4);
    EXPECT_TRUE(r.port.portOpen());
    EXPECT_EQ(fw::ProfileFile(r.tool().settingsPath()).read("RS232Set", "COM"), "4");
}

TEST(PortDialogThroughTheWindow, DetectedDevicesComeAndGoAndAPickedOneIsStoredOnOk)
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
    EXPECT_EQ(dialog->listText(), "2");
    click(dialog->RS232());
    EXPECT_TRUE(r.technician.boxes().empty());
    EXPECT_TRUE(r.port.portOpen());
    EXPECT_EQ(fw::ProfileFile(r.tool().settingsPath()).read("Ports", "COM2"), "/dev/ttyUSB0");
    EXPECT_EQ(fw::ProfileFile(r.tool().settingsPath()).read("RS232Set", "COM"), "2");

    source.list().pop_back();  // pulled out
    click(dialog->cmdRefresh());
    EXPECT_EQ(list->topLevelItemCount(), 1);
}

TEST(StartUpThroughTheWindow, AMissingIspToolIsNamedWithItsFolderInTheStatusLine)
{
    GuiRig r;
    r.session.start();
    r.session.noteMissingIspTool();
    const std::string notice = "gf9450isp.exe is expected in " + r.programFolder.str() + ".";
    EXPECT_EQ(r.form2().statusBar()->currentMessage().toStdString(), notice);
    EXPECT_EQ(r.tool().state.statusLine, notice);

    GuiRig present;
    fw::testing::writeFile(present.programFolder.file("gf9450isp.exe"), "tool");
    present.session.start();
    present.session.noteMissingIspTool();
    EXPECT_TRUE(present.form2().statusBar()->currentMessage().isEmpty());
}

TEST(OneSecondClockThroughTheWindow, CountsIntoTheProcessingWindowsElapsedLabel)
{
    GuiRig r;
    r.session.timer1().setInterval(5);
    EXPECT_TRUE(QTest::qWaitFor([&] { return r.session.form3().Label2()->text() == "00:02"; }, 5000));
    EXPECT_FALSE(r.session.form3().isVisible());
}
