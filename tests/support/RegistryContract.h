#pragma once
// The behaviour both registries must share, so that native tests on the
// in-memory registry mean something for the real one. Included by one test
// file per build, each with its own registry and scratch key.
#include "win32/RegKey.h"

#include <gtest/gtest.h>

#include <optional>

// QueryText and QueryDword take only their own type and shape.
inline void CheckTypedReads(Registry& registry, const std::string& path) {
    RegKey key(registry);
    ASSERT_EQ(ERROR_SUCCESS, key.Create(RegRoot::LocalMachine, path, KEY_ALL_ACCESS));
    const auto put = [&](const char* name, DWORD type, const std::vector<BYTE>& data) {
        EXPECT_EQ(ERROR_SUCCESS, key.Set(name, type, data.data(), static_cast<DWORD>(data.size()))) << name;
    };
    put("Bare", REG_SZ, {'x', 'y', 'z'});
    put("Inner", REG_SZ, {'a', 'b', 0, 'c', 'd', 0});
    put("Binary", REG_BINARY, {'b', 'i', 'n', 0, 'x'});
    put("Short", REG_DWORD, {1, 2, 3});
    put("Long", REG_DWORD, {1, 2, 3, 4, 5});
    put("Four", REG_SZ, {'a', 'b', 'c', 0});
    EXPECT_EQ(ERROR_SUCCESS, key.SetDword("Number", 0x01020304));

    const struct {
        const char* name;
        std::optional<std::string> text;
        std::optional<std::string> anyType;
        std::optional<DWORD> number;
    } cases[] = {
        {"Bare", "xyz", "xyz", std::nullopt},
        {"Inner", "ab", "ab", std::nullopt},
        {"Binary", std::nullopt, "bin", std::nullopt},
        {"Short", std::nullopt, "\x01\x02\x03", std::nullopt},
        {"Long", std::nullopt, "\x01\x02\x03\x04\x05", std::nullopt},
        {"Four", "abc", "abc", std::nullopt},
        {"Number", std::nullopt, "\x04\x03\x02\x01", 0x01020304},
        {"Absent", std::nullopt, std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.text, key.QueryText(c.name, 1000)) << c.name;
        EXPECT_EQ(c.anyType, key.QueryDataAsText(c.name, 1000)) << c.name;
        EXPECT_EQ(c.number, key.QueryDword(c.name)) << c.name;
        EXPECT_EQ(c.anyType.has_value(), key.HasValue(c.name, 1000)) << c.name;
    }
    // Data larger than the buffer reads as absent.
    LONG result = ERROR_SUCCESS;
    EXPECT_EQ(std::nullopt, key.QueryText("Inner", 5));
    EXPECT_EQ(std::nullopt, key.QueryDataAsText("Binary", 4, &result));
    EXPECT_EQ(ERROR_MORE_DATA, result);
    EXPECT_EQ(std::nullopt, key.QueryDataAsText("Absent", 1000, &result));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, result);
}

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
    // Text written without its terminating NUL is stored with one.
    ASSERT_EQ(ERROR_SUCCESS, key.Query("Raw", 1000, &value));
    EXPECT_EQ((std::vector<BYTE>{'x', 'y', 'z', 0}), value.data);
    EXPECT_EQ(ERROR_MORE_DATA, key.Query("Text", 3, &value));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.Query("Absent", 1000, &value));
    EXPECT_EQ(ERROR_ACCESS_DENIED, key.SetString("Text", "no"));
    key.Close();

    CheckTypedReads(registry, scratch + "\\a\\typed");

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
