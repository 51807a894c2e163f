// The venue window driven as a technician drives it: rows typed in and
// added, "Upgrade all", Yes, each row ending with its own result, against
// simulated projectors, each row on a thread of its own with its own
// virtual clock.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <atomic>
#include <map>
#include <mutex>

#include "JobRig.h"
#include "ModalAnswerer.h"
#include "qt/QtEventLoop.h"
#include "qt/VenueWindow.h"

using namespace fw;
using namespace fw::testing;
using fw::qt::VenueWindow;

namespace {

constexpr int kRunBoundMs = 120000;  // rows on the virtual clock end in seconds; a hang fails instead

// What a row's projector ended up holding, kept after its station is gone.
struct Flashed {
    bool up = false;
    bool scaler = false;
    std::size_t bytesReceived = 0;
};

// A row's projector on the virtual clock: made, run and destroyed on the
// row's own thread, as the program's stations are.
class SimStation final : public JobStation {
public:
    SimStation(sim::ProjectorOptions options, int16_t number, const std::string& programFolder,
               const std::string& workFolder, const Package& package, UpgradeQuestion& question,
               std::function<void(const Flashed&)> report)
        : projector_(std::move(options)), port_(loop_, projector_), processes_(loop_),
          isp_(loop_, projector_, port_, {}, number),
          job_(port_, loop_, processes_, programFolder, workFolder, question), package_(package),
          report_(std::move(report))
    {
        port_.setAvailability(number, sim::PortAvailability::Projector);
        isp_.installAs(processes_, job_.tool().programFile(kIspToolName));
    }
    ~SimStation() override
    {
        report_({projector_.flashedUpImage() == package_.upBytes,
                 projector_.flashedScalerImage() == package_.scalerBytes, port_.bytesSent().size()});
    }
    ProjectorJob& job() override { return job_; }

private:
    sim::VirtualEventLoop loop_;
    sim::ProjectorModel projector_;
    sim::SimSerialPort port_;
    sim::SimProcessRunner processes_;
    sim::isp::SimIspTool isp_;
    ProjectorJob job_;
    const Package& package_;
    std::function<void(const Flashed&)> report_;
};

// The window with simulated projectors behind COM1 to COM8, each as the
// test sets it up, and a technician answering every box.
struct VenueRig {
    VenueRig()
    {
        writeFile(programFolder.file(kIspDriverName), "driver");
        qt::VenueSetup setup;
        setup.listFile = package.listFile;
        setup.workingDirectory = workFolder.str();
        setup.assignPorts = [this](const std::vector<std::string>& ports) {
            return qt::assignPortNumbers(ports, SettingsFile(programFolder.str()));
        };
        setup.stations = [this](const qt::VenuePlan& plan) {
            return [this, plan](std::size_t row, UpgradeQuestion& question) {
                const int number = plan.rows[row].number;
                std::lock_guard lock(mutex);
                ++stationsMade;
                return std::make_unique<SimStation>(projectors[number], static_cast<int16_t>(number),
                                                    programFolder.str(), workFolder.str(), package, question,
                                                    [this, number](const Flashed& f) {
                                                        std::lock_guard lock(mutex);
                                                        flashed[number] = f;
                                                    });
            };
        };
        setup.endProgram = [this] { ++programEnds; };
        window = std::make_unique<VenueWindow>(std::move(setup));
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        QTRY_VERIFY(!window->lblPackage()->text().isEmpty());  // the package, checked off the window's thread
    }
    // The fields as a technician leaves them after a refused row: typed over.
    void add(const QString& label, const QString& port)
    {
        window->txtLabel()->selectAll();
        window->txtPort()->selectAll();
        QTest::keyClicks(window->txtLabel(), label);
        QTest::keyClicks(window->txtPort(), port);
        QTest::mouseClick(window->cmdAdd(), Qt::LeftButton);
    }
    // Alt and a key, on the window as the technician has it in front (a box
    // closed meanwhile took the focus with it).
    void press(Qt::Key key)
    {
        QApplication::setActiveWindow(window.get());
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : window.get(), key, Qt::AltModifier);
    }
    QString cell(int row, int column) const { return window->rows()->item(row, column)->text(); }
    bool waitForRunEnd(QSignalSpy& ended) const { return !ended.isEmpty() || ended.wait(kRunBoundMs); }

    sim::TempFolder programFolder;
    sim::TempFolder workFolder;
    Package package = makePackage(workFolder.str());
    std::map<int, sim::ProjectorOptions> projectors;
    std::mutex mutex;
    std::map<int, Flashed> flashed;
    int stationsMade = 0;
    int programEnds = 0;
    ModalAnswerer technician;
    std::unique_ptr<VenueWindow> window;
};

} // namespace

TEST(VenueWindow, UpgradeAllAsksOnceAndEachRowEndsWithItsOwnResult)
{
    VenueRig r;
    r.projectors[2].modelName = "QT2436";  // the wrong model
    r.projectors[3].silent = true;
    r.add("Left stack", "COM1");
    r.add("Right stack", "COM2");
    r.add("Booth", "COM3");
    r.add("Balcony", "COM4");
    ASSERT_EQ(r.window->rows()->rowCount(), 4);

    QSignalSpy ended(r.window.get(), &VenueWindow::runEnded);
    r.technician.answerNext(QMessageBox::Yes);
    QTest::mouseClick(r.window->cmdUpgradeAll(), Qt::LeftButton);
    ASSERT_TRUE(r.waitForRunEnd(ended));

    const QStringList boxes = r.technician.texts();
    ASSERT_EQ(boxes.size(), 2) << boxes.join('\n').toStdString();
    EXPECT_EQ(boxes[0].toStdString(),
              std::string("Upgrading 4 projectors: Left stack (COM1), Right stack (COM2), Booth (COM3), Balcony "
                          "(COM4).\n\n") +
                  texts::UpgradeConfirmation);
    EXPECT_EQ(r.technician.boxes()[0].defaultButton, QMessageBox::No);
    const std::string summary = "2 of 4 projectors upgraded. Failed: Right stack (COM2): " +
                                std::string(texts::ModelMismatch) + " Booth (COM3): " + texts::LinkFailed;
    EXPECT_EQ(boxes[1].toStdString(), summary);
    EXPECT_EQ(r.window->lblSummary()->text().toStdString(), summary);

    using Column = VenueWindow::Column;
    for (int row : {0, 3}) {
        EXPECT_EQ(r.cell(row, Column::Result).toStdString(), texts::DownloadComplete);
        EXPECT_EQ(r.cell(row, Column::Model), "QT2416");
        EXPECT_EQ(static_cast<QProgressBar*>(r.window->rows()->cellWidget(row, Column::Progress))->value(), 100);
    }
    EXPECT_EQ(r.cell(1, Column::Result).toStdString(), texts::ModelMismatch);
    EXPECT_EQ(r.cell(1, Column::Model), "QT2436");
    EXPECT_EQ(r.cell(1, Column::Step), "model check");
    EXPECT_EQ(r.cell(2, Column::Result).toStdString(), texts::LinkFailed);
    EXPECT_EQ(r.cell(2, Column::Step), "link test");
    for (int port : {1, 4}) {
        EXPECT_TRUE(r.flashed[port].up) << port;
        EXPECT_TRUE(r.flashed[port].scaler) << port;
    }
    for (int port : {2, 3}) EXPECT_FALSE(r.flashed[port].up) << port;
    EXPECT_TRUE(r.window->cmdUpgradeAll()->isEnabled());
}

// From the keyboard this time: Alt+U, then Alt+Y on the question.
TEST(VenueWindow, OneFirstLeavesTheOthersAloneWhenTheFirstFailsAndSaysSo)
{
    VenueRig r;
    r.projectors[1].silent = true;
    r.add("Booth", "COM1");
    r.add("Left", "COM2");
    r.add("Right", "COM3");
    QTest::mouseClick(r.window->chkOneFirst(), Qt::LeftButton);
    QSignalSpy ended(r.window.get(), &VenueWindow::runEnded);
    r.technician.pressNext(Qt::Key_Y, Qt::AltModifier);
    r.press(Qt::Key_U);
    ASSERT_TRUE(r.waitForRunEnd(ended));

    EXPECT_EQ(r.stationsMade, 1);
    const std::string notStarted = "Not started: Booth (COM1) did not end with \"Download complete\".";
    EXPECT_EQ(r.cell(1, VenueWindow::Result).toStdString(), notStarted);
    EXPECT_EQ(r.cell(2, VenueWindow::Result).toStdString(), notStarted);
    EXPECT_EQ(r.technician.texts().back().toStdString(),
              std::string("0 of 3 projectors upgraded. Failed: Booth (COM1): ") + texts::LinkFailed +
                  " Not started: Left (COM2), Right (COM3).");
}

TEST(VenueWindow, CheckAllTestsEveryRowWithoutAQuestionAndAnsweringNoStartsNothing)
{
    VenueRig r;
    r.projectors[2].modelName = "QT2436";
    r.add("Left", "COM1");
    r.add("Right", "COM2");
    r.technician.answerNext(QMessageBox::No);
    QTest::mouseClick(r.window->cmdUpgradeAll(), Qt::LeftButton);
    EXPECT_EQ(r.stationsMade, 0);

    QSignalSpy ended(r.window.get(), &VenueWindow::runEnded);
    r.press(Qt::Key_C);  // Check all
    ASSERT_TRUE(r.waitForRunEnd(ended));
    EXPECT_EQ(r.technician.texts().size(), 1);  // the question answered No; a check asks nothing
    EXPECT_EQ(r.cell(0, VenueWindow::Result).toStdString(), texts::TestOk);
    EXPECT_EQ(r.cell(1, VenueWindow::Result).toStdString(), texts::ModelMismatch);
    EXPECT_EQ(r.flashed[1].bytesReceived, std::string("ky nop\rop model.name ?\r").size());
    EXPECT_EQ(r.window->lblSummary()->text().toStdString(),
              std::string("1 of 2 projectors answered as they should. Failed: Right (COM2): ") + texts::ModelMismatch);
}

TEST(VenueWindow, RowsAreTakenOnlyWhenTheVenueFileWouldTakeThemAndMoveAndGoAsAsked)
{
    VenueRig r;
    r.add("Left", "COM1");
    r.add("left", "COM2");    // the same label
    r.add("Right", "COM0");   // no port
    r.add("Booth", "/dev/ttyUSB0");
    ASSERT_EQ(r.technician.texts().size(), 2);
    EXPECT_EQ(r.technician.texts()[0].toStdString(), "projector 2: the label \"Left\" is on line 1 already");
    EXPECT_EQ(r.window->venue().projectors,
              (std::vector<VenueProjector>{{"Left", "COM1"}, {"Booth", "/dev/ttyUSB0"}}));
    r.window->rows()->setCurrentCell(1, 0);
    QTest::mouseClick(r.window->cmdUp(), Qt::LeftButton);
    EXPECT_EQ(r.window->venue().projectors[0].label, "Booth");
    QTest::mouseClick(r.window->cmdRemove(), Qt::LeftButton);
    EXPECT_EQ(r.window->venue().projectors, (std::vector<VenueProjector>{{"Left", "COM1"}}));
}


namespace {

// A port that opens and takes every byte, and never answers: a projector
// not yet switched on. Its job waits in real time, in Qt's own event loop.
struct SilentPort final : SerialPort {
    bool portOpen() const override { return open; }
    void setPortOpen(bool o) override
    {
        open = o;
        if (!o) ++closes;
    }
    int16_t commPort() const override { return number; }
    void setCommPort(int16_t n) override { number = n; }
    InputMode inputMode() const override { return mode; }
    void setInputMode(InputMode m) override { mode = m; }
    void output(std::string_view) override {}
    std::size_t outputPending() override { return 0; }
    std::string input() override { return {}; }
    std::size_t inputWaiting() override { return 0; }
    void discardInput() override {}
    bool dtrEnable() const override { return false; }
    void setDtrEnable(bool) override {}
    void setEventHandler(EventHandler) override {}

    std::atomic<bool> open = false;
    std::atomic<int> closes = 0;
    int16_t number = 1;
    InputMode mode = InputMode::Text;
};

struct NoProcesses final : ProcessRunner {
    ProcessStart start(const std::string&, const std::vector<std::string>&, const std::string&) override { return {}; }
    void stopAll() override { ++stops; }
    std::atomic<int> stops = 0;
};

// The silent port's job on the row's own thread, its port and runner kept
// by the test to look at after the technician left.
class WaitingStation final : public JobStation {
public:
    WaitingStation(SilentPort& port, NoProcesses& processes, const std::string& folder, UpgradeQuestion& question)
        : job_(port, loop_, processes, folder, folder, question)
    {
    }
    ProjectorJob& job() override { return job_; }

private:
    qt::QtEventLoop loop_;
    ProjectorJob job_;
};

} // namespace

// While rows run, a close asks the main window's question; Yes stops every
// ISP tool and closes every port, each on its own row's thread, before the
// program ends.
TEST(VenueWindow, CloseWhileRowsRunAsksAndLeavingStopsToolsAndClosesPortsFirst)
{
    sim::TempFolder folder;
    SilentPort port;
    NoProcesses processes;
    int programEnds = 0;
    bool portsClosedAtEnd = false;
    qt::VenueSetup setup;
    setup.assignPorts = [&](const std::vector<std::string>& ports) {
        return qt::assignPortNumbers(ports, SettingsFile(folder.str()));
    };
    setup.stations = [&](const qt::VenuePlan&) {
        return [&](std::size_t, UpgradeQuestion& question) {
            return std::make_unique<WaitingStation>(port, processes, folder.str(), question);
        };
    };
    setup.endProgram = [&] {
        ++programEnds;
        portsClosedAtEnd = port.closes > 0 && processes.stops > 0;
    };
    ModalAnswerer technician;
    auto window = std::make_unique<VenueWindow>(setup);
    window->setVenue({"", {{"Booth", "COM1"}}});
    window->show();
    QTest::mouseClick(window->cmdCheckAll(), Qt::LeftButton);
    QTRY_VERIFY(port.open);  // its link test under way
    ASSERT_TRUE(window->running());

    window->close();  // unscripted: No
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(port.closes, 0);
    technician.answerNext(QMessageBox::Yes);
    window->close();
    EXPECT_EQ(technician.texts(), (QStringList{"now, the projector will become damaged. Are you sure?",
                                               "now, the projector will become damaged. Are you sure?"}));
    EXPECT_EQ(programEnds, 1);
    EXPECT_TRUE(portsClosedAtEnd);
    EXPECT_FALSE(port.open);
}
