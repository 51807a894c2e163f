#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTextBrowser>

#include "ModalAnswerer.h"
#include "PackageMaker.h"
#include "RecordWriting.h"
#include "ReportReading.h"
#include "TempFolder.h"
#include "package/ImageDigest.h"
#include "qt/HistoryWindow.h"
#include "qt/Text8.h"

using namespace fw;
using namespace fw::testing;
using fw::qt::HistoryModel;
using fw::qt::HistoryWindow;

namespace {

const reports::UtcOffset kSummerTime = [](int64_t) { return 2 * 3600; };
const std::string kReply2416 = "op model.name ?\r\r\nmodel.name = QT-2416\r\n>";
const std::string kReply2436 = "op model.name ?\r\r\nmodel.name = QT-2436\r\n>";

// An evening's record, oldest first: an upgrade that went well on COM3 (its
// projector labelled, in a folder named in other letters than ASCII), a
// test nobody answered, a line a crash cut short, an upgrade whose loader
// gave no verdict, a test that went well, and an upgrade never ended.
struct EveningRecord {
    EveningRecord()
    {
        writeFile(up, "the uP image's bytes");
        writeFile(scaler, "the scaler image's bytes");
        RecordWriter w(path, up, scaler);
        w.upgrade(3, kReply2416, true, "/fw/Überspielung/QT2416_package.txt");
        w.test(1, false);
        w.damage(R"({"record":1,"id":"0badc0de","sta)");
        w.upgrade(2, kReply2436, false, "/fw/QT2436_package.txt");
        w.test(1, true);
        w.unfinishedUpgrade(4, "/fw/QT2416_package.txt");
        addFields(path, R"("number":3,)", R"("label":"Saal Süd – Bühne 2","venue":"Oper")");
    }

    sim::TempFolder folder;
    std::string path = folder.file("upgrades.jsonl");
    std::string up = folder.file("QT2416_uP.bin");
    std::string scaler = folder.file("QT2416_scaler.bin");
};

// The window as the technician opens it, read to the end.
std::unique_ptr<HistoryWindow> openedOn(const std::string& path)
{
    auto window = std::make_unique<HistoryWindow>(path, nullptr, kSummerTime);
    window->show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->loaded(); }, 10000));
    return window;
}

template <typename W>
W* child(QWidget& window, const char* name)
{
    W* found = window.findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

std::vector<std::string> rowsShown(HistoryWindow& window, std::initializer_list<int> columns)
{
    std::vector<std::string> rows;
    QAbstractItemModel& shown = window.shown();
    for (int r = 0; r < shown.rowCount(); ++r) {
        QStringList cells;
        for (const int c : columns) cells << shown.index(r, c).data().toString();
        rows.push_back(qt::fromQt(cells.join(QStringLiteral(" | "))));
    }
    return rows;
}

void clickRow(QTableView& table, int row, Qt::KeyboardModifiers modifiers = {})
{
    const QRect cell = table.visualRect(table.model()->index(row, 0));
    QTest::mouseClick(table.viewport(), Qt::LeftButton, modifiers, cell.center());
}

} // namespace

// Newest first, each as the technician knows it: the model as its name, not
// the prompt after it; an upgrade whose start has no end as unfinished (and
// looked into, claiming no end); the label and venue where the entry has
// them; the damaged line read past with a note; the file left as it was.
TEST(HistoryWindow, ListsTheRecordNewestFirstAndNotesWhatItReadPast)
{
    EveningRecord record;
    const std::string before = readFile(record.path);
    const auto window = openedOn(record.path);
    using M = HistoryModel;
    EXPECT_EQ(rowsShown(*window, {M::When, M::Operation, M::Port, M::Label, M::Venue, M::Model, M::Package, M::Outcome,
                                  M::Duration}),
              (std::vector<std::string>{
                  "2024-05-01 16:00:34 | upgrade | COM4 /dev/ttyUSB3 |  |  | QT-2436 | QT2416_package.txt | unfinished | ",
                  "2024-05-01 16:00:30 | test | COM1 /dev/ttyUSB0 |  |  | QT-2436 |  | succeeded | 0:03",
                  "2024-05-01 16:00:20 | upgrade | COM2 /dev/ttyUSB1 |  |  | QT-2436 | QT2436_package.txt | "
                  "failed (uP image not taken) | 0:09",
                  "2024-05-01 16:00:16 | test | COM1 /dev/ttyUSB0 |  |  | QT-2416 |  | failed (no answer) | 0:03",
                  "2024-05-01 16:00:00 | upgrade | COM3 /dev/ttyUSB2 | Saal Süd – Bühne 2 | Oper | QT-2416 | "
                  "QT2416_package.txt | succeeded | 0:15"}));
    auto* table = child<QTableView>(*window, "entries");
    EXPECT_FALSE(table->isColumnHidden(M::Label));
    auto* notes = child<QLabel>(*window, "notes");
    EXPECT_TRUE(notes->isVisible());
    EXPECT_TRUE(notes->text().contains(QStringLiteral("is not a record entry; read past it")));
    EXPECT_TRUE(child<QLabel>(*window, "status")->text().startsWith(QStringLiteral("5 entries in ")));
    clickRow(*table, 0);
    const QString unfinished = child<QTextBrowser>(*window, "details")->toPlainText();
    EXPECT_TRUE(unfinished.contains(QStringLiteral("unfinished"))) << unfinished.toStdString();
    EXPECT_FALSE(unfinished.contains(QStringLiteral("Ended")));
    EXPECT_FALSE(unfinished.contains(QStringLiteral("Message shown")));
    EXPECT_EQ(readFile(record.path), before) << "the window wrote the record";
}

// Narrowed by outcome, by text and by date as a technician would, an entry
// looked into whole, and two of them handed over as a report.
TEST(HistoryWindow, FilterSelectAndSaveAReportAsATechnicianWould)
{
    EveningRecord record;
    ModalAnswerer technician;
    const auto window = openedOn(record.path);
    auto* outcome = child<QComboBox>(*window, "outcomeFilter");
    auto* text = child<QLineEdit>(*window, "textFilter");
    auto* table = child<QTableView>(*window, "entries");
    auto* details = child<QTextBrowser>(*window, "details");
    auto* save = child<QPushButton>(*window, "saveReport");
    EXPECT_FALSE(save->isEnabled());

    // The failures: All, Succeeded, Failed.
    outcome->setFocus();
    QTest::keyClick(outcome, Qt::Key_Down);
    QTest::keyClick(outcome, Qt::Key_Down);
    EXPECT_EQ(rowsShown(*window, {HistoryModel::Operation, HistoryModel::Outcome}),
              (std::vector<std::string>{"upgrade | failed (uP image not taken)", "test | failed (no answer)"}));
    QTest::keyClicks(text, QStringLiteral("qt-2436"));
    EXPECT_EQ(rowsShown(*window, {HistoryModel::Model}), (std::vector<std::string>{"QT-2436"}));

    // Looked into: the images with their digests, every phase with its
    // times and outcome, the message the technician was left with.
    clickRow(*table, 0);
    const QString shown = details->toPlainText();
    const auto up = digestImage(record.up);
    ASSERT_TRUE(up);
    for (const QString& wanted :
         {QString::fromStdString(up->sha256), QStringLiteral("Size (bytes)\n") + QString::number(up->size),
          QStringLiteral("Verdict"), QStringLiteral("14:00:27.000 to 14:00:28.000 UTC, 1.0 s, no answer"),
          QStringLiteral("ERROR: uP software download failed!"), QStringLiteral("Download mode"),
          QStringLiteral("model.name = QT-2436\\r\\n>")})
        EXPECT_TRUE(shown.contains(wanted)) << wanted.toStdString() << " not in\n" << shown.toStdString();
    EXPECT_TRUE(save->isEnabled());

    // Dates: the evening is 2024-05-01 in local time, and nothing the day after.
    text->clear();
    outcome->setCurrentIndex(0);
    QTest::mouseClick(child<QCheckBox>(*window, "dateFilter"), Qt::LeftButton);
    child<QDateEdit>(*window, "fromDate")->setDate(QDate(2024, 5, 1));
    child<QDateEdit>(*window, "toDate")->setDate(QDate(2024, 5, 1));
    EXPECT_EQ(window->shown().rowCount(), 5);
    child<QDateEdit>(*window, "fromDate")->setDate(QDate(2024, 5, 2));
    EXPECT_EQ(window->shown().rowCount(), 0);
    QTest::mouseClick(child<QCheckBox>(*window, "dateFilter"), Qt::LeftButton);

    // The upgrade that went well and the unfinished one, saved as one HTML
    // file and as a PDF.
    clickRow(*table, 4);
    clickRow(*table, 0, Qt::ControlModifier);
    const QString html = qt::toQt(record.folder.file("report.html"));
    technician.chooseFileNext(html);
    QTest::mouseClick(save, Qt::LeftButton);
    QFile file(html);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const ParsedHtml parsed = parseHtml(QString::fromUtf8(file.readAll()));
    ASSERT_TRUE(parsed.wellFormed);
    EXPECT_EQ(parsed.withClass(QStringLiteral("outcome")).size(), 2u);
    const QString pdf = qt::toQt(record.folder.file("Bericht Süd.pdf"));
    technician.chooseFileNext(pdf);
    QTest::mouseClick(save, Qt::LeftButton);
    ASSERT_EQ(technician.fileDialogs().size(), 2u);
    if (!pdfReaderRuns()) GTEST_SKIP() << "no PDF reader runs here; e2e.windows_upgrade reads this build's PDF";
    const auto pages = pdfPages(pdf);
    ASSERT_TRUE(pages);
    ASSERT_EQ(pages->size(), 3);
    EXPECT_TRUE(pages->at(0).contains(QStringLiteral("2 operations: 1 succeeded, 1 unfinished")));
    // In the order the operations started.
    EXPECT_TRUE(pages->at(1).contains(QStringLiteral("Download complete")));
    EXPECT_TRUE(pages->at(1).contains(QStringLiteral("Saal Süd – Bühne 2")));
    EXPECT_TRUE(pages->at(1).contains(QString::fromStdString(up->sha256)));
    EXPECT_TRUE(pages->at(2).contains(QStringLiteral("Unfinished")));
}

TEST(HistoryWindow, NoRecordYetIsSaid)
{
    sim::TempFolder folder;
    const auto window = openedOn(folder.file("upgrades.jsonl"));
    EXPECT_EQ(window->model().rowCount(), 0);
    EXPECT_TRUE(child<QLabel>(*window, "status")->text().startsWith(QStringLiteral("No service record yet at ")));
}
