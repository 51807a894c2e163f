#pragma once

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>
#include <vector>

#include "qt/HistoryLoader.h"
#include "report/HistoryRow.h"

namespace fw::qt {

// The record's entries as the history window lists them, newest first, in
// the order the loader hands them over.
class HistoryModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { When, Operation, Port, Label, Venue, Model, Package, Outcome, Duration, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    // Older entries than those listed, at the end.
    void append(const std::vector<ListedEntry>& entries);
    void clear();
    const ListedEntry& listed(int row) const { return entries_[static_cast<std::size_t>(row)]; }
    // Whether any entry names its label, its venue: their columns show then.
    bool hasLabels() const { return hasLabels_; }
    bool hasVenues() const { return hasVenues_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<ListedEntry> entries_;
    bool hasLabels_ = false;
    bool hasVenues_ = false;
};

// The rows the technician narrowed the list to.
class HistoryFilterModel final : public QSortFilterProxyModel {
    Q_OBJECT

public:
    explicit HistoryFilterModel(HistoryModel& source, QObject* parent = nullptr);
    void setFilter(reports::HistoryFilter filter);
    const reports::HistoryFilter& filter() const { return filter_; }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    HistoryModel& source_;
    reports::HistoryFilter filter_;
};

} // namespace fw::qt
