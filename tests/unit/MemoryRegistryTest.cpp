#include "tests/support/RegistryContract.h"
#include "win32/MemoryRegistry.h"

TEST(MemoryRegistry, BehavesLikeTheWin32Registry) {
    MemoryRegistry registry;
    CheckRegistryContract(registry, "SOFTWARE\\ZvTest");
    EXPECT_EQ(0, registry.OpenKeyCount());
}

TEST(MemoryRegistry, DeniedKeyRefusesTheDeniedRightsOnly) {
    MemoryRegistry registry;
    registry.DenyAccess(RegRoot::LocalMachine, "SOFTWARE\\Locked", KEY_SET_VALUE);
    RegKey key(registry);
    EXPECT_EQ(ERROR_ACCESS_DENIED, key.Open(RegRoot::LocalMachine, "SOFTWARE\\Locked", KEY_WRITE));
    EXPECT_EQ(ERROR_SUCCESS, key.Open(RegRoot::LocalMachine, "SOFTWARE\\Locked", KEY_READ));
}

TEST(MemoryRegistry, NineXModeIgnoresAccessMasks) {
    MemoryRegistry registry;
    registry.IgnoreAccessMasks(true);
    registry.PutString(RegRoot::LocalMachine, "Enum\\Root\\Net\\0000", "DeviceDesc", "card");
    RegKey key(registry);
    ASSERT_EQ(ERROR_SUCCESS, key.Open(RegRoot::LocalMachine, "Enum\\Root\\Net\\0000", KEY_WRITE));
    RegValue value;
    EXPECT_EQ(ERROR_SUCCESS, key.Query("DeviceDesc", 1000, &value));
}
