#include "qt/HistoryWindow.h"

#include <QCheckBox>
#include <algorithm>
#include <QComboBox>
#include <QDate>
#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "ground/Texts.h"
#include "qt/ReportFiles.h"
#include "qt/Text8.h"
#include "record/HistoryReader.h"
#include "report/BuildReport.h"
#include "report/EntryDetails.h"

namespace fw::qt {

namespace {

namespace t = texts::report;

constexpr int kMostNotesShown = 5;  // damaged lines named below the list; the rest counted
const QString kDateFormat = QStringLiteral("yyyy-MM-dd");

QString detailsHtml(const std::vector<reports::DetailSection>& sections)
{
    QString html;
    for (const reports::DetailSection& s : sections) {
        html += QStringLiteral("<h3>%1</h3><table cellspacing=\"0\" cellpadding=\"2\">").arg(toQt(s.title).toHtmlEscaped());
        for (const reports::Fact& f : s.facts)
            html += QStringLiteral("<tr><td style=\"color:#6b6b6b;padding-right:12px\">%1</td><td>%2</td></tr>")
                        .arg(toQt(f.label).toHtmlEscaped(), toQt(f.value).toHtmlEscaped());
        html += QStringLiteral("</table>");
    }
    return html;
}

} // namespace

HistoryWindow::HistoryWindow(std::string recordPath, QWidget* parent, reports::UtcOffset localOffset)
    : QWidget(parent, Qt::Window), path_(std::move(recordPath)),
      localOffset_(localOffset ? std::move(localOffset) : systemUtcOffset()), filtered_(model_)
{
    setObjectName(QStringLiteral("History"));
    setWindowTitle(toQt(t::HistoryTitle) + QStringLiteral(" - ") + toQt(texts::ProgramTitle));
    build();
    reload();
}

HistoryWindow::~HistoryWindow()
{
    loader_.reset();  // the reading thread ends before anything it hands to goes
}

void HistoryWindow::build()
{
    outcome_ = new QComboBox(this);
    outcome_->setObjectName(QStringLiteral("outcomeFilter"));
    outcome_->addItem(toQt(t::FilterAll));
    for (const char* name : {t::FilterSucceeded, t::FilterFailed, t::FilterDeclined, t::FilterUnfinished})
        outcome_->addItem(toQt(name));
    text_ = new QLineEdit(this);
    text_->setObjectName(QStringLiteral("textFilter"));
    text_->setPlaceholderText(toQt(t::FilterTextHint));
    text_->setClearButtonEnabled(true);
    dates_ = new QCheckBox(toQt(t::FilterDates), this);
    dates_->setObjectName(QStringLiteral("dateFilter"));
    from_ = new QDateEdit(QDate::currentDate(), this);
    from_->setObjectName(QStringLiteral("fromDate"));
    to_ = new QDateEdit(QDate::currentDate(), this);
    to_->setObjectName(QStringLiteral("toDate"));
    for (QDateEdit* d : {from_, to_}) {
        d->setCalendarPopup(true);
        d->setDisplayFormat(kDateFormat);
        d->setEnabled(false);
    }
    save_ = new QPushButton(toQt(t::SaveReport), this);
    save_->setObjectName(QStringLiteral("saveReport"));
    save_->setEnabled(false);

    auto* filters = new QHBoxLayout;
    filters->addWidget(new QLabel(toQt(t::FilterOutcome), this));
    filters->addWidget(outcome_);
    filters->addSpacing(12);
    filters->addWidget(new QLabel(toQt(t::FilterText), this));
    filters->addWidget(text_, 1);
    filters->addSpacing(12);
    filters->addWidget(dates_);
    filters->addWidget(from_);
    filters->addWidget(new QLabel(toQt(t::FilterTo), this));
    filters->addWidget(to_);
    filters->addSpacing(12);
    filters->addWidget(save_);

    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("entries"));
    table_->setModel(&filtered_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setWordWrap(false);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setColumnHidden(HistoryModel::Label, true);
    table_->setColumnHidden(HistoryModel::Venue, true);

    details_ = new QTextBrowser(this);
    details_->setObjectName(QStringLiteral("details"));
    details_->setPlaceholderText(toQt(t::SelectAnEntry));
    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(table_);
    split->addWidget(details_);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("status"));
    notes_ = new QLabel(this);
    notes_->setObjectName(QStringLiteral("notes"));
    notes_->setWordWrap(true);
    notes_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    notes_->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(split, 1);
    layout->addWidget(status_);
    layout->addWidget(notes_);
    resize(1100, 680);

    connect(outcome_, &QComboBox::currentIndexChanged, this, [this] { applyFilter(); });
    connect(text_, &QLineEdit::textChanged, this, [this] { applyFilter(); });
    connect(dates_, &QCheckBox::toggled, this, [this](bool on) {
        from_->setEnabled(on);
        to_->setEnabled(on);
        applyFilter();
    });
    connect(from_, &QDateEdit::dateChanged, this, [this] { applyFilter(); });
    connect(to_, &QDateEdit::dateChanged, this, [this] { applyFilter(); });
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        save_->setEnabled(table_->selectionModel()->hasSelection());
        showDetails();
    });
    connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] { showDetails(); });
    connect(save_, &QPushButton::clicked, this, [this] { askAndSaveReport(); });
    connect(&filtered_, &QAbstractItemModel::rowsInserted, this, [this] { updateStatus(); });
}

void HistoryWindow::reload()
{
    loader_.reset();
    model_.clear();
    warnings_.clear();
    loaded_ = false;
    found_ = true;
    const int generation = ++generation_;
    updateStatus();
    loader_ = std::make_unique<HistoryLoader>(this, path_, localOffset_,
                                              [this, generation](const HistoryLoader::Batch& b) { take(b, generation); });
}

void HistoryWindow::take(const HistoryLoader::Batch& batch, int generation)
{
    if (generation != generation_) return;  // from a reading since given up
    found_ = batch.found;
    warnings_.insert(warnings_.end(), batch.warnings.begin(), batch.warnings.end());
    const bool first = model_.rowCount() == 0;
    model_.append(batch.entries);
    table_->setColumnHidden(HistoryModel::Label, !model_.hasLabels());
    table_->setColumnHidden(HistoryModel::Venue, !model_.hasVenues());
    // The columns as wide as the newest entries need; measuring them all would stall.
    if (first && model_.rowCount() > 0)
        for (int column = 0; column < HistoryModel::Duration; ++column) table_->resizeColumnToContents(column);
    loaded_ = batch.done;
    updateStatus();
}

void HistoryWindow::updateStatus()
{
    if (!found_) {
        status_->setText(toQt(t::NoRecord + path_));
        return;
    }
    QString text = loaded_ ? QString::number(model_.rowCount()) + toQt(t::EntriesIn) + toQt(path_)
                           : toQt(t::Reading) + QStringLiteral(" ") + QString::number(model_.rowCount());
    if (filtered_.rowCount() != model_.rowCount()) text += toQt(t::EntriesShown) + QString::number(filtered_.rowCount());
    status_->setText(text);
    if (warnings_.empty()) {
        notes_->hide();
        return;
    }
    QString notes = QString::number(warnings_.size()) + toQt(t::DamagedLines);
    for (std::size_t i = 0; i < warnings_.size() && i < kMostNotesShown; ++i)
        notes += QStringLiteral("\n") + toQt(warnings_[i]);
    if (warnings_.size() > kMostNotesShown) notes += QStringLiteral("\n...");
    notes_->setText(notes);
    notes_->show();
}

void HistoryWindow::applyFilter()
{
    reports::HistoryFilter filter;
    const int choice = outcome_->currentIndex();
    constexpr reports::Verdict kChoices[] = {reports::Verdict::Succeeded, reports::Verdict::Failed,
                                            reports::Verdict::Declined, reports::Verdict::Unfinished};
    if (choice > 0) filter.verdict = kChoices[choice - 1];
    filter.text = fromQt(text_->text().trimmed());
    if (dates_->isChecked()) {
        filter.fromDay = fromQt(from_->date().toString(kDateFormat));
        filter.toDay = fromQt(to_->date().toString(kDateFormat));
    }
    filtered_.setFilter(std::move(filter));
    updateStatus();
}

std::vector<RecordEntry> HistoryWindow::selectedEntries() const
{
    // The list is newest first; the report reads in the order the operations started.
    QModelIndexList rows = table_->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() > b.row(); });
    std::vector<RecordEntry> entries;
    for (const QModelIndex& index : rows) {
        const ListedEntry& listed = model_.listed(filtered_.mapToSource(index).row());
        std::optional<RecordEntry> entry = entryAt(path_, listed.offset);
        if (entry && entry->id == listed.id) entries.push_back(std::move(*entry));
    }
    return entries;
}

void HistoryWindow::showDetails()
{
    const QModelIndex current = table_->selectionModel()->currentIndex();
    if (!current.isValid() || !table_->selectionModel()->isRowSelected(current.row(), {})) {
        details_->clear();
        return;
    }
    const ListedEntry& listed = model_.listed(filtered_.mapToSource(current).row());
    const std::optional<RecordEntry> entry = entryAt(path_, listed.offset);
    if (!entry || entry->id != listed.id) {
        details_->clear();
        return;
    }
    details_->setHtml(detailsHtml(reports::detailsOf(*entry, localOffset_)));
}

std::string HistoryWindow::saveReport(const QString& path) const
{
    const reports::Report report = reports::buildReport(selectedEntries(), localOffset_);
    return path.endsWith(QStringLiteral(".html"), Qt::CaseInsensitive) ||
                   path.endsWith(QStringLiteral(".htm"), Qt::CaseInsensitive)
               ? writeReportHtml(report, path)
               : writeReportPdf(report, path);
}

void HistoryWindow::askAndSaveReport()
{
    QFileDialog dialog(this, toQt(t::SaveReportTitle));
    dialog.setObjectName(QStringLiteral("saveReportDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(toQt(t::SaveReportFilter).split(QStringLiteral(";;")));
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
        dialog.setDefaultSuffix(filter.contains(QStringLiteral("html")) ? QStringLiteral("html") : QStringLiteral("pdf"));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const QString path = dialog.selectedFiles().constFirst();
    if (const std::string failure = saveReport(path); !failure.empty())
        QMessageBox::critical(this, toQt(texts::MessageBoxTitle), toQt(t::ReportNotWritten + failure));
}

} // namespace fw::qt
