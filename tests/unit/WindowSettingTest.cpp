#include "tuning/OsName.h"
#include "tuning/TuningEngine.h"
#include "tuning/WindowSetting.h"
#include "win32/MemoryRegistry.h"

#include <gtest/gtest.h>

namespace {

TEST(WindowSetting, AsEachFamilyReadsItElseItsDefault) {
    const struct {
        const char* os;
        const char* name;  // nullptr: none set
        bool text;
        const char* value;
        std::uint32_t window;
    } cases[] = {
        {"Windows 95", nullptr, false, "", 8192},
        {"Windows 95", "DefaultRcvWindow", false, "128480", 65535},  // 95 does not scale
        {"Windows 98", "DefaultRcvWindow", true, "128480", 128480},
        {"Windows 98", "DefaultRcvWindow", true, "64 KB", 8192},
        {"Windows Me", "DefaultRcvWindow", false, "32120", 32120},
        {"Windows NT", nullptr, false, "", 8760},
        {"Windows NT", "TcpWindowSize", false, "128480", 65535},
        {"Windows NT", "GlobalMaxTcpWindowSize", false, "32120", 8760},
        {"Windows 2000", nullptr, false, "", 17520},
        {"Windows XP", "GlobalMaxTcpWindowSize", false, "32120", 32120},
        {"Windows XP", "TcpWindowSize", false, "256960", 256960},
        {"Windows XP", "TcpWindowSize", false, "0", 17520},
    };
    for (const auto& c : cases) {
        MemoryRegistry registry;
        const std::string path = IsNtFamily(c.os) ? TuningEngine::kTcpipPath : TuningEngine::kMstcpPath;
        registry.AddKey(RegRoot::LocalMachine, path);
        if (c.name && c.text) registry.PutString(RegRoot::LocalMachine, path, c.name, c.value);
        if (c.name && !c.text) registry.PutDword(RegRoot::LocalMachine, path, c.name, std::stoul(c.value));
        EXPECT_EQ(WindowSetting::Read(registry, c.os), c.window) << c.os << " " << (c.name ? c.name : "") << c.value;
    }
}

}  // namespace
