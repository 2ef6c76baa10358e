#include "tuning/OsName.h"
#include "tuning/TuningEngine.h"
#include "tuning/WindowSetting.h"
#include "win32/MemoryRegistry.h"

#include <gtest/gtest.h>

TEST(WindowSetting, AsEachFamilyReadsItElseItsDefaultAndNoMoreThanItUses) {
    // The value each family reads (0: none set; 98 keeps a text) and the window it takes.
    const std::tuple<const char*, const char*, DWORD, std::uint32_t> cases[] = {
        {"Windows 95", "DefaultRcvWindow", 128480, 65535}, {"Windows 98", "DefaultRcvWindow", 0, 8192},
        {"Windows 98", "DefaultRcvWindow", 128480, 128480}, {"Windows NT", "TcpWindowSize", 0, 8760},
        {"Windows NT", "TcpWindowSize", 128480, 65535}, {"Windows XP", "TcpWindowSize", 0, 17520}};
    for (const auto& [os, name, set, window] : cases) {
        MemoryRegistry registry;
        const std::string path = IsNtFamily(os) ? TuningEngine::kTcpipPath : TuningEngine::kMstcpPath;
        const bool text = std::string(os) == "Windows 98";
        registry.AddKey(RegRoot::LocalMachine, path);
        if (set != 0 && text) registry.PutString(RegRoot::LocalMachine, path, name, std::to_string(set));
        if (set != 0 && !text) registry.PutDword(RegRoot::LocalMachine, path, name, set);
        EXPECT_EQ(WindowSetting::Read(registry, os), window) << os << " " << set;
    }
}
