#include "configurator/KeepAliveLogReport.h"
#include "tests/support/FakeConfiguratorFiles.h"

#include <gtest/gtest.h>

namespace {

const LocalTime kNow = {2003, 5, 14, 12, 0, 0};

TEST(KeepAliveLogReport, SummaryOfTheLast24Hours) {
    const struct { const char* older; const char* log; LocalTime now; const char* summary; } cases[] = {  // nullptr: missing
        {nullptr, nullptr, kNow, "The agent has written no log yet."},
        // Only the part inside the 24 hours counts; a drop without a rise before it is a drop.
        {"2003-05-13 10:00:00  Line up\r\n2003-05-13 14:30:00  Line down\r\n2003-05-13 11:00:00  Line down\r\n",
         "2003-05-13 15:00:00  Line down\r\n", kNow,
         "Line up 2 h 30 min of the last 24 h; 2 drops; 0 failed keep-alive requests."},
        // The agent's end and start end an up time; minutes are rounded down.
        {"2003-05-14 08:00:00  Line up\n", "2003-05-14 09:00:59  Zarwatch ended\n2003-05-14 09:30:00  Zarwatch started\n"
         "2003-05-14 10:00:00  Line up\n2003-05-14 11:00:00  Keep-alive request failed: http://a/\n"
         "2003-05-14 11:00:00  Line down\n2003-05-14 11:30:00  Line up\n", kNow,
         "Line up 2 h 30 min of the last 24 h; 1 drop; 1 failed keep-alive request."},
        // A second rise changes nothing; lines it does not know count for nothing.
        {nullptr,
         "2003-05-14 08:00:00  Line up\nLine down\n2003-05-14 09:00:00  Line sideways\n2003-05-14 09:00:00 Line down\n"
         "2003-05-14 09:00:00  Keep-alive request failed: \n2003-13-14 09:00:00  Line down\n2003-05-14 24:00:00  Line down\n"
         "2003-05-14 10:00:00  Line up\n2003-05-14T10:00:00  Line down\n2003-05-14 11:00:00  Line down",
         kNow, "Line up 3 h 0 min of the last 24 h; 1 drop; 0 failed keep-alive requests."},
        // Found by fuzzing: a clock set back made an hour count twice, and more than 24 in all.
        {nullptr, "2003-05-14 08:00:00  Line up\n2003-05-14 10:00:00  Line down\n2003-05-14 09:00:00  Line up\n", kNow,
         "Line up 4 h 0 min of the last 24 h; 1 drop; 0 failed keep-alive requests."},
        // Across a leap day.
        {nullptr, "2004-02-29 23:59:00  Line up\r\n2004-03-01 00:00:30  Line down\r\n", {2004, 3, 1, 1, 0, 0},
         "Line up 0 h 1 min of the last 24 h; 1 drop; 0 failed keep-alive requests."},
    };
    for (const auto& c : cases) {
        FakeConfiguratorFiles files;
        if (c.older != nullptr) files.wholeFiles["C:\\Zarvo\\zarwatch.log.old"] = c.older;
        if (c.log != nullptr) files.wholeFiles["C:\\Zarvo\\zarwatch.log"] = c.log;
        EXPECT_EQ(c.summary, KeepAliveLogReport::Read(files, "C:\\Zarvo\\", c.now).Summary()) << (c.log ? c.log : "");
    }
}

}  // namespace
