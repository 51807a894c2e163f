#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <map>
#include <optional>
#include <memory>
#include <string>
#include <vector>

#include "ground/VenueFile.h"
#include "job/JobStation.h"
#include "job/Question.h"
#include "job/VenueRow.h"
#include "qt/ProjectorPorts.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace fw::qt {

class VenueRun;

// One row of a run, with the number its port goes by.
struct VenueRowPlan {
    std::string label;
    std::string port;
    int number = 0;
};

// A run of the window's rows as the program wires it: the rows, the numbers
// their device paths and serial servers run under, the venue's name.
struct VenuePlan {
    std::vector<VenueRowPlan> rows;
    std::map<int, std::string> pathOfPort;
    std::string venueName;
};

// What the window is given by the program.
struct VenueSetup {
    // The stations of a run's rows: each made on its row's own thread.
    std::function<fw::StationMaker(const VenuePlan& plan)> stations;
    // The numbers the rows' ports go by (settings.ini's [Ports] lines).
    std::function<PortAssignment(const std::vector<std::string>& ports)> assignPorts;
    std::string listFile;          // the package: the main window's selected list file
    std::string workingDirectory;  // relative image names resolve against it
    // Ends the program at once; called after a confirmed close while rows
    // run, once every ISP tool is stopped and every port closed.
    std::function<void()> endProgram;
};

// The venue window: the package, one row a projector (label, port, the
// model it answered, the step it is at, a progress bar, the elapsed time
// and its result in full), "Check all" and "Upgrade all". Each row runs on
// a thread of its own; the window's thread never waits on a port, a
// process or a file, and learns what happens only from each row's events.
class VenueWindow final : public QWidget {
    Q_OBJECT

public:
    explicit VenueWindow(VenueSetup setup, QWidget* parent = nullptr);
    ~VenueWindow() override;

    // The rows and the venue's name as they stand.
    fw::Venue venue() const;
    void setVenue(const fw::Venue& venue);
    // Reads a venue file (on a thread of its own) and shows its rows; a
    // file that is not a venue is refused with every bad line, the rows
    // stay as they were.
    void openVenue(const std::string& path);
    // The package, checked on a thread of its own.
    void setListFile(const std::string& path);

    bool running() const;
    // While rows run: the main window's close question. True when the
    // technician wants to stay.
    bool keepOpen();
    // Every ISP tool of the rows at work stopped, every port closed, and
    // nothing of their jobs goes on; for the program's end.
    void leave();

    // What each row shows, for tests and pictures.
    const fw::VenueRow& rowState(int row) const { return states_.at(static_cast<std::size_t>(row)).shown; }
    void showRowState(int row, const fw::VenueRow& state, bool running, int elapsedSeconds);

    QTableWidget* rows() const { return rows_; }
    QLineEdit* txtVenueName() const { return txtVenueName_; }
    QLineEdit* txtListFile() const { return txtListFile_; }
    QLabel* lblPackage() const { return lblPackage_; }
    QPushButton* cmdOpenFile() const { return cmdOpenFile_; }
    QLineEdit* txtLabel() const { return txtLabel_; }
    QLineEdit* txtPort() const { return txtPort_; }
    QPushButton* cmdAdd() const { return cmdAdd_; }
    QPushButton* cmdRemove() const { return cmdRemove_; }
    QPushButton* cmdUp() const { return cmdUp_; }
    QPushButton* cmdDown() const { return cmdDown_; }
    QPushButton* cmdOpenVenue() const { return cmdOpenVenue_; }
    QPushButton* cmdSaveVenue() const { return cmdSaveVenue_; }
    QCheckBox* chkOneFirst() const { return chkOneFirst_; }
    QSpinBox* spnAtOnce() const { return spnAtOnce_; }
    QPushButton* cmdCheckAll() const { return cmdCheckAll_; }
    QPushButton* cmdUpgradeAll() const { return cmdUpgradeAll_; }
    QLabel* lblSummary() const { return lblSummary_; }

    // The columns of a row.
    enum Column { Label, Port, Model, Step, Progress, Elapsed, Result, Columns };

signals:
    // A run's every row has ended or was left alone; its summary is shown.
    void runEnded();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    struct RowState {
        fw::VenueRow shown;
        QElapsedTimer clock;
        bool running = false;
    };

    void build();
    QWidget* buildPackage();
    QWidget* buildAdding();
    QWidget* buildOptions();
    void wire();
    void addRow(const std::string& label, const std::string& port);
    void addTypedRow();
    void removeRow();
    void moveRow(int by);
    void chooseListFile();
    void chooseVenueToOpen();
    void chooseVenueToSave();
    void start(fw::JobKind kind);
    std::optional<VenuePlan> plan();
    bool confirmed(const VenuePlan& plan);
    void rowStarted(int row);
    void rowTold(int row, const fw::Event& event);
    void rowEnded(int row, const fw::JobOutcome& outcome);
    void rowNotStarted(int row);
    void runFinished();
    void refreshRow(int row);
    void tick();
    void setIdle(bool idle);
    void showProblem(const std::string& text);

    VenueSetup setup_;
    std::unique_ptr<VenueRun> run_;
    fw::AnsweredYes answeredAhead_;
    fw::JobKind runKind_ = fw::JobKind::Upgrade;
    std::vector<VenueRowPlan> runRows_;
    std::vector<RowState> states_;
    bool packageValid_ = false;
    QTimer clock_;

    QTableWidget* rows_ = nullptr;
    QLineEdit* txtVenueName_ = nullptr;
    QLineEdit* txtListFile_ = nullptr;
    QLabel* lblPackage_ = nullptr;
    QPushButton* cmdOpenFile_ = nullptr;
    QLineEdit* txtLabel_ = nullptr;
    QLineEdit* txtPort_ = nullptr;
    QPushButton* cmdAdd_ = nullptr;
    QPushButton* cmdRemove_ = nullptr;
    QPushButton* cmdUp_ = nullptr;
    QPushButton* cmdDown_ = nullptr;
    QPushButton* cmdOpenVenue_ = nullptr;
    QPushButton* cmdSaveVenue_ = nullptr;
    QCheckBox* chkOneFirst_ = nullptr;
    QSpinBox* spnAtOnce_ = nullptr;
    QPushButton* cmdCheckAll_ = nullptr;
    QPushButton* cmdUpgradeAll_ = nullptr;
    QLabel* lblSummary_ = nullptr;
};

} // namespace fw::qt
