#include "tuning/OsName.h"
#include "tuning/TuningEngine.h"
#include "tuning/WindowSetting.h"
#include "win32/MemoryRegistry.h"

#include <gtest/gtest.h>

namespace {

TEST(WindowSetting, AsEachFamilyReadsItElseItsDefault) {
    const struct {
        const char *os, *name, *text;  // no name: none set; no text: number
        DWORD number, window;
    } cases[] = {
        {"Windows 95", "", nullptr, 0, 8192},           {"Windows 95", "DefaultRcvWindow", nullptr, 128480, 65535},
        {"Windows 98", "DefaultRcvWindow", "128480", 0, 128480}, {"Windows 98", "DefaultRcvWindow", "64 KB", 0, 8192},
        {"Windows NT", "", nullptr, 0, 8760},           {"Windows NT", "TcpWindowSize", nullptr, 128480, 65535},
        {"Windows NT", "GlobalMaxTcpWindowSize", nullptr, 32120, 8760}, {"Windows 2000", "", nullptr, 0, 17520},
        {"Windows XP", "GlobalMaxTcpWindowSize", nullptr, 32120, 32120},
        {"Windows XP", "TcpWindowSize", nullptr, 256960, 256960}, {"Windows XP", "TcpWindowSize", nullptr, 0, 17520},
    };
    for (const auto& c : cases) {
        MemoryRegistry registry;
        const std::string path = IsNtFamily(c.os) ? TuningEngine::kTcpipPath : TuningEngine::kMstcpPath;
        registry.AddKey(RegRoot::LocalMachine, path);
        if (c.text) registry.PutString(RegRoot::LocalMachine, path, c.name, c.text);
        if (!c.text && *c.name) registry.PutDword(RegRoot::LocalMachine, path, c.name, c.number);
        EXPECT_EQ(WindowSetting::Read(registry, c.os), c.window) << c.os << " " << c.name << c.number;
    }
}

}  // namespace
