// The history window on a service record of 100,000 upgrades: from the
// window's making to its list drawn with the newest 100 entries in it, and
// to the whole record read, the median of several openings. Runs on the
// offscreen platform unless another is named. Not a test: it prints.
//
//   bench_history_window
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTableView>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "SampleRecord.h"
#include "qt/HistoryWindow.h"

namespace {

constexpr int kEntries = 100000;
constexpr int kShownRows = 100;
constexpr int kRounds = 5;
constexpr int kLimitMs = 120000;

// Notes the first time the list is drawn with enough rows in it.
class DrawnWatch final : public QObject {
public:
    DrawnWatch(fw::qt::HistoryWindow& window, const QElapsedTimer& clock) : window_(window), clock_(clock) {}
    qint64 drawnMs = -1;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && drawnMs < 0 && window_.model().rowCount() >= kShownRows)
            drawnMs = clock_.elapsed();
        return false;
    }

private:
    fw::qt::HistoryWindow& window_;
    const QElapsedTimer& clock_;
};

double median(std::vector<double> values)
{
    std::nth_element(values.begin(), values.begin() + kRounds / 2, values.end());
    return values[kRounds / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    fw::sim::TempFolder folder;
    const std::string record = folder.file("upgrades.jsonl");
    fw::bench::writeUpgrades(record, fw::bench::sampleUpgrade(folder), kEntries);

    std::vector<double> shown, loaded;
    for (int round = 0; round < kRounds; ++round) {
        QElapsedTimer clock;
        clock.start();
        fw::qt::HistoryWindow window(record);
        DrawnWatch watch(window, clock);
        window.findChild<QTableView*>(QStringLiteral("entries"))->viewport()->installEventFilter(&watch);
        window.show();
        while ((watch.drawnMs < 0 || !window.loaded()) && clock.elapsed() < kLimitMs) {
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
            if (window.model().rowCount() >= kShownRows) window.update();
        }
        if (watch.drawnMs < 0 || !window.loaded() || window.model().rowCount() != kEntries) {
            std::printf("history window: %d of %d entries listed\n", window.model().rowCount(), kEntries);
            return 1;
        }
        shown.push_back(static_cast<double>(watch.drawnMs));
        loaded.push_back(static_cast<double>(clock.elapsed()));
    }
    std::printf("history window over %d entries: newest %d drawn in %.0f ms, all read in %.0f ms, median of %d\n",
                kEntries, kShownRows, median(shown), median(loaded), kRounds);
    return 0;
}
