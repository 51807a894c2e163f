#include <gtest/gtest.h>

#include <sstream>

#include "PackageMaker.h"
#include "RecordWriting.h"
#include "ReportCommand.h"
#include "TempFolder.h"

using namespace fw;
using namespace fw::cli;
using namespace fw::testing;

namespace {

// A record of three operations, oldest first: an upgrade that went well, a
// failed test, an upgrade whose loader gave no verdict.
struct ThreeOperations {
    ThreeOperations()
    {
        writeFile(up, "uP");
        writeFile(scaler, "scaler");
        RecordWriter w(path, up, scaler);
        w.upgrade(3, "QT2416\r\n", true, "/fw/QT2416_package.txt");
        w.test(1, false);
        w.upgrade(2, "QT2416\r\n", false, "/fw/QT2416_package.txt");
    }
    std::string idOf(std::size_t n) const  // the n-th operation's, oldest first
    {
        const std::string text = readFile(path);
        std::size_t at = 0;
        for (std::size_t i = 0; i <= 2 * n; ++i) at = text.find("\"id\":\"", at) + 6;
        return text.substr(at, 16);
    }
    struct Run {
        int status;
        std::string out, err, html;
    };
    Run report(ReportRequest request) const
    {
        request.recordPath = request.recordPath.empty() ? path : request.recordPath;
        request.html = folder.file("report.html");
        std::ostringstream out, err;
        const int status = writeReport(request, out, err);
        return {status, out.str(), err.str(), status == 0 ? readFile(request.html) : ""};
    }

    sim::TempFolder folder;
    std::string path = folder.file("upgrades.jsonl");
    std::string up = folder.file("up.bin");
    std::string scaler = folder.file("scaler.bin");
};

ReportRequest ask(std::size_t last, std::string id = {}, std::string recordPath = {})
{
    ReportRequest request;
    request.last = last;
    request.id = std::move(id);
    request.recordPath = std::move(recordPath);
    return request;
}

std::size_t count(const std::string& text, const std::string& what)
{
    std::size_t n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

} // namespace

// Which entries go in: the newest by default, the newest N in the order
// they started, or the one an id (or its beginning) names.
TEST(ReportCommand, TheEntriesAskedForInTheOrderTheyStarted)
{
    const ThreeOperations r;
    const auto newest = r.report(ask(0));
    ASSERT_EQ(newest.status, 0) << newest.err;
    EXPECT_EQ(count(newest.html, "class=\"page projector\""), 1u);
    EXPECT_NE(newest.html.find("ERROR: uP software download failed!"), std::string::npos);
    EXPECT_EQ(newest.out, r.folder.file("report.html") + ": 1 operations: 1 failed\n");

    const auto all = r.report(ask(5));
    ASSERT_EQ(all.status, 0) << all.err;
    EXPECT_EQ(count(all.html, "class=\"page projector\""), 3u);
    const auto complete = all.html.find("Download complete"), test = all.html.find(texts::LinkFailed),
               failed = all.html.find("ERROR: uP software download failed!");
    EXPECT_LT(complete, test);
    EXPECT_LT(test, failed);

    const auto byId = r.report(ask(0, r.idOf(0).substr(0, 6)));
    ASSERT_EQ(byId.status, 0) << byId.err;
    EXPECT_EQ(count(byId.html, "class=\"page projector\""), 1u);
    EXPECT_NE(byId.html.find(r.idOf(0)), std::string::npos);
    EXPECT_NE(byId.html.find("Download complete"), std::string::npos);
}

// Nothing written, and why: no such entry, an id too short to tell two
// apart, no record, a file that cannot be written.
TEST(ReportCommand, NothingToReportIsSaid)
{
    const ThreeOperations r;
    const auto none = r.report(ask(0, "ffffffffffffffff"));
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.err, "fwupgrade: no entry with the id ffffffffffffffff in " + r.path + "\n");
    const auto noRecord = r.report(ask(0, "", r.folder.file("none.jsonl")));
    EXPECT_EQ(noRecord.status, 1);
    EXPECT_EQ(noRecord.err, "fwupgrade: cannot read the service record " + r.folder.file("none.jsonl") +
                                ": there is no such file\n");
    std::string text = readFile(r.path);
    for (const auto& [id, alike] : {std::pair{r.idOf(0), "abcd000000000001"}, {r.idOf(1), "abcd000000000002"}})
        for (auto at = text.find(id); at != std::string::npos; at = text.find(id)) text.replace(at, id.size(), alike);
    writeFile(r.path, text);
    const auto ambiguous = r.report(ask(0, "abcd"));
    EXPECT_EQ(ambiguous.status, 1);
    EXPECT_EQ(ambiguous.err, "fwupgrade: 2 entries have ids beginning with abcd; give more of it\n");
    EXPECT_EQ(r.report(ask(0, "abcd000000000002")).status, 0);
    std::ostringstream out, err;
    EXPECT_EQ(writeReport({r.path, 1, "", "", r.folder.file("no folder") + "/r.html"}, out, err), 1);
    EXPECT_NE(err.str().find("fwupgrade: cannot write "), std::string::npos) << err.str();
}
