#include "agent/AgentLog.h"
#include "common/KeepAliveLog.h"
#include "tests/support/FakeDesktop.h"
#include "tests/support/FakeLogFiles.h"
#include "win32/MemoryRegistry.h"

#include <gtest/gtest.h>

namespace {

TEST(KeepAliveLog, LinesAreReadBackAndOthersAreNot) {
    EXPECT_EQ("2003-05-14 09:12:03  Line down\r\n", KeepAliveLog::Line({2003, 5, 14, 9, 12, 3}, "Line down"));
    const auto entry = KeepAliveLog::Read("2003-12-31 23:59:59  Keep-alive request failed: http://a/");
    ASSERT_TRUE(entry);
    EXPECT_EQ("2003-12-31 23:59:59", KeepAliveLog::TimeText(entry->time));
    EXPECT_EQ("Keep-alive request failed: http://a/", entry->text);
    for (const char* line : {"", "2003-05-14 09:12:03  ", "2003-05-14 09:12:03 Line up", "2003-05-14 09:12:03\tLine up",
                             "2003-13-14 09:12:03  Line up", "2003-05-00 09:12:03  Line up", "2003-05-14 24:12:03  Line up",
                             "2003-05-14 09:60:03  Line up", "2003-05-14 09:12:60  Line up", "2003-05-14T09:12:03  Line up",
                             "03-05-14 09:12:03  Line up", "2003-05-1x 09:12:03  Line up", "Line up"}) {
        EXPECT_FALSE(KeepAliveLog::Read(line)) << line;
    }
}

TEST(KeepAliveLog, TheAgentTurnsItsLogOverWhenALineWouldTakeItPast64Kilobytes) {
    const std::string log = "C:\\Zarvo\\zarwatch.log";
    const std::string older = "C:\\Zarvo\\zarwatch.log.old";
    const std::string line = "2003-05-01 14:03:00  Line up\r\n";
    const struct {
        std::size_t before;
        bool olderUnwritable;
        std::size_t logAfter;
        std::size_t olderAfter;
    } cases[] = {
        {64 * 1024 - line.size(), false, 64 * 1024, 7},
        {64 * 1024 - line.size() + 1, false, line.size(), 64 * 1024 - line.size() + 1},
        // A turnover that fails loses no line.
        {64 * 1024, true, 64 * 1024 + line.size(), 0},
    };
    for (const auto& c : cases) {
        MemoryRegistry registry;
        registry.PutString(RegRoot::LocalMachine, "SOFTWARE\\Orvenda Ltd\\Zarvo\\Install", "Folder", "C:\\Zarvo");
        FakeDesktop desktop;
        ProductInfo product(registry, desktop);
        FakeLogFiles files;
        files.files[log] = std::string(c.before, 'x');
        if (c.olderUnwritable) files.unwritable.insert(older);
        else files.files[older] = "oldest\n";
        AgentLog(product, desktop, files).Write("Line up");
        EXPECT_EQ(c.logAfter, files.files[log].size()) << c.before;
        EXPECT_EQ(c.olderAfter, files.files[older].size()) << c.before;
        EXPECT_EQ(line, files.files[log].substr(files.files[log].size() - line.size()));
    }
}

}  // namespace
