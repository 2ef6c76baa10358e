// The previous-settings record's file on the real file API, where a read-only
// file can be renamed but not deleted.
#include "tuning/PreviousSettingsFile.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

TEST(PreviousSettingsFileWin, AReadOnlyRecordIsLeftAsItIsWithNothingBesideIt) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string path = std::string(temp) + "ZvReadOnlyRecord.reg";
    const std::string tcpip = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";
    const PreviousSettingsFile file(path);
    ASSERT_TRUE(file.Save(PreviousSettings({{tcpip, "DefaultTTL", false, {}}}), "first"));
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);

    EXPECT_FALSE(file.Save(PreviousSettings({{tcpip, "DefaultTTL", false, {}}, {tcpip, "MTU", false, {}}}), "second"));
    PreviousSettings record;
    EXPECT_EQ(PreviousSettingsFile::LoadResult::Loaded, file.Load(&record));
    EXPECT_EQ(1u, record.Values().size());
    EXPECT_NE(0u, GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY);
    for (const char* beside : {".old", ".new"}) {
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((path + beside).c_str())) << beside;
    }
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(file.Remove());
}

}  // namespace
