#include "configurator/KeepAliveLogReport.h"
#include "tests/support/FakeConfiguratorFiles.h"

#include <gtest/gtest.h>

namespace {

const std::string kFolder = "C:\\Zarvo\\";
const std::string kLog = kFolder + "zarwatch.log";
const std::string kOlder = kFolder + "zarwatch.log.old";

TEST(KeepAliveLogReport, SummaryOfTheLast24Hours) {
    const LocalTime kNow = {2003, 5, 14, 12, 0, 0};
    const struct {
        const char* older;  // nullptr: missing
        const char* log;
        LocalTime now;
        const char* summary;
    } cases[] = {
        {nullptr, nullptr, kNow, "The agent has written no log yet."},
        {nullptr, "", kNow, "Line up 0 h 0 min of the last 24 h; 0 drops; 0 failed keep-alive requests."},
        {nullptr, "2003-05-14 06:48:00  Line up\r\n", kNow,
         "Line up 5 h 12 min of the last 24 h; 0 drops; 0 failed keep-alive requests."},
        // Only the part inside the 24 hours counts; a drop without a rise before it is a drop.
        {"2003-05-13 10:00:00  Line up\r\n2003-05-13 14:30:00  Line down\r\n2003-05-13 11:00:00  Line down\r\n",
         "2003-05-13 15:00:00  Line down\r\n", kNow,
         "Line up 2 h 30 min of the last 24 h; 2 drops; 0 failed keep-alive requests."},
        // The agent's end and start end an up time; minutes are rounded down; both files count.
        {"2003-05-14 08:00:00  Line up\r\n",
         "2003-05-14 09:00:59  Zarwatch ended\r\n2003-05-14 09:30:00  Zarwatch started\r\n"
         "2003-05-14 10:00:00  Line up\r\n2003-05-14 11:00:00  Keep-alive request failed: http://a/\r\n"
         "2003-05-14 11:00:00  Line down\r\n2003-05-14 11:30:00  Line up\r\n",
         kNow, "Line up 2 h 30 min of the last 24 h; 1 drop; 1 failed keep-alive request."},
        // A second rise changes nothing; lines it does not know count for nothing.
        {nullptr,
         "2003-05-14 08:00:00  Line up\nLine down\n2003-05-14 09:00:00  Line sideways\n"
         "2003-05-14 09:00:00  Keep-alive request failed: \n2003-05-14 10:00:00  Line up\n"
         "2003-05-14 11:00:00  Line down",
         kNow, "Line up 3 h 0 min of the last 24 h; 1 drop; 0 failed keep-alive requests."},
        // Across a leap day and a year; a rise after now (a clock set back) counts nothing.
        {nullptr, "2004-02-29 23:00:00  Line up\r\n", {2004, 3, 1, 0, 30, 0},
         "Line up 1 h 30 min of the last 24 h; 0 drops; 0 failed keep-alive requests."},
        {nullptr, "2003-12-31 23:59:00  Line up\r\n2004-01-01 00:00:30  Line down\r\n", {2004, 1, 1, 1, 0, 0},
         "Line up 0 h 1 min of the last 24 h; 1 drop; 0 failed keep-alive requests."},
        {nullptr, "2003-05-14 13:00:00  Line up\r\n", kNow,
         "Line up 0 h 0 min of the last 24 h; 0 drops; 0 failed keep-alive requests."},
    };
    for (const auto& c : cases) {
        FakeConfiguratorFiles files;
        if (c.older != nullptr) files.wholeFiles[kOlder] = c.older;
        if (c.log != nullptr) files.wholeFiles[kLog] = c.log;
        EXPECT_EQ(c.summary, KeepAliveLogReport::Read(files, kFolder, c.now).Summary()) << (c.log ? c.log : "");
    }
}

TEST(KeepAliveLogReport, NewestLinesOfBothFilesFirstAndTheWholeLogForTheClipboard) {
    FakeConfiguratorFiles files;
    std::string expectedText;
    for (const std::string* path : {&kOlder, &kLog}) {
        for (int i = 0; i < 300; ++i) {
            const std::string line = *path + " " + std::to_string(i);
            files.wholeFiles[*path] += line + (i % 2 == 0 ? "\r\n" : "\n");
            expectedText += line + "\r\n";
        }
    }
    const KeepAliveLogReport report = KeepAliveLogReport::Read(files, kFolder, {2003, 5, 14, 12, 0, 0});
    ASSERT_EQ(500u, report.NewestLines().size());
    EXPECT_EQ(kLog + " 299", report.NewestLines().front());
    EXPECT_EQ(kOlder + " 299", report.NewestLines()[300]);
    EXPECT_EQ(kOlder + " 100", report.NewestLines().back());
    EXPECT_EQ(expectedText, report.ClipboardText());
}

}  // namespace
