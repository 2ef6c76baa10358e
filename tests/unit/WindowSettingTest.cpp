#include "tuning/TuningEngine.h"
#include "tuning/WindowSetting.h"
#include "win32/MemoryRegistry.h"

#include <gtest/gtest.h>

TEST(WindowSetting, EachFamilysDefaultAndNoMoreThanItCanUse) {
    MemoryRegistry registry;
    EXPECT_EQ(WindowSetting::Read(registry, "Windows NT"), 8760u);
    registry.PutString(RegRoot::LocalMachine, TuningEngine::kMstcpPath, "DefaultRcvWindow", "128480");
    EXPECT_EQ(WindowSetting::Read(registry, "Windows 98"), 128480u);
    EXPECT_EQ(WindowSetting::Read(registry, "Windows 95"), 65535u);  // 95 does not scale
}
