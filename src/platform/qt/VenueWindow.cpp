#include "qt/VenueWindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ground/Texts.h"
#include "job/VenueReport.h"
#include "package/CheckListFile.h"
#include "qt/MessageBoxes.h"
#include "qt/OffThread.h"
#include "qt/OpenFileDialog.h"
#include "qt/Text8.h"
#include "qt/VenueRun.h"
#include "window/MainWindow.h"
#include "window/ProjectorChecks.h"

namespace fw::qt {

namespace {

constexpr int kClockMs = 1000;         // the elapsed time, redrawn once a second
constexpr int kMostAtOnce = 255;        // as many as there are port numbers
constexpr int kLeaveWaitMs = 3000;      // for the rows to stop their tools and close their ports
constexpr int kInitialWidth = 900;
constexpr int kInitialHeight = 420;
const char* const kVenueFilter = "Venue files (*.ini);;All files (*)";

QPushButton* button(const char* name, const QString& caption, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QTableWidgetItem* readOnly(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

std::string cell(const QTableWidget* table, int row, int column)
{
    const QTableWidgetItem* item = table->item(row, column);
    return item ? fromQt(item->text()) : std::string();
}

// The question before an upgrade of several: Yes and No, No the default,
// Alt+Y and Alt+N reaching them as in every box of the program.
bool askYes(QWidget* parent, const std::string& text)
{
    QMessageBox box(parent);
    box.setObjectName(QStringLiteral("MessageBox"));
    box.setWindowTitle(QString::fromLatin1(texts::MessageBoxTitle));
    box.setTextFormat(Qt::PlainText);
    box.setText(toQt(text));
    box.setIcon(QMessageBox::Question);
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("&Yes"));
    box.button(QMessageBox::No)->setText(QStringLiteral("&No"));
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    box.exec();
    return box.clickedButton() == box.button(QMessageBox::Yes);
}

} // namespace

VenueWindow::VenueWindow(VenueSetup setup, QWidget* parent) : QWidget(parent, Qt::Window), setup_(std::move(setup))
{
    setObjectName(QStringLiteral("VenueWindow"));
    setWindowTitle(QString::fromLatin1(texts::VenueWindowTitle));
    build();
    wire();
    resize(kInitialWidth, kInitialHeight);
    clock_.setInterval(kClockMs);
    setListFile(setup_.listFile);
}

VenueWindow::~VenueWindow() = default;

void VenueWindow::build()
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildPackage());

    rows_ = new QTableWidget(0, Columns, this);
    rows_->setObjectName(QStringLiteral("rows"));
    rows_->setHorizontalHeaderLabels({QStringLiteral("Label"), QStringLiteral("Port"), QStringLiteral("Model"),
                                      QStringLiteral("Step"), QStringLiteral("Progress"), QStringLiteral("Elapsed"),
                                      QStringLiteral("Result")});
    rows_->setSelectionBehavior(QAbstractItemView::SelectRows);
    rows_->setSelectionMode(QAbstractItemView::SingleSelection);
    rows_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    rows_->setWordWrap(true);
    rows_->verticalHeader()->setVisible(false);
    rows_->horizontalHeader()->setSectionResizeMode(Result, QHeaderView::Stretch);
    rows_->horizontalHeader()->setSectionResizeMode(Port, QHeaderView::ResizeToContents);
    // A result wraps within its column: the rows' heights follow its width.
    rows_->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    layout->addWidget(rows_, 1);

    layout->addWidget(buildAdding());
    layout->addWidget(buildOptions());
    lblSummary_ = new QLabel(this);
    lblSummary_->setObjectName(QStringLiteral("lblSummary"));
    lblSummary_->setWordWrap(true);
    lblSummary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(lblSummary_);
}

QWidget* VenueWindow::buildPackage()
{
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    txtVenueName_ = new QLineEdit(box);
    txtVenueName_->setObjectName(QStringLiteral("txtVenueName"));
    auto* venueLabel = new QLabel(QStringLiteral("&Venue:"), box);
    venueLabel->setBuddy(txtVenueName_);
    cmdOpenVenue_ = button("cmdOpenVenue", QStringLiteral("&Open venue..."), box);
    cmdSaveVenue_ = button("cmdSaveVenue", QStringLiteral("&Save venue..."), box);
    grid->addWidget(venueLabel, 0, 0);
    grid->addWidget(txtVenueName_, 0, 1);
    grid->addWidget(cmdOpenVenue_, 0, 2);
    grid->addWidget(cmdSaveVenue_, 0, 3);

    txtListFile_ = new QLineEdit(box);
    txtListFile_->setObjectName(QStringLiteral("txtListFile"));
    txtListFile_->setReadOnly(true);  // the path comes from the file dialog
    cmdOpenFile_ = button("cmdOpenFile", QStringLiteral("Open &File"), box);
    lblPackage_ = new QLabel(box);
    lblPackage_->setObjectName(QStringLiteral("lblPackage"));
    lblPackage_->setWordWrap(true);
    grid->addWidget(new QLabel(QStringLiteral("Package:"), box), 1, 0);
    grid->addWidget(txtListFile_, 1, 1);
    grid->addWidget(cmdOpenFile_, 1, 2);
    grid->addWidget(lblPackage_, 2, 1, 1, 3);
    return box;
}

QWidget* VenueWindow::buildAdding()
{
    auto* box = new QWidget(this);
    auto* line = new QHBoxLayout(box);
    line->setContentsMargins(0, 0, 0, 0);
    txtLabel_ = new QLineEdit(box);
    txtLabel_->setObjectName(QStringLiteral("txtLabel"));
    txtPort_ = new QLineEdit(box);
    txtPort_->setObjectName(QStringLiteral("txtPort"));
    txtPort_->setPlaceholderText(QStringLiteral("COM3, /dev/ttyUSB0, rfc2217://host:port"));
    auto* labelCaption = new QLabel(QStringLiteral("&Label:"), box);
    labelCaption->setBuddy(txtLabel_);
    auto* portCaption = new QLabel(QStringLiteral("Por&t:"), box);
    portCaption->setBuddy(txtPort_);
    cmdAdd_ = button("cmdAdd", QStringLiteral("&Add"), box);
    cmdRemove_ = button("cmdRemove", QStringLiteral("&Remove"), box);
    cmdUp_ = button("cmdUp", QStringLiteral("Move u&p"), box);
    cmdDown_ = button("cmdDown", QStringLiteral("Move do&wn"), box);
    line->addWidget(labelCaption);
    line->addWidget(txtLabel_, 1);
    line->addWidget(portCaption);
    line->addWidget(txtPort_, 2);
    for (QPushButton* b : {cmdAdd_, cmdRemove_, cmdUp_, cmdDown_}) line->addWidget(b);
    return box;
}

QWidget* VenueWindow::buildOptions()
{
    auto* box = new QWidget(this);
    auto* line = new QHBoxLayout(box);
    line->setContentsMargins(0, 0, 0, 0);
    chkOneFirst_ = new QCheckBox(QStringLiteral("O&ne first"), box);
    chkOneFirst_->setObjectName(QStringLiteral("chkOneFirst"));
    chkOneFirst_->setToolTip(QStringLiteral("Upgrade the first row alone; the others only once it ended "
                                            "\"Download complete\""));
    spnAtOnce_ = new QSpinBox(box);
    spnAtOnce_->setObjectName(QStringLiteral("spnAtOnce"));
    spnAtOnce_->setRange(0, kMostAtOnce);
    spnAtOnce_->setSpecialValueText(QStringLiteral("all"));  // 0: no limit
    auto* atMost = new QLabel(QStringLiteral("At &most"), box);
    atMost->setBuddy(spnAtOnce_);
    cmdCheckAll_ = button("cmdCheckAll", QStringLiteral("&Check all"), box);
    cmdUpgradeAll_ = button("cmdUpgradeAll", QStringLiteral("&Upgrade all"), box);
    line->addWidget(chkOneFirst_);
    line->addWidget(atMost);
    line->addWidget(spnAtOnce_);
    line->addWidget(new QLabel(QStringLiteral("at once"), box));
    line->addStretch(1);
    line->addWidget(cmdCheckAll_);
    line->addWidget(cmdUpgradeAll_);
    return box;
}

void VenueWindow::wire()
{
    connect(cmdAdd_, &QPushButton::clicked, this, [this] { addTypedRow(); });
    connect(txtPort_, &QLineEdit::returnPressed, this, [this] { addTypedRow(); });
    connect(cmdRemove_, &QPushButton::clicked, this, [this] { removeRow(); });
    connect(cmdUp_, &QPushButton::clicked, this, [this] { moveRow(-1); });
    connect(cmdDown_, &QPushButton::clicked, this, [this] { moveRow(1); });
    connect(cmdOpenFile_, &QPushButton::clicked, this, [this] { chooseListFile(); });
    connect(cmdOpenVenue_, &QPushButton::clicked, this, [this] { chooseVenueToOpen(); });
    connect(cmdSaveVenue_, &QPushButton::clicked, this, [this] { chooseVenueToSave(); });
    connect(cmdCheckAll_, &QPushButton::clicked, this, [this] { start(fw::JobKind::ProjectorCheck); });
    connect(cmdUpgradeAll_, &QPushButton::clicked, this, [this] { start(fw::JobKind::Upgrade); });
    connect(&clock_, &QTimer::timeout, this, [this] { tick(); });
}

fw::Venue VenueWindow::venue() const
{
    fw::Venue v;
    v.name = fromQt(txtVenueName_->text().trimmed());
    for (int row = 0; row < rows_->rowCount(); ++row) v.projectors.push_back({cell(rows_, row, Label), cell(rows_, row, Port)});
    return v;
}

void VenueWindow::setVenue(const fw::Venue& venue)
{
    txtVenueName_->setText(toQt(venue.name));
    rows_->setRowCount(0);
    states_.clear();
    for (const fw::VenueProjector& p : venue.projectors) addRow(p.label, p.port);
    lblSummary_->clear();
}

void VenueWindow::addRow(const std::string& label, const std::string& port)
{
    const int row = rows_->rowCount();
    rows_->insertRow(row);
    rows_->setItem(row, Label, readOnly(toQt(label)));
    rows_->setItem(row, Port, readOnly(toQt(port)));
    for (int column : {Model, Step, Elapsed, Result}) rows_->setItem(row, column, readOnly({}));
    auto* bar = new QProgressBar(rows_);
    bar->setRange(0, 100);
    bar->setValue(0);
    rows_->setCellWidget(row, Progress, bar);
    states_.emplace_back();
}

// The row as typed, if the venue takes it: a label not there yet, a port
// of a known form not there yet.
void VenueWindow::addTypedRow()
{
    if (running()) return;
    fw::Venue candidate = venue();
    candidate.projectors.push_back({fromQt(txtLabel_->text().trimmed()), fromQt(txtPort_->text().trimmed())});
    if (const auto problems = fw::venueProblems(candidate); !problems.empty()) {
        showProblem(fw::joinedProblems(problems));
        return;
    }
    addRow(candidate.projectors.back().label, candidate.projectors.back().port);
    txtLabel_->clear();
    txtPort_->clear();
    txtLabel_->setFocus();
}

void VenueWindow::removeRow()
{
    const int row = rows_->currentRow();
    if (running() || row < 0) return;
    rows_->removeRow(row);
    states_.erase(states_.begin() + row);
}

void VenueWindow::moveRow(int by)
{
    const int row = rows_->currentRow();
    const int to = row + by;
    if (running() || row < 0 || to < 0 || to >= rows_->rowCount()) return;
    fw::Venue v = venue();
    std::swap(v.projectors[static_cast<std::size_t>(row)], v.projectors[static_cast<std::size_t>(to)]);
    setVenue(v);
    rows_->setCurrentCell(to, Label);
}

void VenueWindow::showProblem(const std::string& text) { showMessageBox(this, text, fw::MessageStyle::Critical); }

void VenueWindow::setListFile(const std::string& path)
{
    txtListFile_->setText(toQt(path));
    packageValid_ = false;
    lblPackage_->clear();
    if (path.empty()) return;
    offThread<fw::PackageCheck>(
        this, [path, folder = setup_.workingDirectory] { return fw::CheckListFile(path, folder); },
        [this, path](const fw::PackageCheck& check) {
            if (fromQt(txtListFile_->text()) != path) return;  // another was chosen meanwhile
            packageValid_ = check.valid();
            if (check.valid() && check.up && check.scaler)
                lblPackage_->setText(toQt("uP image " + std::to_string(check.up->size) + " bytes, scaler image " +
                                          std::to_string(check.scaler->size) + " bytes"));
            else
                lblPackage_->setText(toQt(fw::packageRefusal(check.fault).empty() ? texts::ListFileNotValid
                                                                                 : fw::packageRefusal(check.fault)));
        });
}

void VenueWindow::chooseListFile()
{
    if (running()) return;
    const std::string current = fromQt(txtListFile_->text());
    const std::string chosen = runOpenFileDialog(this, current);
    if (chosen != current) setListFile(chosen);
}

void VenueWindow::openVenue(const std::string& path)
{
    offThread<fw::VenueReading>(
        this, [path] { return fw::readVenueFile(path); },
        [this, path](const fw::VenueReading& reading) {
            if (running()) return;
            if (!reading.venue) {
                showProblem(texts::VenueFileIs + path + texts::VenueCannotBeUsed + fw::joinedProblems(reading.problems));
                return;
            }
            setVenue(*reading.venue);
        });
}

void VenueWindow::chooseVenueToOpen()
{
    if (running()) return;
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Open venue"), QString(),
                                                      QString::fromLatin1(kVenueFilter));
    if (!path.isEmpty()) openVenue(fromQt(path));
}

void VenueWindow::chooseVenueToSave()
{
    const fw::Venue v = venue();
    if (const auto problems = fw::venueProblems(v); !problems.empty()) {
        showProblem(fw::joinedProblems(problems));
        return;
    }
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save venue"), QString(),
                                                      QString::fromLatin1(kVenueFilter));
    if (path.isEmpty()) return;
    const std::string file = fromQt(path);
    offThread<std::string>(
        this, [file, v] { return fw::writeVenueFile(file, v); },
        [this, file](const std::string& failure) {
            if (!failure.empty()) showProblem(texts::VenueFileIs + file + texts::VenueCannotBeSaved + failure);
        });
}

bool VenueWindow::running() const { return run_ && run_->running(); }

std::optional<VenuePlan> VenueWindow::plan()
{
    const fw::Venue v = venue();
    if (v.projectors.empty()) {
        showProblem(texts::VenueNoRows);
        return std::nullopt;
    }
    std::vector<std::string> ports;
    for (const fw::VenueProjector& p : v.projectors) ports.push_back(p.port);
    const PortAssignment assigned = setup_.assignPorts(ports);
    if (!assigned.error.empty()) {
        showProblem(texts::VenuePortsClash + assigned.error);
        return std::nullopt;
    }
    VenuePlan plan;
    plan.venueName = v.name;
    plan.pathOfPort = assigned.pathOfPort;
    for (std::size_t i = 0; i < v.projectors.size(); ++i)
        plan.rows.push_back({v.projectors[i].label, v.projectors[i].port, assigned.numbers[i]});
    return plan;
}

bool VenueWindow::confirmed(const VenuePlan& plan)
{
    std::vector<std::string> names;
    for (const VenueRowPlan& row : plan.rows) names.push_back(fw::projectorName(row.label, row.number));
    return askYes(this, fw::venueQuestion(names));
}

void VenueWindow::start(fw::JobKind kind)
{
    if (running()) return;
    const bool upgrade = kind == fw::JobKind::Upgrade;
    if (upgrade && !packageValid_) {
        showProblem(texts::ListFileNotValid);
        return;
    }
    const auto planned = plan();
    if (!planned || (upgrade && !confirmed(*planned))) return;

    runKind_ = kind;
    runRows_ = planned->rows;
    const std::string listFile = packageValid_ ? fromQt(txtListFile_->text()) : std::string();
    std::vector<fw::JobRequest> requests;
    for (const VenueRowPlan& row : runRows_) requests.push_back({kind, row.number, listFile});
    const fw::ScheduleOptions options{upgrade && chkOneFirst_->isChecked(),
                                      static_cast<std::size_t>(spnAtOnce_->value())};
    run_.reset();  // the last run's rows have all ended
    run_ = std::make_unique<VenueRun>(std::move(requests), options, setup_.stations(*planned), answeredAhead_);
    connect(run_.get(), &VenueRun::rowStarted, this, [this](int row) { rowStarted(row); });
    connect(run_.get(), &VenueRun::rowTold, this, [this](int row, const fw::Event& e) { rowTold(row, e); },
            Qt::QueuedConnection);
    connect(run_.get(), &VenueRun::rowEnded, this, [this](int row, const fw::JobOutcome& o) { rowEnded(row, o); });
    connect(run_.get(), &VenueRun::rowNotStarted, this, [this](int row) { rowNotStarted(row); });
    connect(run_.get(), &VenueRun::finishedAll, this, [this] { runFinished(); });

    for (std::size_t row = 0; row < states_.size(); ++row) {
        states_[row] = RowState{};
        refreshRow(static_cast<int>(row));
    }
    lblSummary_->clear();
    setIdle(false);
    clock_.start();
    run_->start();
}

void VenueWindow::rowStarted(int row)
{
    RowState& state = states_[static_cast<std::size_t>(row)];
    state.shown.restart();
    state.running = true;
    state.clock.start();
    refreshRow(row);
}

void VenueWindow::rowTold(int row, const fw::Event& event)
{
    states_[static_cast<std::size_t>(row)].shown.take(event);
    refreshRow(row);
}

void VenueWindow::rowEnded(int row, const fw::JobOutcome& outcome)
{
    RowState& state = states_[static_cast<std::size_t>(row)];
    state.running = false;
    // A row that ended without a message of its own (its ISP folder could
    // not be made) shows why all the same.
    if (!outcome.succeeded && state.shown.result().empty())
        state.shown.take(fw::MessageShown{fw::MessageKind::Error, outcome.failure, std::nullopt});
    refreshRow(row);
}

void VenueWindow::rowNotStarted(int row)
{
    const VenueRowPlan& first = runRows_.front();
    states_[static_cast<std::size_t>(row)].shown.take(fw::MessageShown{
        fw::MessageKind::Error, fw::notStartedMessage(runKind_, fw::projectorName(first.label, first.number)),
        std::nullopt});
    refreshRow(row);
}

void VenueWindow::runFinished()
{
    clock_.stop();
    std::vector<fw::RowEnd> ends;
    for (std::size_t row = 0; row < runRows_.size(); ++row) {
        const bool started = run_->turnOf(row) != fw::Turn::NotStarted;
        ends.push_back({fw::projectorName(runRows_[row].label, runRows_[row].number), started,
                        started ? run_->outcomeOf(row) : fw::JobOutcome{}});
    }
    const std::string summary = fw::venueSummary(runKind_, ends);
    lblSummary_->setText(toQt(summary));
    setIdle(true);
    if (runKind_ == fw::JobKind::Upgrade) {
        const bool all = std::all_of(ends.begin(), ends.end(), [](const fw::RowEnd& e) { return e.outcome.succeeded; });
        showMessageBox(this, summary, all ? fw::MessageStyle::Information : fw::MessageStyle::Critical);
    }
    emit runEnded();
}

void VenueWindow::showRowState(int row, const fw::VenueRow& state, bool isRunning, int elapsedSeconds)
{
    RowState& r = states_[static_cast<std::size_t>(row)];
    r.shown = state;
    r.running = isRunning;
    refreshRow(row);
    rows_->item(row, Elapsed)->setText(toQt(elapsedText(elapsedSeconds)));
}

void VenueWindow::refreshRow(int row)
{
    const RowState& state = states_[static_cast<std::size_t>(row)];
    rows_->item(row, Model)->setText(toQt(state.shown.model()));
    rows_->item(row, Step)->setText(QString::fromLatin1(fw::stepName(state.shown.step())));
    auto* bar = static_cast<QProgressBar*>(rows_->cellWidget(row, Progress));
    bar->setValue(static_cast<int>(state.shown.progress()));
    const QString result = toQt(state.shown.result());
    if (rows_->item(row, Result)->text() != result) {
        rows_->item(row, Result)->setText(result);
        rows_->item(row, Result)->setToolTip(result);
    }
    if (state.clock.isValid())
        rows_->item(row, Elapsed)->setText(toQt(elapsedText(static_cast<int32_t>(state.clock.elapsed() / 1000))));
}

void VenueWindow::tick()
{
    for (std::size_t row = 0; row < states_.size(); ++row)
        if (states_[row].running) refreshRow(static_cast<int>(row));
}

void VenueWindow::setIdle(bool idle)
{
    for (QWidget* w : std::initializer_list<QWidget*>{cmdAdd_, cmdRemove_, cmdUp_, cmdDown_, cmdOpenVenue_, cmdOpenFile_,
                                                      txtLabel_, txtPort_, chkOneFirst_, spnAtOnce_, cmdCheckAll_,
                                                      cmdUpgradeAll_})
        w->setEnabled(idle);
}

bool VenueWindow::keepOpen()
{
    if (!running()) return false;
    return showMessageBox(this, texts::CloseWhileBusy, fw::MessageStyle::Question) != fw::Answer::Yes;
}

void VenueWindow::leave()
{
    if (running()) run_->leave(kLeaveWaitMs);
}

void VenueWindow::closeEvent(QCloseEvent* event)
{
    if (!running()) {
        event->accept();
        return;
    }
    if (keepOpen()) {
        event->ignore();
        return;
    }
    event->accept();
    leave();
    if (setup_.endProgram) setup_.endProgram();
}

} // namespace fw::qt
