#include "tests/support/FakeDesktop.h"
#include "tuning/OsName.h"

#include <gtest/gtest.h>

namespace {

struct NameCase {
    DWORD platformId, major, minor;
    const char* name;
};

const NameCase kNameCases[] = {
    {0, 3, 1, "Win32s"},
    {0, 0, 0, "Win32s"},
    {0, 5, 1, "Win32s"},
    {1, 4, 0, "Windows 95"},
    {1, 4, 10, "Windows 98"},
    {1, 4, 90, "Windows Me"},
    {1, 4, 3, "Unknown"},
    {1, 4, 1, "Unknown"},
    {1, 3, 0, "Unknown"},
    {1, 5, 0, "Unknown"},
    {2, 3, 51, "Windows NT"},
    {2, 4, 0, "Windows NT"},
    {2, 5, 0, "Windows 2000"},
    {2, 5, 1, "Windows XP"},
    {2, 5, 2, "Unknown"},
    {2, 6, 0, "Unknown"},
    {2, 6, 1, "Unknown"},
    {2, 10, 0, "Unknown"},
    {3, 5, 1, "Unknown"},
};

std::string Describe(const NameCase& c) {
    return "platform " + std::to_string(c.platformId) + " version " + std::to_string(c.major) + "." +
           std::to_string(c.minor);
}

}  // namespace

TEST(OsName, NamesEveryVersionRecord) {
    for (const NameCase& c : kNameCases) {
        OsVersionRecord record;
        record.platformId = c.platformId;
        record.majorVersion = c.major;
        record.minorVersion = c.minor;
        EXPECT_EQ(c.name, OsNameFor(record, true, false)) << Describe(c);
        EXPECT_EQ(c.name, OsNameFor(record, false, true)) << Describe(c);
        EXPECT_EQ("Unknown", OsNameFor(record, false, false)) << Describe(c);
    }
}

TEST(OsName, AsksForTheExtendedRecordFirstAndFallsBackToTheBasicOne) {
    for (bool extendedWorks : {true, false}) {
        for (const NameCase& c : kNameCases) {
            FakeDesktop desktop;
            desktop.extendedVersionWorks = extendedWorks;
            desktop.SetVersion(c.platformId, c.major, c.minor);
            EXPECT_EQ(c.name, GetOsName(desktop)) << Describe(c);
            const std::vector<DWORD> sizes = extendedWorks ? std::vector<DWORD>{156} : std::vector<DWORD>{156, 148};
            EXPECT_EQ(sizes, desktop.versionQuerySizes);
        }
    }
}

TEST(OsName, IsUnknownWhenBothQueriesAreRefused) {
    FakeDesktop desktop;
    desktop.extendedVersionWorks = false;
    desktop.basicVersionWorks = false;
    desktop.SetVersion(2, 5, 1);
    EXPECT_EQ("Unknown", GetOsName(desktop));
    EXPECT_FALSE(IsNtFamily(desktop));
}

TEST(OsName, OnlyTheThreeNtNamesAreTheNtFamily) {
    const std::pair<const char*, bool> families[] = {
        {"Win32s", false},     {"Windows 95", false},  {"Windows 98", false}, {"Windows Me", false},
        {"Windows NT", true},  {"Windows 2000", true}, {"Windows XP", true},  {"Unknown", false},
        {"windows xp", false}, {"Windows NT ", false}, {"", false},
    };
    for (const auto& [name, nt] : families) EXPECT_EQ(nt, IsNtFamily(std::string(name))) << name;

    for (const NameCase& c : kNameCases) {
        FakeDesktop desktop;
        desktop.SetVersion(c.platformId, c.major, c.minor);
        EXPECT_EQ(IsNtFamily(std::string(c.name)), IsNtFamily(desktop)) << Describe(c);
    }
}
