#pragma once

#include <QObject>
#include <QSemaphore>
#include <QThread>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "ground/Events.h"
#include "job/JobSchedule.h"
#include "job/JobStation.h"

namespace fw::qt {

// Listeners a front end gives a row's job (a printer), made on the row's
// thread before the job starts and destroyed there after it ended.
using ListenerMaker =
    std::function<std::vector<std::unique_ptr<fw::EventSink>>(std::size_t row, fw::ProjectorJob& job)>;

// Several projectors' jobs, each on a thread of its own with its own event
// loop, taking their turns as the schedule says. The object lives on the
// thread that starts it (a window's, or the command line's main thread),
// which never waits on a job: each row's events and its end reach it as
// queued signals. One row's failure changes nothing for another but the
// turns they take ("one first").
class VenueRun final : public QObject {
    Q_OBJECT

public:
    VenueRun(std::vector<fw::JobRequest> requests, fw::ScheduleOptions options, fw::StationMaker stations,
             fw::UpgradeQuestion& question, ListenerMaker listeners = {}, QObject* parent = nullptr);
    // Waits for rows still at work; after leave() it lets their parked
    // threads go with the program instead.
    ~VenueRun() override;

    void start();
    bool running() const { return started_ && !schedule_.finished(); }
    bool finished() const { return started_ && schedule_.finished(); }
    fw::Turn turnOf(std::size_t row) const { return schedule_.turnOf(row); }
    const fw::JobOutcome& outcomeOf(std::size_t row) const { return rows_[row]->outcome; }
    std::size_t rows() const { return rows_.size(); }

    // The technician leaves while rows are at work: every ISP tool is
    // stopped and every port closed, each on its own row's thread, and the
    // rows are left parked so that nothing of their jobs runs on. Waits at
    // most waitMs for the rows to do so; true when all did.
    bool leave(int waitMs);

signals:
    void rowStarted(int row);
    // Every event of a row's job, from its thread.
    void rowTold(int row, const fw::Event& event);
    void rowEnded(int row, const fw::JobOutcome& outcome);
    // Never started: the first row of "one first" did not succeed.
    void rowNotStarted(int row);
    void finishedAll();

private:
    struct Row {
        fw::JobRequest request;
        std::unique_ptr<QThread> thread;
        fw::JobOutcome outcome;
        bool toldNotStarted = false;
        // While its job runs: an object on the row's thread that takes
        // requests from others, and the job (both guarded by mailboxes_).
        QObject* mailbox = nullptr;
        fw::ProjectorJob* job = nullptr;
    };

    void startDue();
    void startRow(std::size_t row);
    void runRow(std::size_t row);
    void rowFinished(std::size_t row);

    std::vector<std::unique_ptr<Row>> rows_;
    fw::JobSchedule schedule_;
    fw::StationMaker stations_;
    fw::UpgradeQuestion& question_;
    ListenerMaker listeners_;
    bool started_ = false;
    std::mutex mailboxes_;
    bool leaving_ = false;  // guarded by mailboxes_
    QSemaphore left_;
};

} // namespace fw::qt

Q_DECLARE_METATYPE(fw::Event)
Q_DECLARE_METATYPE(fw::JobOutcome)
