#include "configurator/ApplyReport.h"
#include "tests/support/FakeDesktop.h"
#include "tests/support/FakeLogFiles.h"

#include <gtest/gtest.h>

TEST(ApplyReport, ALineWithTheExitCodesMeaningWaitingUpTo10SecondsForOtherWriters) {
    EXPECT_EQ("2003-05-14 09:12:03  HALL  Windows NT  1002 no rights to the machine-wide keys  0 written, 0 refused\r\n",
              ApplyReport::Line({2003, 5, 14, 9, 12, 3}, "HALL", "Windows NT", 1002, {}));
    const struct { int busyAppends; DWORD clockStart; bool unwritable; int exitCode, programExit; } cases[] = {
        {199, 0, false, 0, 0}, {201, 0, false, 0, 1005}, {199, 0xFFFFF000u, false, 0, 0},  // busy: 50 ms each
        {0, 0, true, 0, 1005}, {0, 0, true, 3, 3}};
    for (const auto& c : cases) {
        FakeDesktop desktop;
        desktop.SetVersion(VER_PLATFORM_WIN32_WINDOWS, 4, 10);
        FakeLogFiles files;
        files.busyAppends = c.busyAppends;
        files.now = c.clockStart;
        if (c.unwritable) files.unwritable.insert("apply.txt");
        EXPECT_EQ(c.programExit, ApplyReport(desktop, files).Write("apply.txt", c.exitCode, {11, 0})) << c.busyAppends;
        EXPECT_EQ(c.programExit ? "" : "2003-05-01 14:03:00  ROOM12-PC  Windows 98  0 applied  11 written, 0 refused\r\n",
                  files.files["apply.txt"]);
    }
}
