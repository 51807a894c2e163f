#include "qt/HistoryModel.h"

#include "ground/Texts.h"
#include "qt/ReportLook.h"
#include "qt/Text8.h"

namespace fw::qt {

namespace {

namespace t = texts::report;

const std::string& cell(const reports::HistoryRow& row, int column)
{
    switch (column) {
    case HistoryModel::When: return row.when;
    case HistoryModel::Operation: return row.operation;
    case HistoryModel::Port: return row.port;
    case HistoryModel::Label: return row.label;
    case HistoryModel::Venue: return row.venue;
    case HistoryModel::Model: return row.model;
    case HistoryModel::Package: return row.package;
    case HistoryModel::Outcome: return row.outcome;
    default: break;
    }
    return row.duration;
}

} // namespace

void HistoryModel::append(const std::vector<ListedEntry>& entries)
{
    if (entries.empty()) return;
    const int first = static_cast<int>(entries_.size());
    beginInsertRows({}, first, first + static_cast<int>(entries.size()) - 1);
    for (const ListedEntry& e : entries) {
        hasLabels_ = hasLabels_ || !e.row.label.empty();
        hasVenues_ = hasVenues_ || !e.row.venue.empty();
        entries_.push_back(e);
    }
    endInsertRows();
}

void HistoryModel::clear()
{
    beginResetModel();
    entries_.clear();
    hasLabels_ = hasVenues_ = false;
    endResetModel();
}

int HistoryModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(entries_.size());
}

int HistoryModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant HistoryModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const reports::HistoryRow& row = listed(index.row()).row;
    if (role == Qt::DisplayRole) return toQt(cell(row, index.column()));
    if (role == Qt::ForegroundRole && index.column() == Outcome && row.verdict != reports::Verdict::Succeeded)
        return colourOf(row.verdict);
    return {};
}

QVariant HistoryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* const names[ColumnCount] = {t::ColumnWhen,  t::ColumnOperation, t::ColumnPort,
                                                   t::ColumnLabel, t::ColumnVenue,     t::ColumnModel,
                                                   t::ColumnPackage, t::ColumnOutcome, t::ColumnDuration};
    return section >= 0 && section < ColumnCount ? toQt(names[section]) : QVariant();
}

HistoryFilterModel::HistoryFilterModel(HistoryModel& source, QObject* parent)
    : QSortFilterProxyModel(parent), source_(source)
{
    setSourceModel(&source);
}

void HistoryFilterModel::setFilter(reports::HistoryFilter filter)
{
    filter_ = std::move(filter);
    invalidateFilter();
}

bool HistoryFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex&) const
{
    return reports::matches(source_.listed(sourceRow).row, filter_);
}

} // namespace fw::qt
