#include "configurator/PreviousSettingsFile.h"
#include "tests/support/FakeConfiguratorFiles.h"
#include "tests/support/PreviousValuePrinter.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

const std::string kTcpip = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";
const std::string kCache = "System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize";
const std::string kInternet = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const std::string kOther = "System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\other";
const std::string kOdd = "SYSTEM\\Zv \"Test\"]\\K\xe9y";

std::vector<BYTE> Bytes(const std::string& text) { return std::vector<BYTE>(text.begin(), text.end()); }
std::vector<BYTE> Sz(const std::string& text) { return Bytes(text + '\0'); }

PreviousValue Present(const std::string& path, const std::string& name, DWORD type, std::vector<BYTE> data) {
    return {path, name, true, {type, std::move(data)}};
}
PreviousValue Absent(const std::string& path, const std::string& name) { return {path, name, false, {}}; }

std::vector<BYTE> Counting(int count) {
    std::vector<BYTE> data;
    for (int i = 0; i < count; ++i) data.push_back(static_cast<BYTE>(i * 9));
    return data;
}

// One of each form the file knows.
PreviousSettings Sample() {
    return PreviousSettings({
        Present(kTcpip, "DefaultTTL", REG_DWORD, {0x40, 0, 0, 0}),
        Absent(kTcpip, "TcpWindowSize"),
        Present(kCache, "", REG_SZ, Sz("32")),
        Present(kInternet, "Say \"hi\" \\ there", REG_SZ, Sz("C:\\Zarvo \"2003\" \xae")),
        Present(kInternet, "Blob", REG_BINARY, Counting(30)),
        Present(kInternet, "Path", 2, Sz("%SystemRoot%")),
        Present(kInternet, "NoNul", REG_SZ, Bytes("14")),
        Present(kInternet, "Short", REG_DWORD, {1, 2}),
        Absent(kOther, ""),
        Present(kTcpip, "KeepAliveTime", REG_DWORD, {0xc0, 0x27, 0x09, 0}),
    });
}

const char kSampleText[] =
    "REGEDIT4\r\n"
    "; Zarvo 2003 settings before the first Apply: 10 values, saved 2024-05-01 14:03\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters]\r\n"
    "\"DefaultTTL\"=dword:00000040\r\n"
    "\"TcpWindowSize\"=-\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize]\r\n"
    "@=\"32\"\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings]\r\n"
    "\"Say \\\"hi\\\" \\\\ there\"=\"C:\\\\Zarvo \\\"2003\\\" \xae\"\r\n"
    "\"Blob\"=hex:00,09,12,1b,24,2d,36,3f,48,51,5a,63,6c,75,7e,87,90,99,a2,ab,b4,bd,\\\r\n"
    "  c6,cf,d8,e1,ea,f3,fc,05\r\n"
    "\"Path\"=hex(2):25,53,79,73,74,65,6d,52,6f,6f,74,25,00\r\n"
    "\"NoNul\"=hex(1):31,34\r\n"
    "\"Short\"=hex(4):01,02\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\other]\r\n"
    "@=-\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters]\r\n"
    "\"KeepAliveTime\"=dword:000927c0\r\n"
    "\r\n";

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(std::string::npos, at) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

}  // namespace

TEST(PreviousSettingsFile, WritesRegeditFourFormsAndReadsThemBack) {
    const std::optional<std::string> text = PreviousSettingsFile::Format(Sample(), "2024-05-01 14:03");
    ASSERT_TRUE(text);
    EXPECT_EQ(kSampleText, *text);

    const std::optional<PreviousSettings> read = PreviousSettingsFile::Parse(kSampleText);
    ASSERT_TRUE(read);
    EXPECT_EQ(Sample().Values(), read->Values());
}

TEST(PreviousSettingsFile, EveryValueComesBackExactly) {
    std::string everyByte;
    for (int c = 0x20; c < 0x100; ++c) everyByte += static_cast<char>(c);
    const struct {
        const char* what;
        PreviousValue value;
    } cases[] = {
        {"quotes and backslashes", Present(kTcpip, "\"\\\\\"", REG_SZ, Sz("\\\"\\\\\"\"\\"))},
        {"every printable and high-bit byte", Present(kTcpip, everyByte, REG_SZ, Sz(everyByte))},
        {"an empty text", Present(kTcpip, "Empty", REG_SZ, Sz(""))},
        {"no data at all", Present(kTcpip, "Nothing", REG_SZ, {})},
        {"a NUL inside", Present(kTcpip, "Inner", REG_SZ, Sz(std::string("a\0b", 3)))},
        {"two NULs at the end", Present(kTcpip, "Two", REG_SZ, Sz(std::string("a\0", 2)))},
        {"control characters", Present(kTcpip, "Lines", REG_SZ, Sz("a\r\nb\tc"))},
        {"a name like the default", Present(kTcpip, "@", REG_SZ, Sz("x"))},
        {"the default value", Present(kTcpip, "", REG_DWORD, {0xff, 0xff, 0xff, 0xff})},
        {"a long number", Present(kTcpip, "Long", REG_DWORD, {1, 2, 3, 4, 5})},
        {"an empty binary", Present(kTcpip, "Bin", REG_BINARY, {})},
        {"a binary over many lines", Present(kTcpip, "Bin", REG_BINARY, Counting(500))},
        {"an empty multi-text", Present(kTcpip, "Multi", 7, {})},
        {"the largest type", Present(kTcpip, "Type", 0xffffffff, {0})},
        {"REG_NONE", Present(kTcpip, "None", REG_NONE, {7})},
        {"an odd key path", Present(kOdd, "x", REG_SZ, Sz("y"))},
        {"an absent value", Absent(kOdd, "\xe9t\xe9")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const PreviousSettings record({c.value, Absent(kCache, "")});
        const std::optional<std::string> text = PreviousSettingsFile::Format(record, "now");
        ASSERT_TRUE(text);
        const std::optional<PreviousSettings> read = PreviousSettingsFile::Parse(*text);
        ASSERT_TRUE(read) << *text;
        EXPECT_EQ(record.Values(), read->Values());
        // Every line fits regedit's width.
        std::istringstream lines(*text);
        for (std::string line; std::getline(lines, line);) {
            if (line.rfind("\"Bin\"", 0) == 0 || line.rfind("  ", 0) == 0) {
                EXPECT_LE(line.size(), 80u) << line;
            }
        }
    }
}

TEST(PreviousSettingsFile, RefusesWhatItCannotWrite) {
    EXPECT_FALSE(PreviousSettingsFile::Format(PreviousSettings({Absent("Key\nName", "x")}), "now"));
    EXPECT_FALSE(PreviousSettingsFile::Format(PreviousSettings({Absent(kTcpip, "Tab\tName")}), "now"));
    EXPECT_FALSE(PreviousSettingsFile::Format(PreviousSettings({Absent("", "x")}), "now"));
    EXPECT_FALSE(PreviousSettingsFile::Format(Sample(), "14:03\r\n"));
}

TEST(PreviousSettingsFile, RefusesDamagedOrEditedFilesWhole) {
    const std::string good = kSampleText;
    const std::string crlf = "\r\n";
    const struct {
        const char* what;
        std::string text;
    } cases[] = {
        {"empty", ""},
        {"another header", Replaced(good, "REGEDIT4", "Windows Registry Editor Version 5.00")},
        {"no comment", Replaced(good, "; Zarvo 2003 settings before the first Apply: 10 values, saved 2024-05-01 14:03\r\n", "")},
        {"one value more than counted", Replaced(good, "10 values", "9 values")},
        {"one value less than counted", Replaced(good, "10 values", "11 values")},
        {"no count", Replaced(good, "10 values", "values")},
        {"line feeds alone", [&] {
             std::string text;
             for (char c : good) if (c != '\r') text += c;
             return text;
         }()},
        {"a value before any key", Replaced(good, "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters]\r\n\"DefaultTTL\"", "\"DefaultTTL\"")},
        {"another root", Replaced(good, "[HKEY_LOCAL_MACHINE\\SYSTEM", "[HKEY_CURRENT_USER\\SYSTEM")},
        {"an empty key path", Replaced(good, "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters]", "[HKEY_LOCAL_MACHINE\\]")},
        {"an unclosed key", Replaced(good, "Tcpip\\Parameters]\r\n\"DefaultTTL\"", "Tcpip\\Parameters\r\n\"DefaultTTL\"")},
        {"a short number", Replaced(good, "dword:00000040", "dword:0000040")},
        {"a long number", Replaced(good, "dword:00000040", "dword:000000040")},
        {"a bad digit", Replaced(good, "dword:00000040", "dword:0000004g")},
        {"a half byte", Replaced(good, "hex(1):31,34", "hex(1):31,4")},
        {"a trailing comma", Replaced(good, "hex(1):31,34", "hex(1):31,34,")},
        {"a broken continuation", Replaced(good, "bd,\\\r\n  c6", "bd,\\\r\nc6")},
        {"a continuation at the end", Replaced(good, "f3,fc,05", "f3,fc,05,\\")},
        {"no type number", Replaced(good, "hex(2):", "hex():")},
        {"an unknown form", Replaced(good, "dword:00000040", "qword:00000040")},
        {"an unclosed text", Replaced(good, "@=\"32\"", "@=\"32")},
        {"an unknown escape", Replaced(good, "@=\"32\"", "@=\"3\\n2\"")},
        {"a tab in a text", Replaced(good, "@=\"32\"", "@=\"3\t2\"")},
        {"a comment after a value", Replaced(good, "@=\"32\"", "@=\"32\" ; cache")},
        {"a blank after a value", Replaced(good, "\"TcpWindowSize\"=-", "\"TcpWindowSize\"=- ")},
        {"an unquoted name", Replaced(good, "\"TcpWindowSize\"=-", "TcpWindowSize=-")},
        {"a value twice", Replaced(good, "\"TcpWindowSize\"=-", "\"DefaultTTL\"=-")},
        {"a value twice in another case", Replaced(good, "\"TcpWindowSize\"=-", "\"defaultttl\"=-")},
        {"a stray line", Replaced(good, "@=-", "@=-\r\ngarbage")},
        {"a lone comment", Replaced(good, "@=-", "@=-\r\n; mine")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(PreviousSettingsFile::Parse(c.text));
    }
    // A file cut anywhere before the end of its last value.
    const std::size_t lastValueEnd = good.size() - crlf.size();
    for (std::size_t length = 0; length < lastValueEnd; ++length) {
        EXPECT_FALSE(PreviousSettingsFile::Parse(good.substr(0, length))) << "cut at " << length;
    }
    EXPECT_TRUE(PreviousSettingsFile::Parse(good.substr(0, lastValueEnd)));
}

TEST(PreviousSettingsFile, SavesLoadsAndRemovesInAFolder) {
    FakeConfiguratorFiles files;
    const std::string path = std::string("C:\\Zarvo\\") + PreviousSettingsFile::kFileName;
    PreviousSettingsFile file(files, path);
    PreviousSettings record;

    EXPECT_FALSE(file.Exists());
    EXPECT_EQ(PreviousSettingsFile::LoadResult::Missing, file.Load(&record));

    ASSERT_TRUE(file.Save(Sample(), "2024-05-01 14:03"));
    EXPECT_TRUE(file.Exists());
    EXPECT_EQ(kSampleText, files.wholeFiles[path]);
    EXPECT_EQ(PreviousSettingsFile::LoadResult::Loaded, file.Load(&record));
    EXPECT_EQ(Sample().Values(), record.Values());

    // A second save replaces the first and leaves nothing beside it.
    const PreviousSettings smaller({Absent(kTcpip, "MTU")});
    ASSERT_TRUE(file.Save(smaller, "later"));
    EXPECT_EQ(PreviousSettingsFile::LoadResult::Loaded, file.Load(&record));
    EXPECT_EQ(smaller.Values(), record.Values());
    EXPECT_FALSE(PreviousSettingsFile(files, path + ".new").Exists());
    EXPECT_FALSE(PreviousSettingsFile(files, path + ".old").Exists());

    // A damaged file is refused, left as it is, and the record untouched.
    const std::string damaged = Replaced(kSampleText, "dword:00000040", "dword:0000004");
    files.wholeFiles[path] = damaged;
    EXPECT_EQ(PreviousSettingsFile::LoadResult::Refused, file.Load(&record));
    EXPECT_EQ(smaller.Values(), record.Values());
    EXPECT_EQ(damaged, files.wholeFiles[path]);

    EXPECT_TRUE(file.Remove());
    EXPECT_FALSE(file.Exists());
    EXPECT_TRUE(file.Remove());

    // A folder that is not there takes nothing.
    const std::string missing = "C:\\Zarvo\\missing\\";
    files.missingFolders = {missing};
    EXPECT_FALSE(PreviousSettingsFile(files, missing + PreviousSettingsFile::kFileName).Save(smaller, "now"));
}

TEST(PreviousSettingsFile, WhatASaveStoppedBetweenItsRenamesLeftAsideStandsForTheFile) {
    FakeConfiguratorFiles files;
    const PreviousSettingsFile file(files, "record");
    files.wholeFiles["record.old"] = kSampleText;
    PreviousSettings record;
    EXPECT_TRUE(file.Exists());
    EXPECT_EQ(PreviousSettingsFile::LoadResult::Loaded, file.Load(&record));
    // Only while the file is missing: a damaged or foreign one is never taken for the copy.
    files.wholeFiles["record"] = "REGEDIT4\r\n";
    EXPECT_EQ(PreviousSettingsFile::LoadResult::Refused, file.Load(&record));
    EXPECT_TRUE(file.Remove());
    files.wholeFiles["record.old"] = "";
    files.readOnly = {"record.old"};
    EXPECT_FALSE(file.Remove());
}
