#pragma once
// The behaviour both registries must share, so that native tests on the
// in-memory registry mean something for the real one. Included by one test
// file per build, each with its own registry and scratch key.
#include "win32/RegKey.h"

#include <gtest/gtest.h>

inline void CheckRegistryContract(Registry& registry, const std::string& scratch) {
    RegKey key(registry);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.Open(RegRoot::LocalMachine, scratch + "\\missing", KEY_READ));
    EXPECT_FALSE(key.IsOpen());

    ASSERT_EQ(ERROR_SUCCESS, key.Create(RegRoot::LocalMachine, scratch + "\\a\\b", KEY_ALL_ACCESS));
    EXPECT_EQ(ERROR_SUCCESS, key.SetString("Text", "abc"));
    EXPECT_EQ(ERROR_SUCCESS, key.SetDword("Number", 0x01020304));
    const BYTE raw[3] = {'x', 'y', 'z'};
    EXPECT_EQ(ERROR_SUCCESS, key.Set("Raw", REG_SZ, raw, 3));
    key.Close();

    ASSERT_EQ(ERROR_SUCCESS, key.Open(RegRoot::LocalMachine, scratch + "\\A\\B", KEY_READ));
    RegValue value;
    ASSERT_EQ(ERROR_SUCCESS, key.Query("text", 1000, &value));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), value.type);
    EXPECT_EQ((std::vector<BYTE>{'a', 'b', 'c', 0}), value.data);
    ASSERT_EQ(ERROR_SUCCESS, key.Query("Number", 4, &value));
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), value.type);
    EXPECT_EQ((std::vector<BYTE>{4, 3, 2, 1}), value.data);
    // Data without a terminating NUL comes back exactly as stored.
    ASSERT_EQ(ERROR_SUCCESS, key.Query("Raw", 1000, &value));
    EXPECT_EQ((std::vector<BYTE>{'x', 'y', 'z'}), value.data);
    EXPECT_EQ(ERROR_MORE_DATA, key.Query("Text", 3, &value));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.Query("Absent", 1000, &value));
    EXPECT_EQ(ERROR_ACCESS_DENIED, key.SetString("Text", "no"));

    // A handle opened for writing only may not be queried (the NT rule).
    ASSERT_EQ(ERROR_SUCCESS, key.Open(RegRoot::LocalMachine, scratch + "\\a\\b", KEY_WRITE));
    EXPECT_EQ(ERROR_ACCESS_DENIED, key.Query("Text", 1000, &value));
    EXPECT_EQ(ERROR_SUCCESS, key.Delete("Text"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.Delete("Text"));

    ASSERT_EQ(ERROR_SUCCESS, key.Open(RegRoot::LocalMachine, scratch, KEY_READ));
    std::string name;
    EXPECT_EQ(ERROR_SUCCESS, key.EnumKey(0, &name));
    EXPECT_EQ("a", name);
    EXPECT_EQ(ERROR_NO_MORE_ITEMS, key.EnumKey(1, &name));
}
