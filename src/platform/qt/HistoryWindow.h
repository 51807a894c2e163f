#pragma once

#include <QWidget>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "qt/HistoryLoader.h"
#include "qt/HistoryModel.h"
#include "record/RecordEntry.h"
#include "report/Wording.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTextBrowser;

namespace fw::qt {

// The service record where a technician looks: every test and upgrade,
// newest first, filtered by outcome, by text and by date; a selected entry
// shown whole below; a report of the selection saved as PDF or HTML. The
// record is read on a thread of its own and never written.
class HistoryWindow final : public QWidget {
    Q_OBJECT

public:
    explicit HistoryWindow(std::string recordPath, QWidget* parent = nullptr,
                           reports::UtcOffset localOffset = {});
    ~HistoryWindow() override;

    // Reads the record again from its end.
    void reload();
    // True once the whole file has been read.
    bool loaded() const { return loaded_; }

    HistoryModel& model() { return model_; }
    HistoryFilterModel& shown() { return filtered_; }
    // The selected entries read whole from the record, oldest first.
    std::vector<RecordEntry> selectedEntries() const;

    // Writes the report of the selection; what went wrong, or nothing.
    std::string saveReport(const QString& path) const;

private:
    void build();
    void take(const HistoryLoader::Batch& batch, int generation);
    void applyFilter();
    void showDetails();
    void askAndSaveReport();
    void updateStatus();

    std::string path_;
    reports::UtcOffset localOffset_;
    HistoryModel model_;
    HistoryFilterModel filtered_;
    std::unique_ptr<HistoryLoader> loader_;
    int generation_ = 0;
    bool loaded_ = false;
    bool found_ = true;
    std::vector<std::string> warnings_;

    QComboBox* outcome_ = nullptr;
    QLineEdit* text_ = nullptr;
    QCheckBox* dates_ = nullptr;
    QDateEdit* from_ = nullptr;
    QDateEdit* to_ = nullptr;
    QPushButton* save_ = nullptr;
    QTableView* table_ = nullptr;
    QTextBrowser* details_ = nullptr;
    QLabel* status_ = nullptr;
    QLabel* notes_ = nullptr;
};

} // namespace fw::qt
