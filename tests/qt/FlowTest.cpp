// What the real windows add to the handlers pinned on the virtual clock:
// each button, menu item, close request and timer reaches its handler. The
// flows and their endings are pinned without widgets and not run again here;
// the whole upgrade through the window runs once, on a real line, in e2e.

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTreeWidget>
#include <stdexcept>

#include "FixedDeviceSource.h"
#include "ModalAnswerer.h"
#include "PackageMaker.h"
#include "ProjectorModel.h"
#include "SimProcessRunner.h"
#include "SimSerialPort.h"
#include "TempFolder.h"
#include "VirtualEventLoop.h"
#include "ground/ProfileFile.h"
#include "qt/WindowSession.h"
#include "record/ServiceRecord.h"

using fw::sim::PortAvailability;

namespace {

// The real windows on the projector model and the virtual clock: the
// simulated port on port 1, and a technician answering every box and
// dialog. The flows run elsewhere; here only what reaches the handlers.
struct GuiRig {
    GuiRig() : port(loop, projector), processes(loop)
    {
        session.setProgramEnd([this] {
            ++programEnds;
            portOpenAtEnd = port.portOpen();
        });
    }

    fw::qt::Form2& form2() { return session.form2(); }
    fw::qt::QtView& view() { return session.view(); }
    fw::Tool& tool() { return session.tool(); }
    // A service record the logic writes to and the History item reads; its last line.
    void keepRecord()
    {
        fw::RecordSetup setup;
        setup.path = recordPath;
        setup.program = "firmware-upgrade-tool";
        record = std::make_unique<fw::ServiceRecord>(setup);
        tool().events.add(*record);
        session.setRecordPath(recordPath);
    }
    std::string lastRecordLine() const
    {
        const std::string text = fw::testing::readFile(recordPath);
        const auto start = text.find_last_of('\n', text.size() - 2);
        return text.substr(start == std::string::npos ? 0 : start + 1);
    }

    fw::sim::VirtualEventLoop loop;
    fw::sim::ProjectorModel projector;
    fw::sim::SimSerialPort port;
    fw::sim::SimProcessRunner processes;
    fw::sim::TempFolder programFolder;
    fw::sim::TempFolder workFolder;
    ModalAnswerer technician;
    fw::qt::WindowSession session{port, loop, processes, programFolder.str(), workFolder.str()};
    int programEnds = 0;
    bool portOpenAtEnd = true;
    std::string recordPath = workFolder.file("upgrades.jsonl");
    std::unique_ptr<fw::ServiceRecord> record;
};

const QString kCloseWhileBusy = "now, the projector will become damaged. Are you sure?";

void click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

} // namespace

// A fault of the program itself on the way shows a critical box naming it,
// and the record's entry ends with that message.
TEST(WindowWiring, TestButtonRunsTheCommunicationTestAndAFaultOfTheProgramIsShownAsOne)
{
    GuiRig r;
    r.keepRecord();
    r.session.start();
    click(r.form2().cmdTest());  // its bytes on the wire are pinned with the link
    r.port.onWire = [](const fw::sim::WireRecord&) { throw std::logic_error("vector::at out of range"); };
    click(r.form2().cmdTest());
    const QString fault = "ERROR: Internal program error: vector::at out of range. "
                          "The operation was stopped. Please report this message.";
    EXPECT_EQ(r.technician.texts(), (QStringList{"Test OK!", fault}));
    EXPECT_EQ(r.technician.boxes().back().icon, QMessageBox::Critical);
    const std::string lastLine = r.lastRecordLine();
    EXPECT_NE(lastLine.find(R"("outcome":"failed","reason":"unexpected","message":")" + fault.toStdString()),
              std::string::npos)
        << lastLine;
}

TEST(WindowWiring, ExitItemAndCloseWhileBusyAskAndOnlyYesEndsTheProgram)
{
    GuiRig r;
    r.session.start();
    ASSERT_TRUE(r.port.portOpen());
    r.form2().pExit()->trigger();  // unscripted: No
    r.tool().state.DownloadBusy = true;
    r.form2().close();  // unscripted: No
    EXPECT_EQ(r.technician.texts(), (QStringList{"Exit this program?", kCloseWhileBusy}));
    EXPECT_TRUE(r.form2().isVisible());
    EXPECT_EQ(r.programEnds, 0);

    r.technician.answerNext(QMessageBox::Yes);
    r.form2().pExit()->trigger();
    EXPECT_EQ(r.programEnds, 1);

    r.technician.answerNext(QMessageBox::Yes);
    r.form2().close();
    EXPECT_FALSE(r.form2().isVisible());
    EXPECT_EQ(r.programEnds, 2);
    EXPECT_FALSE(r.portOpenAtEnd);
}

// Rows of the venue window at work count as a download for the close: the
// same question, and leaving stops them before the program ends.
TEST(WindowWiring, CloseWhileAVenueRunsAsksAsForADownloadAndStopsTheVenueFirst)
{
    GuiRig r;
    bool venueRunning = true;
    int venueLeft = 0;
    r.session.setOtherWork([&] { return venueRunning; }, [&] { ++venueLeft; });
    r.session.start();
    r.form2().close();  // unscripted: No
    EXPECT_EQ(r.technician.texts(), QStringList{kCloseWhileBusy});
    EXPECT_TRUE(r.form2().isVisible());
    EXPECT_EQ(venueLeft, 0);

    r.technician.answerNext(QMessageBox::Yes);
    r.form2().close();
    EXPECT_EQ(venueLeft, 1);
    EXPECT_EQ(r.programEnds, 1);

    venueRunning = false;  // an idle venue: no question
    r.form2().show();
    r.form2().close();
    EXPECT_EQ(r.technician.texts().size(), 2);
    EXPECT_EQ(r.form2().mnuVenue()->text(), "&Venue");
}

TEST(WindowWiring, PortDialogListsDevicesAsTheyComeAndGoAndOkAppliesThePickedOne)
{
    GuiRig r;
    fw::DetectedDevice ttyS0{"/dev/ttyS0", "", "", "", {}, {}, 1, {}, {}};
    fw::DetectedDevice adapter{"/dev/ttyUSB0", "FT232R USB UART", "FTDI", "A10K3Z", 0x0403, 0x6001, 0, {}, {}};
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
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(r.port.commPort(), 2);
    EXPECT_TRUE(r.port.portOpen());
    EXPECT_EQ(fw::ProfileFile(r.tool().settingsPath()).read("Ports", "COM2"), "/dev/ttyUSB0");  // the pick reached the logic

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

// The window closed (by a shutdown, a flat battery) while "Test OK!" still
// shows: the record already holds the test ended, with its outcome. The
// History item then lists it from the same record.
TEST(WindowWiring, TheRecordHoldsTheEndWhileTheLastBoxShowsAndHistoryListsIt)
{
    GuiRig r;
    r.keepRecord();
    r.session.start();

    std::string lastLineWhileOpen;
    r.technician.whileOpen = [&](QMessageBox&) {
        lastLineWhileOpen = r.lastRecordLine();
        r.form2().close();
    };
    click(r.form2().cmdTest());
    EXPECT_EQ(r.technician.texts(), QStringList{"Test OK!"});
    EXPECT_EQ(r.programEnds, 1);
    EXPECT_NE(lastLineWhileOpen.find(R"("state":"ended")"), std::string::npos) << lastLineWhileOpen;
    EXPECT_NE(lastLineWhileOpen.find(R"("outcome":"succeeded","reason":"none","message":"Test OK!")"), std::string::npos)
        << lastLineWhileOpen;

    EXPECT_EQ(r.session.historyWindow(), nullptr);
    r.form2().History()->trigger();
    fw::qt::HistoryWindow* history = r.session.historyWindow();
    ASSERT_NE(history, nullptr);
    EXPECT_TRUE(history->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return history->loaded(); }, 10000));
    ASSERT_EQ(history->shown().rowCount(), 1);
    EXPECT_EQ(history->shown().index(0, fw::qt::HistoryModel::Outcome).data().toString(), "succeeded");
}
