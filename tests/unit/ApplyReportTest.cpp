#include "configurator/ApplyReport.h"
#include "tests/support/FakeDesktop.h"
#include "tests/support/FakeLogFiles.h"

#include <gtest/gtest.h>

namespace {

TEST(ApplyReport, OneLineWithTheExitCodesMeaningAndTheCounts) {
    const LocalTime time = {2003, 5, 14, 9, 12, 3};
    EXPECT_EQ("2003-05-14 09:12:03  ROOM12-PC  Windows 98  0 applied  11 written, 0 refused\r\n",
              ApplyReport::Line(time, "ROOM12-PC", "Windows 98", 0, {11, 0}));
    EXPECT_EQ("2003-05-14 09:12:03  HALL  Windows XP  3 refused by the registry  8 written, 3 refused\r\n",
              ApplyReport::Line(time, "HALL", "Windows XP", 3, {8, 3}));
    EXPECT_EQ("2003-05-14 09:12:03  HALL  Windows NT  1002 no rights to the machine-wide keys  0 written, 0 refused\r\n",
              ApplyReport::Line(time, "HALL", "Windows NT", 1002, {}));
}

TEST(ApplyReport, ABusyFileIsWaitedForUpTo10SecondsAndOnlyACleanApplyTurnsAFailureInto1005) {
    const std::string path = "\\\\server\\logs\\apply.txt";
    const struct {
        int busyAppends;
        bool unwritable;
        DWORD clockStart;
        int exitCode;
        int programExit;
        bool written;
    } cases[] = {
        {0, false, 0, 0, 0, true},
        {199, false, 0, 0, 0, true},  // 9.95 s of 50 ms pauses
        {201, false, 0, 0, 1005, false},
        {199, false, 0xFFFFF000u, 0, 0, true},  // the millisecond count wraps meanwhile
        {0, true, 0, 0, 1005, false},
        {0, true, 0, 3, 3, false},
        {0, true, 0, 1001, 1001, false},
    };
    for (const auto& c : cases) {
        FakeDesktop desktop;
        desktop.SetVersion(VER_PLATFORM_WIN32_WINDOWS, 4, 10);
        FakeLogFiles files;
        files.busyAppends = c.busyAppends;
        files.now = c.clockStart;
        if (c.unwritable) files.unwritable.insert(path);
        EXPECT_EQ(c.programExit, ApplyReport(desktop, files).Write(path, c.exitCode, {11, 0})) << c.busyAppends;
        EXPECT_EQ(c.written ? "2003-05-01 14:03:00  ROOM12-PC  Windows 98  0 applied  11 written, 0 refused\r\n" : "",
                  files.files[path]);
    }
}

}  // namespace
