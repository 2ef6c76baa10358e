#include "common/SettingsStore.h"
#include "win32/MemoryRegistry.h"

#include <gtest/gtest.h>

namespace {

const std::string kProduct = SettingsStore::kProductKey;

struct ScrambleCase {
    std::string plain;
    std::string prefix;  // the length letters
};

class ScrambleFormat : public ::testing::TestWithParam<ScrambleCase> {};

TEST_P(ScrambleFormat, PrefixBodyAndRoundTrip) {
    const ScrambleCase& c = GetParam();
    const std::string bare = SettingsStore::ScrambleText(c.plain, false);
    EXPECT_EQ(c.prefix, bare.substr(0, c.prefix.size()));
    EXPECT_EQ(c.prefix.size() + 2 * c.plain.size(), bare.size());
    EXPECT_EQ(c.plain, SettingsStore::UnscrambleText(bare));

    const std::string padded = SettingsStore::ScrambleText(c.plain, true);
    EXPECT_EQ(0u, padded.size() % 23);
    EXPECT_EQ(bare, padded.substr(0, bare.size()));
    EXPECT_EQ(std::string::npos, padded.find_first_not_of("ABCDEFGHIJKLMNOPQ"));
    EXPECT_EQ(c.plain, SettingsStore::UnscrambleText(padded));
}

INSTANTIATE_TEST_SUITE_P(Lengths, ScrambleFormat,
                         ::testing::Values(ScrambleCase{"a", "B"}, ScrambleCase{std::string(15, 'x'), "P"},
                                           ScrambleCase{std::string(16, 'x'), "QA"},
                                           ScrambleCase{std::string(32, 'x'), "QQA"},
                                           ScrambleCase{std::string(22, 'y'), "QG"},
                                           ScrambleCase{"\xAE\xFF\x80 high bytes", "O"}));

TEST(Scramble, KnownEncodingsAndEmptyText) {
    EXPECT_EQ("DBGCGDG", SettingsStore::ScrambleText("abc", false));
    EXPECT_EQ("", SettingsStore::ScrambleText("", false));
    EXPECT_EQ("", SettingsStore::ScrambleText("", true));
    EXPECT_EQ("", SettingsStore::UnscrambleText(""));
    // Padding letters are ignored, whatever they are.
    EXPECT_EQ("abc", SettingsStore::UnscrambleText("DBGCGDGPPPPPPPPPPPPPPPP"));
}

TEST(Scramble, DamagedInputDecodesWhatItCan) {
    struct Case {
        const char* encoded;
        const char* plain;
    } cases[] = {
        {"Q", ""},                // prefix only
        {"QQQQ", ""},             // no length letter
        {"Z", ""},                // length letter outside A..P
        {"DBG", "a"},             // length longer than the body
        {"DBGCG", "ab"},          // odd body: the single letter is ignored
        {"DBGZZDG", "a"},         // a letter outside A..P ends the decoding
        {"QPBG", "a"},            // a length of 31 with one pair
        {"DBGgGDG", "a"},         // lower case is damage too
    };
    for (const auto& c : cases) EXPECT_EQ(c.plain, SettingsStore::UnscrambleText(c.encoded)) << c.encoded;
}

class StoreTest : public ::testing::Test {
protected:
    MemoryRegistry registry;
    SettingsStore store{registry};
};

TEST_F(StoreTest, WritingCreatesTheProductKeyAndTheSection) {
    EXPECT_FALSE(registry.HasKey(RegRoot::LocalMachine, kProduct));
    EXPECT_TRUE(store.WriteString("Install", "Folder", "C:\\Zarvo", false));
    const auto value = registry.Value(RegRoot::LocalMachine, kProduct + "\\Install", "Folder");
    ASSERT_TRUE(value);
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), value->type);
    EXPECT_EQ((std::vector<BYTE>{'C', ':', '\\', 'Z', 'a', 'r', 'v', 'o', 0}), value->data);
    EXPECT_EQ("C:\\Zarvo", store.ReadString("Install", "Folder", "none", false));
    EXPECT_EQ(0, registry.OpenKeyCount());
}

TEST_F(StoreTest, ScrambledFormHidesEveryName) {
    EXPECT_TRUE(store.WriteString("UndoRegular", "PingMode", "Automatic", true));
    const std::string section = kProduct + "\\" + SettingsStore::ScrambleText("UndoRegular", false);
    const auto value = registry.Value(RegRoot::LocalMachine, section, SettingsStore::ScrambleText("PingMode", false));
    ASSERT_TRUE(value);
    EXPECT_EQ(std::string::npos, registry.Dump(RegRoot::LocalMachine).find("Automatic"));
    EXPECT_EQ("Automatic", store.ReadString("UndoRegular", "PingMode", "", true));
}

TEST_F(StoreTest, PlainAndScrambledFormsDoNotMeet) {
    store.WriteString("UndoRegular", "PingHost", "plain", false);
    store.WriteInt("UndoRegular", "PingInterval", 7, true);
    EXPECT_EQ("default", store.ReadString("UndoRegular", "PingHost", "default", true));
    EXPECT_EQ(-5, store.ReadInt("UndoRegular", "PingInterval", -5, false));
    EXPECT_EQ(7, store.ReadInt("UndoRegular", "PingInterval", -5, true));
}

TEST_F(StoreTest, IntegersReadAsAtoiReadsThem) {
    struct Case {
        const char* stored;
        int expected;
    } cases[] = {{"42", 42},        {"-17", -17},        {"   12abc", 12}, {"letters", 0},
                 {"", 0},           {"+8", 8},           {"- 3", 0},      {"99999999999", 2147483647},
                 {"-99999999999", -2147483647 - 1}};
    for (const auto& c : cases) {
        store.WriteString("S", "N", c.stored, false);
        EXPECT_EQ(c.expected, store.ReadInt("S", "N", 1234, false)) << c.stored;
    }
    EXPECT_EQ(1234, store.ReadInt("S", "Never", 1234, false));
    EXPECT_EQ(1234, store.ReadInt("Missing", "N", 1234, false));
}

TEST_F(StoreTest, WriteIntUsesPlainSignedDecimal) {
    store.WriteInt("S", "N", -1, false);
    EXPECT_EQ("-1", store.ReadString("S", "N", "", false));
}

TEST_F(StoreTest, NonTextValueReadsEmptyAndZero) {
    registry.PutDword(RegRoot::LocalMachine, kProduct + "\\S", "N", 9);
    EXPECT_EQ("", store.ReadString("S", "N", "default", false));
    EXPECT_EQ(0, store.ReadInt("S", "N", 5, false));
    // There all the same, as far as the reads go.
    EXPECT_TRUE(store.Contains("S", "N", false));
    EXPECT_FALSE(store.Contains("S", "N", true));
    EXPECT_FALSE(store.Contains("S", "Missing", false));
}

TEST_F(StoreTest, ReadsNeverPassTheDataTheRegistryReturned) {
    // 999 characters without a terminating NUL: the longest text the store keeps.
    registry.Put(RegRoot::LocalMachine, kProduct + "\\S", "Full", REG_SZ, std::vector<BYTE>(999, '7'));
    EXPECT_EQ(std::string(999, '7'), store.ReadString("S", "Full", "", false));
    // Found by fuzzing: 1000 of them filled the buffer and came back as a
    // 1000-character text; longer than the store keeps, they read as absent.
    registry.Put(RegRoot::LocalMachine, kProduct + "\\S", "Full", REG_SZ, std::vector<BYTE>(1000, '7'));
    EXPECT_EQ("default", store.ReadString("S", "Full", "default", false));
    EXPECT_EQ(5, store.ReadInt("S", "Full", 5, false));
    EXPECT_FALSE(store.Contains("S", "Full", false));
    registry.Put(RegRoot::LocalMachine, kProduct + "\\S", "Short", REG_SZ, {'4', '2'});
    EXPECT_EQ("42", store.ReadString("S", "Short", "", false));
    EXPECT_EQ(42, store.ReadInt("S", "Short", 0, false));
    registry.Put(RegRoot::LocalMachine, kProduct + "\\S", "Inner", REG_SZ, {'a', 0, 'b', 0});
    EXPECT_EQ("a", store.ReadString("S", "Inner", "", false));
    // Longer than the transfer buffer reads as absent.
    registry.Put(RegRoot::LocalMachine, kProduct + "\\S", "Long", REG_SZ, std::vector<BYTE>(1001, 'x'));
    EXPECT_EQ("default", store.ReadString("S", "Long", "default", false));
}

TEST_F(StoreTest, OverlongTextIsRefusedNotTruncated) {
    EXPECT_TRUE(store.WriteString("S", "Plain", std::string(999, 'a'), false));
    EXPECT_FALSE(store.WriteString("S", "TooLong", std::string(1000, 'a'), false));
    EXPECT_FALSE(registry.Value(RegRoot::LocalMachine, kProduct + "\\S", "TooLong"));
    // 479 plain bytes still fit when scrambled; 480 do not.
    EXPECT_TRUE(store.WriteString("S", "Host", std::string(479, 'h'), true));
    EXPECT_EQ(std::string(479, 'h'), store.ReadString("S", "Host", "", true));
    const int writes = registry.WriteCount();
    EXPECT_FALSE(store.WriteString("S", "Host", std::string(480, 'h'), true));
    EXPECT_EQ(writes, registry.WriteCount());
    EXPECT_EQ(std::string(479, 'h'), store.ReadString("S", "Host", "", true));
    // What the writes take can be asked first.
    EXPECT_TRUE(SettingsStore::Fits(std::string(999, 'a'), false));
    EXPECT_FALSE(SettingsStore::Fits(std::string(1000, 'a'), false));
    EXPECT_TRUE(SettingsStore::Fits(std::string(479, 'h'), true));
    EXPECT_FALSE(SettingsStore::Fits(std::string(480, 'h'), true));
    EXPECT_TRUE(SettingsStore::Fits("", true));
}

TEST_F(StoreTest, WriteFailsWhenTheSectionCannotBeCreated) {
    registry.DenyAccess(RegRoot::LocalMachine, "SOFTWARE", KEY_CREATE_SUB_KEY);
    EXPECT_FALSE(store.WriteString("S", "N", "v", false));
    EXPECT_FALSE(store.WriteInt("S", "N", 1, false));
    EXPECT_FALSE(registry.HasKey(RegRoot::LocalMachine, kProduct));
}

}  // namespace
