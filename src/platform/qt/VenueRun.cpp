#include "qt/VenueRun.h"

#include <exception>

#include "ground/Texts.h"

namespace fw::qt {

namespace {

// A row's events, passed on as they are told, from the row's own thread.
class RowRelay final : public fw::EventSink {
public:
    RowRelay(VenueRun& run, int row) : run_(run), row_(row) {}
    void tell(const fw::Event& event) override { emit run_.rowTold(row_, event); }

private:
    VenueRun& run_;
    int row_;
};

fw::JobOutcome internalError(const std::string& what)
{
    const std::string message = fw::texts::InternalError + what + fw::texts::InternalErrorTail;
    return {false, fw::Reason::Unexpected, message, message};
}

// A thread that must not go on: its job's technician has left.
[[noreturn]] void parkForever()
{
    QSemaphore never;
    for (;;) never.acquire();
}

} // namespace

VenueRun::VenueRun(std::vector<fw::JobRequest> requests, fw::ScheduleOptions options, fw::StationMaker stations,
                   fw::UpgradeQuestion& question, ListenerMaker listeners, QObject* parent)
    : QObject(parent), schedule_(requests.size(), options), stations_(std::move(stations)), question_(question),
      listeners_(std::move(listeners))
{
    qRegisterMetaType<fw::Event>();
    qRegisterMetaType<fw::JobOutcome>();
    for (fw::JobRequest& request : requests) {
        rows_.push_back(std::make_unique<Row>());
        rows_.back()->request = std::move(request);
    }
}

VenueRun::~VenueRun()
{
    {
        std::lock_guard lock(mailboxes_);
        // Rows parked after leave() never end: their threads are let go
        // with the program, which ends next.
        if (leaving_)
            for (const auto& row : rows_) (void)row->thread.release();
    }
    for (const auto& row : rows_)
        if (row->thread) row->thread->wait();
}

void VenueRun::start()
{
    if (started_) return;
    started_ = true;
    startDue();
    if (schedule_.finished()) QMetaObject::invokeMethod(this, [this] { emit finishedAll(); }, Qt::QueuedConnection);
}

void VenueRun::startDue()
{
    {
        std::lock_guard lock(mailboxes_);
        if (leaving_) return;
    }
    for (const std::size_t row : schedule_.next()) startRow(row);
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        if (schedule_.turnOf(row) != fw::Turn::NotStarted || rows_[row]->toldNotStarted) continue;
        rows_[row]->toldNotStarted = true;
        emit rowNotStarted(static_cast<int>(row));
    }
}

void VenueRun::startRow(std::size_t row)
{
    Row& r = *rows_[row];
    r.thread.reset(QThread::create([this, row] { runRow(row); }));
    connect(r.thread.get(), &QThread::finished, this, [this, row] { rowFinished(row); }, Qt::QueuedConnection);
    emit rowStarted(static_cast<int>(row));
    r.thread->start();
}

// On the row's own thread: everything the job runs on is made, used and
// destroyed here, so its port, processes and timers belong to this thread.
void VenueRun::runRow(std::size_t row)
{
    Row& r = *rows_[row];
    QObject mailbox;
    fw::JobOutcome outcome;
    try {
        std::unique_ptr<fw::JobStation> station = stations_(row, question_);
        std::vector<std::unique_ptr<fw::EventSink>> listeners;
        if (listeners_) listeners = listeners_(row, station->job());
        RowRelay relay(*this, static_cast<int>(row));
        for (const auto& listener : listeners) station->job().events().add(*listener);
        station->job().events().add(relay);
        {
            std::lock_guard lock(mailboxes_);
            r.mailbox = &mailbox;
            r.job = &station->job();
        }
        outcome = station->job().run(r.request);
        {
            std::lock_guard lock(mailboxes_);
            r.mailbox = nullptr;
            r.job = nullptr;
        }
        station.reset();  // before the listeners it tells
    } catch (const std::exception& e) {
        outcome = internalError(e.what());
    } catch (...) {
        outcome = internalError("an unknown exception");
    }
    std::unique_lock lock(mailboxes_);
    r.mailbox = nullptr;
    r.job = nullptr;
    if (leaving_) {
        // asked to leave as the job ended: nothing more of it may run
        left_.release();
        lock.unlock();
        parkForever();
    }
    r.outcome = std::move(outcome);
}

void VenueRun::rowFinished(std::size_t row)
{
    Row& r = *rows_[row];
    r.thread->wait();  // it has finished: returns at once
    schedule_.ended(row, r.outcome.succeeded);
    emit rowEnded(static_cast<int>(row), r.outcome);
    startDue();
    if (schedule_.finished()) emit finishedAll();
}

bool VenueRun::leave(int waitMs)
{
    int asked = 0;
    {
        std::lock_guard lock(mailboxes_);
        if (leaving_) return true;  // left already: its rows are parked
        leaving_ = true;
        for (const auto& row : rows_) {
            if (!row->mailbox) continue;
            fw::ProjectorJob* job = row->job;
            QMetaObject::invokeMethod(
                row->mailbox,
                [this, job] {
                    job->leave();
                    left_.release();
                    parkForever();
                },
                Qt::QueuedConnection);
            ++asked;
        }
    }
    return left_.tryAcquire(asked, waitMs);
}

} // namespace fw::qt
