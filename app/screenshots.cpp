// Writes PNG pictures of the windows in their main states (the venue window
// among them, mid-upgrade) into the folder
// given as the only argument. Run it under QT_QPA_PLATFORM=offscreen; the
// states are set through the same view the logic uses.

#include <QApplication>
#include <QDir>
#include <QItemSelectionModel>
#include <QPixmap>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <fstream>
#include <string>

#include "qt/Form2.h"
#include "qt/Form3.h"
#include <QTreeWidget>

#include "qt/HistoryWindow.h"
#include "qt/QtView.h"
#include "qt/VenueWindow.h"
#include <QLabel>
#include <QLineEdit>
#include "qt/ReportFiles.h"
#include "qt/Text8.h"
#include "record/HistoryReader.h"
#include "record/ServiceRecord.h"
#include "report/BuildReport.h"
#include "ground/Texts.h"
#include "window/MainWindow.h"
#include "ground/PortNumbering.h"

namespace {

using fw::Caption;
using fw::Control;

constexpr const char* kSamplePath = "/home/service/firmware/QT2416_V1.05.txt";
constexpr const char* kImageSize = "262144";
constexpr double kUpgradePercent = 40.2;
constexpr const char* kAnimation = "Downloading, please wait ...";
constexpr int kAnimationStep = 20;

bool save(QWidget& window, const QDir& folder, const char* name)
{
    window.show();
    QCoreApplication::processEvents();
    const QString path = folder.filePath(QString::fromLatin1(name));
    const bool ok = window.grab().save(path, "PNG");
    std::printf("%s %s\n", ok ? "wrote" : "could not write", path.toLocal8Bit().constData());
    return ok;
}

void setWorkControls(fw::View& view, bool enabled)
{
    for (Control c : {Control::cmdUpgradeSW, Control::cmdOpenFile1, Control::cmdTest, Control::RS_232, Control::Text2})
        view.setEnabled(c, enabled);
}

void idleWithPackage(fw::View& view)
{
    view.setCaption(Caption::WindowTitle, std::string(fw::texts::ProgramTitle) + " " + fw::texts::ProgramVersion);
    view.setCaption(Caption::txtTxtSourceFilePath, kSamplePath);
    view.setCaption(Caption::lblSize, kImageSize);
}

void upgrading(fw::View& view)
{
    setWorkControls(view, false);
    view.setEnabled(Control::pExit, false);
    view.setBusyPointer(true);
    view.setCaption(Caption::lblFileCount, "Downloading file 1 of 2");
    view.setProgressVisible(true);
    view.setProgressValue(kUpgradePercent);
}

void flashingScaler(fw::View& view)
{
    view.setProgressVisible(false);
    view.setCaption(Caption::lblFileCount, "Downloading file 2 of 2");
    view.setProcessingWindowTopmost(true);
    view.setProcessingWindowVisible(true);
    view.setCaption(Caption::Form3Label1, std::string(kAnimation).substr(0, kAnimationStep));
    view.setCaption(Caption::Form3Label2, fw::elapsedText(137));
}

// What a service laptop with two USB-serial adapters reports: the board's
// own ttyS0 (COM1), and two adapters no number reaches yet.
std::vector<fw::DetectedPort> sampleDevices()
{
    const std::vector<fw::DetectedDevice> devices = {
        {"/dev/ttyS0", "", "", "", {}, {}, 1, {}, {}},
        {"/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A10K3Z7Q-if00-port0", "FT232R USB UART", "FTDI", "A10K3Z7Q",
         0x0403, 0x6001, 0, "/dev/ttyUSB0", 16},
        {"/dev/ttyUSB1", "USB-Serial Controller", "Prolific Technology Inc.", "", 0x067b, 0x2303, 0, {}, {}},
    };
    return fw::numberDetectedDevices(devices, {}, true);
}

// The port dialog with its device list, the first adapter picked.
void pickAdapter(fw::qt::QtView& view)
{
    view.setPortDialogDevices(sampleDevices, nullptr);
    view.showPortDialog();
    QTreeWidget* list = view.portDialog()->lstDevices();
    list->setCurrentItem(list->topLevelItem(1));
    view.setPortListText("2");
}

// A venue mid-upgrade: one row done, one failed, the others at their
// steps, as their events would have left them.
bool venueMidUpgrade(const QDir& folder)
{
    fw::qt::VenueSetup setup;
    fw::qt::VenueWindow window(setup);
    window.setVenue({"Hall A",
                     {{"Left stack", "rfc2217://10.0.4.21:4001"},
                      {"Right stack", "COM3"},
                      {"Booth", "/dev/ttyUSB0"},
                      {"Balcony", "rfc2217://10.0.4.21:4002"}}});
    window.txtListFile()->setText(QString::fromLatin1("/home/service/firmware/QT2416_V1.05.txt"));
    window.lblPackage()->setText(QStringLiteral("uP image 262144 bytes, scaler image 3145728 bytes"));
    const auto row = [](std::initializer_list<fw::Event> events) {
        fw::VenueRow state;
        for (const fw::Event& e : events) state.take(e);
        return state;
    };
    const fw::Event model = fw::ModelReplied{"op model.name ?\r\nQT2416\r\n", "QT2416", "2416"};
    window.showRowState(0,
                        row({fw::OperationStarted{fw::Operation::Upgrade, 11}, model,
                             fw::PhaseStarted{fw::Phase::IspToolRun, 1},
                             fw::MessageShown{fw::MessageKind::Information, fw::texts::DownloadComplete, {}},
                             fw::OperationEnded{fw::Operation::Upgrade, fw::Reason::None}}),
                        false, 274);
    window.showRowState(1,
                        row({fw::OperationStarted{fw::Operation::Upgrade, 3}, fw::PhaseStarted{fw::Phase::LinkTest},
                             fw::MessageShown{fw::MessageKind::Error, fw::texts::LinkFailed, {}},
                             fw::OperationEnded{fw::Operation::Upgrade, fw::Reason::NoAnswer}}),
                        false, 9);
    window.showRowState(2,
                        row({fw::OperationStarted{fw::Operation::Upgrade, 12}, model,
                             fw::PhaseStarted{fw::Phase::ImageTransfer}, fw::ImageProgress{105472, 262144}}),
                        true, 41);
    window.showRowState(3,
                        row({fw::OperationStarted{fw::Operation::Upgrade, 13}, model,
                             fw::PhaseStarted{fw::Phase::IspToolRun, 1}, fw::IspToolStarted{1, 1200},
                             fw::IspToolElapsed{1, 310}}),
                        true, 402);
    window.resize(980, 310);
    return save(window, folder, "venue-window.png");
}

// An evening at a venue as the service record holds it: six upgrades on
// three adapters, one loader that gave no verdict, and a test, each phase
// as long as it takes on a real line.
class VenueEvening {
public:
    explicit VenueEvening(const QString& folder) : folder_(fw::qt::fromQt(folder))
    {
        up_ = folder_ + "/QT2416_uP.bin";
        scaler_ = folder_ + "/QT2416_scaler.bin";
        std::ofstream(up_, std::ios::binary) << std::string(262144, '\x5a');
        std::ofstream(scaler_, std::ios::binary) << std::string(2621440, '\xa5');
        fw::RecordSetup setup;
        setup.path = path();
        setup.program = "firmware-upgrade-tool";
        setup.host = "SERVICE-LAPTOP";
        setup.user = "j.meier";
        setup.portFacts = [](int n) {
            return fw::PortFacts{"COM" + std::to_string(n), "0403:6001", "A10K3Z7" + std::to_string(n)};
        };
        setup.now = [this] { return fw::WallClock::time_point{} + std::chrono::milliseconds(nowMs_); };
        record_ = std::make_unique<fw::ServiceRecord>(setup);
        const std::pair<int, bool> upgrades[] = {{3, true}, {4, true}, {5, false}, {5, true}, {3, true}, {4, true}};
        for (const auto& [port, ok] : upgrades) upgrade(port, ok);
        test(3);
    }
    std::string path() const { return folder_ + "/upgrades.jsonl"; }

private:
    void at(int64_t seconds, const fw::Event& event)
    {
        nowMs_ += seconds * 1000;
        record_->tell(event);
    }
    void phase(int64_t seconds, fw::Phase p, fw::PhaseOutcome outcome = fw::PhaseOutcome::Ok, int run = 0)
    {
        at(0, fw::PhaseStarted{p, run});
        at(seconds, fw::PhaseEnded{p, outcome, run});
    }
    void upgrade(int port, bool verdict)
    {
        using namespace fw;
        at(240, PackageChecked{"D:\\Firmware\\QT2416_V1.05.txt", true, ImageFile{"QT2416_uP.bin", up_, 262144},
                               ImageFile{"QT2416_scaler.bin", scaler_, 2621440}});
        at(5, ModelReplied{"op model.name ?\r\r\nmodel.name = QT-2416\r\n>", "QT-2416", "2416"});
        at(20, OperationStarted{Operation::Upgrade, port});
        at(6, MessageShown{MessageKind::Question, texts::UpgradeConfirmation, true});
        phase(1, Phase::LinkTest);
        phase(3, Phase::DownloadMode);
        phase(69, Phase::ImageTransfer);
        if (!verdict) {
            phase(15, Phase::Verdict, PhaseOutcome::NoAnswer);
            at(0, MessageShown{MessageKind::Error, texts::UpFailed, {}});
            at(0, OperationEnded{Operation::Upgrade, Reason::UpImageNotTaken});
            return;
        }
        phase(2, Phase::Verdict);
        phase(38, Phase::Restart);
        phase(9, Phase::IspMode);
        at(0, PhaseStarted{Phase::IspToolRun, 1});
        at(412, IspToolEnded{1, false, 0, "Command: 0503 0000 fafd"});
        at(0, PhaseEnded{Phase::IspToolRun, PhaseOutcome::Ok, 1});
        at(0, MessageShown{MessageKind::Information, texts::DownloadComplete, {}});
        at(0, OperationEnded{Operation::Upgrade, Reason::None});
    }
    void test(int port)
    {
        using namespace fw;
        at(120, OperationStarted{Operation::Test, port});
        phase(1, Phase::LinkTest);
        at(0, MessageShown{MessageKind::Information, texts::TestOk, {}});
        at(0, OperationEnded{Operation::Test, Reason::None});
    }

    std::string folder_, up_, scaler_;
    int64_t nowMs_ = 1714590000000;  // 2024-05-01 19:00 UTC
    std::unique_ptr<fw::ServiceRecord> record_;
};

const fw::reports::UtcOffset kCentralEuropeanSummer = [](int64_t) { return 2 * 3600; };

// The history window over the evening, the failed upgrade looked into.
bool historyWindow(const std::string& record, const QDir& folder)
{
    fw::qt::HistoryWindow window(record, nullptr, kCentralEuropeanSummer);
    window.resize(1180, 720);
    window.show();
    if (!QTest::qWaitFor([&] { return window.loaded(); }, 10000)) return false;
    auto* table = window.findChild<QTableView*>(QStringLiteral("entries"));
    table->selectRow(4);
    return save(window, folder, "history-window.png");
}

// The report of the evening's first upgrade, as a PDF; scripts/screenshot
// draws its first page.
bool report(const std::string& record, const QDir& folder)
{
    fw::HistoryReader reader(record);
    fw::HistoryReader::Batch all = reader.next(100);
    const fw::reports::Report report = fw::reports::buildReport({all.entries.back()}, kCentralEuropeanSummer);
    const QString path = folder.filePath(QStringLiteral("report.pdf"));
    const std::string failure = fw::qt::writeReportPdf(report, path);
    std::printf("%s %s\n", failure.empty() ? "wrote" : "could not write", path.toLocal8Bit().constData());
    return failure.empty();
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.exists() && !QDir().mkpath(folder.path())) return 1;

    fw::qt::Form2 form2;
    fw::qt::Form3 form3;
    fw::qt::QtView view(form2, form3);

    bool ok = true;
    idleWithPackage(view);
    ok &= save(form2, folder, "main-window-idle.png");

    upgrading(view);
    ok &= save(form2, folder, "main-window-upgrading.png");

    flashingScaler(view);
    ok &= save(form3, folder, "processing-window.png");
    view.setProcessingWindowVisible(false);

    view.setBusyPointer(false);
    setWorkControls(view, true);
    view.setEnabled(fw::Control::pExit, true);
    view.setCaption(Caption::lblFileCount, "");
    view.setProgressValue(0);
    view.setProgressVisible(true);
    pickAdapter(view);
    ok &= save(*view.portDialog(), folder, "port-dialog.png");
    ok &= venueMidUpgrade(folder);

    QTemporaryDir work(QDir::tempPath() + QStringLiteral("/Firmware-XXXXXX"));
    const VenueEvening evening(work.path());
    ok &= historyWindow(evening.path(), folder);
    ok &= report(evening.path(), folder);
    return ok ? 0 : 1;
}
