// The settings store's read and write paths over a registry value of any
// type, length and bytes: reads give what the store promises and change
// nothing; a refused write leaves the registry as it was.
#include "common/SettingsStore.h"
#include "tests/fuzz/FuzzCheck.h"
#include "win32/MemoryRegistry.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>

namespace {

constexpr RegRoot kMachine = RegRoot::LocalMachine;
constexpr const char* kDefaultText = "(default)";
constexpr int kDefaultNumber = -424242;

// The names the programs read: "UndoRegular" scrambled, "Install" plain.
const char* const kUndoRegularNames[] = {"PingMode", "PingHost", "PingInterval", "PingSound", "TaskBarAni"};

std::string SectionPath(const std::string& section, bool scrambled) {
    return std::string(SettingsStore::kProductKey) + "\\" +
           (scrambled ? SettingsStore::ScrambleText(section, false) : section);
}

std::string StoredName(const std::string& name, bool scrambled) {
    return scrambled ? SettingsStore::ScrambleText(name, false) : name;
}

// atoi's reading, clamped to int instead of undefined on overflow.
int AtoiClamped(const std::string& text) {
    errno = 0;
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

std::string Everything(const MemoryRegistry& registry) {
    return registry.Dump(RegRoot::LocalMachine) + registry.Dump(RegRoot::CurrentUser);
}

DWORD AnyType(FuzzedDataProvider& input) {
    const DWORD common[] = {REG_SZ, REG_SZ, REG_DWORD, REG_BINARY, REG_NONE};
    const std::size_t pick = input.ConsumeIntegralInRange<std::size_t>(0, std::size(common));
    return pick < std::size(common) ? common[pick] : input.ConsumeIntegral<DWORD>();
}

// Letters the decoder meets in damaged values, raw bytes now and then.
std::string StoredBytes(FuzzedDataProvider& input, std::size_t length) {
    const bool letters = input.ConsumeBool();
    std::string bytes = input.ConsumeBytesAsString(length);
    if (letters) {
        for (char& c : bytes) c = static_cast<char>('A' + static_cast<unsigned char>(c) % 18);
    }
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const bool scrambled = input.ConsumeBool();
    const std::string section = scrambled ? "UndoRegular" : "Install";
    const std::string name = scrambled ? input.PickValueInArray(kUndoRegularNames) : "Folder";

    MemoryRegistry registry;
    const DWORD type = AnyType(input);
    // Sizes around the store's 1000-byte buffer are the interesting ones.
    const std::size_t length = input.ConsumeBool() ? input.ConsumeIntegralInRange<std::size_t>(995, 1005)
                                                   : input.ConsumeIntegralInRange<std::size_t>(0, 200);
    const std::string stored = StoredBytes(input, length);
    const bool present = input.ConsumeBool();
    const bool wrongForm = input.ConsumeBool();
    if (present) {
        registry.Put(kMachine, SectionPath(section, scrambled != wrongForm), StoredName(name, scrambled != wrongForm),
                     type, std::vector<BYTE>(stored.begin(), stored.end()));
    }
    // Neighbours in the section, and rights that refuse reading or writing.
    if (input.ConsumeBool()) registry.PutString(kMachine, SectionPath(section, scrambled), "Other", "kept");
    const bool denyRead = input.ConsumeBool();
    const bool denyWrite = input.ConsumeBool();
    if (denyRead) registry.DenyAccess(kMachine, SectionPath(section, scrambled), KEY_QUERY_VALUE);
    if (denyWrite) {
        registry.DenyAccess(kMachine, SectionPath(section, scrambled), KEY_SET_VALUE);
        registry.DenyAccess(kMachine, SettingsStore::kProductKey, KEY_CREATE_SUB_KEY);
    }

    SettingsStore store(registry);
    const std::string before = Everything(registry);
    const std::string text = store.ReadString(section, name, kDefaultText, scrambled);
    const int number = store.ReadInt(section, name, kDefaultNumber, scrambled);
    FUZZ_CHECK(Everything(registry) == before);
    FUZZ_CHECK(registry.WriteCount() == 0);
    FUZZ_CHECK(registry.OpenKeyCount() == 0);

    // At most 999 characters plus the NUL fit the store's buffer; a longer
    // text reads as absent.
    const std::string upToNul = stored.substr(0, stored.find('\0'));
    const bool fits = stored.size() <= 1000 && (type != REG_SZ || upToNul.size() <= SettingsStore::kMaxStoredLength);
    const bool readable = present && !wrongForm && !denyRead && fits;
    if (!readable) {
        FUZZ_CHECK(text == kDefaultText);
        FUZZ_CHECK(number == kDefaultNumber);
    } else if (type != REG_SZ) {
        FUZZ_CHECK(text.empty());
        FUZZ_CHECK(number == 0);
    } else {
        FUZZ_CHECK(text == (scrambled ? SettingsStore::UnscrambleText(upToNul) : upToNul));
        FUZZ_CHECK(number == AtoiClamped(text));
    }

    // A write either lands whole, readable back, or leaves everything as it was.
    const std::string wanted = input.ConsumeRandomLengthString(600);
    const std::size_t storedLength = scrambled ? SettingsStore::ScrambleText(wanted, true).size() : wanted.size();
    FUZZ_CHECK(SettingsStore::Fits(wanted, scrambled) == (storedLength <= SettingsStore::kMaxStoredLength));
    const std::string beforeWrite = Everything(registry);
    const bool written = store.WriteString(section, name, wanted, scrambled);
    FUZZ_CHECK(registry.OpenKeyCount() == 0);
    // Opening the section for writing asks for every right, reading too.
    FUZZ_CHECK(written == (!denyWrite && !denyRead && storedLength <= SettingsStore::kMaxStoredLength));
    if (!written) {
        FUZZ_CHECK(Everything(registry) == beforeWrite);
        return 0;
    }
    FUZZ_CHECK(registry.WriteCount() == 1);
    const std::string expected = scrambled ? wanted : wanted.substr(0, wanted.find('\0'));
    FUZZ_CHECK(store.ReadString(section, name, kDefaultText, scrambled) == expected);
    if (input.ConsumeBool()) {
        const int value = input.ConsumeIntegral<int>();
        FUZZ_CHECK(store.WriteInt(section, name, value, scrambled));
        FUZZ_CHECK(store.ReadInt(section, name, kDefaultNumber, scrambled) == value);
    }
    return 0;
}
