// bench_venue: the venue window as the program wires it, with the rows of a
// venue file, "Upgrade all" pressed and its question answered Yes. It
// prints the wall time from the answer to the last row's end, the
// program's own CPU time over the same span (the ISP tools are processes
// of their own and not counted), the lateness of a 10 ms timer on the
// window's thread meanwhile (its 99th percentile and its largest), and how
// many rows ended "Download complete".
//
//   bench_venue PROGRAM-FOLDER VENUE-FILE LIST-FILE RECORD-FILE
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

#include "ground/Texts.h"
#include "qt/Text8.h"
#include "qt/VenueWiring.h"

namespace {

constexpr int kProbeMs = 10;
constexpr int kAnswerPollMs = 20;
constexpr double kPercentile = 0.99;

double cpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& t) { return static_cast<double>(t.tv_sec) * 1e3 + t.tv_usec / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// How late a timer due every 10 ms fires while the window's thread is busy.
class Probe {
public:
    Probe()
    {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(kProbeMs);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            const double since = static_cast<double>(clock_.nsecsElapsed()) / 1e6;
            clock_.restart();
            late_.push_back(std::max(0.0, since - kProbeMs));
        });
    }
    void start()
    {
        clock_.start();
        timer_.start();
    }
    void stop() { timer_.stop(); }
    double percentile(double p)
    {
        if (late_.empty()) return 0;
        std::sort(late_.begin(), late_.end());
        return late_[std::min(late_.size() - 1, static_cast<std::size_t>(std::ceil(p * late_.size())) - 1)];
    }
    double largest() const { return late_.empty() ? 0 : *std::max_element(late_.begin(), late_.end()); }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    std::vector<double> late_;
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc != 5) {
        std::fprintf(stderr, "usage: bench_venue PROGRAM-FOLDER VENUE-FILE LIST-FILE RECORD-FILE\n");
        return 2;
    }
    fw::qt::VenueWindow window(fw::qt::venueSetup(argv[1], fw::qt::fromQt(QDir::currentPath()), argv[4], argv[3],
                                                  [] { std::_Exit(3); }));
    window.openVenue(argv[2]);
    window.show();

    Probe probe;
    QElapsedTimer wall;
    double cpuAtStart = 0;
    // Yes to the question (the run starts there), OK to the summary.
    QTimer answers;
    answers.setInterval(kAnswerPollMs);
    QObject::connect(&answers, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        if (box->icon() == QMessageBox::Question) {
            wall.start();
            cpuAtStart = cpuMs();
            probe.start();
            box->button(QMessageBox::Yes)->click();
        } else {
            box->button(QMessageBox::Ok)->click();
        }
    });
    answers.start();
    QObject::connect(&window, &fw::qt::VenueWindow::runEnded, [&] {
        probe.stop();
        const double wallMs = static_cast<double>(wall.nsecsElapsed()) / 1e6;
        const double cpu = cpuMs() - cpuAtStart;
        int complete = 0;
        for (int row = 0; row < window.rows()->rowCount(); ++row)
            if (window.rowState(row).result() == fw::texts::DownloadComplete) ++complete;
        std::printf("rows=%d\ncomplete=%d\nwall_ms=%.1f\ncpu_ms=%.1f\nlate_p99_ms=%.2f\nlate_max_ms=%.2f\n",
                    window.rows()->rowCount(), complete, wallMs, cpu, probe.percentile(kPercentile), probe.largest());
        std::fflush(stdout);
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
    });
    // Once the rows and the package are in, as a technician waits for them.
    QTimer press;
    press.setInterval(kAnswerPollMs);
    QObject::connect(&press, &QTimer::timeout, [&] {
        if (window.rows()->rowCount() == 0 || window.lblPackage()->text().isEmpty()) return;
        press.stop();
        window.cmdUpgradeAll()->click();
    });
    press.start();
    return QApplication::exec();
}
