// The agent over damaged keep-alive settings: each of the five values
// absent, well formed, damaged letters, or of any type and bytes. The
// agent's timers stay within the offered intervals, reading changes nothing,
// and the first-run values only fill in what is missing.
#include "agent/KeepAliveAgent.h"
#include "tests/fuzz/FuzzCheck.h"
#include "tests/support/FakeAgentView.h"
#include "tests/support/FakeDesktop.h"
#include "tests/support/FakeInternet.h"
#include "tests/support/FakeLogFiles.h"
#include "win32/MemoryRegistry.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <map>
#include <optional>

namespace {

constexpr RegRoot kMachine = RegRoot::LocalMachine;
const char* const kNames[] = {"PingMode", "PingHost", "PingInterval", "PingSound", "TaskBarAni"};
constexpr UINT kShortestPeriod = 63000;
constexpr UINT kLongestPeriod = 59 * 60000 + 63000;

std::string SectionPath() {
    return std::string(SettingsStore::kProductKey) + "\\" + SettingsStore::ScrambleText(kKeepAliveSection, false);
}

std::string ValueName(const char* name) { return SettingsStore::ScrambleText(name, false); }

std::optional<RegValue> Stored(const MemoryRegistry& registry, const char* name) {
    return registry.Value(kMachine, SectionPath(), ValueName(name));
}

bool Same(const std::optional<RegValue>& a, const std::optional<RegValue>& b) {
    if (!a || !b) return !a && !b;
    return a->type == b->type && a->data == b->data;
}

void PutSetting(FuzzedDataProvider& input, MemoryRegistry& registry, const char* name) {
    switch (input.ConsumeIntegralInRange(0, 4)) {
    case 0: return;  // absent
    case 1: {
        // Well formed: what the configurator writes, or any text in the store's encoding.
        const char* usual[] = {"Automatic", "Manual", "0", "1", "4", "59", "60", "-1", "2147483647"};
        const std::string text = input.ConsumeBool() ? input.PickValueInArray(usual) : input.ConsumeRandomLengthString(40);
        registry.PutString(kMachine, SectionPath(), ValueName(name), SettingsStore::ScrambleText(text, true));
        return;
    }
    case 2: {
        // Damaged letters: cut, changed, or outside the alphabet.
        std::string letters = input.ConsumeRandomLengthString(1000);
        for (char& c : letters) c = static_cast<char>('A' + static_cast<unsigned char>(c) % 26);
        registry.PutString(kMachine, SectionPath(), ValueName(name), letters);
        return;
    }
    default: {
        const DWORD types[] = {REG_SZ, REG_DWORD, REG_BINARY, REG_NONE};
        registry.Put(kMachine, SectionPath(), ValueName(name), input.PickValueInArray(types),
                     input.ConsumeBytes<BYTE>(input.ConsumeIntegralInRange(0, 1010)));
    }
    }
}

bool PeriodInRange(const FakeAgentView& view) {
    const auto found = view.timers.find(KeepAliveAgent::kKeepAliveTimer);
    return found != view.timers.end() && found->second >= kShortestPeriod && found->second <= kLongestPeriod;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    MemoryRegistry registry;
    registry.PutString(kMachine, std::string(SettingsStore::kProductKey) + "\\Install", "Folder", "C:\\Zarvo\\");
    for (const char* name : kNames) PutSetting(input, registry, name);

    FakeDesktop desktop;
    FakeInternet internet;
    internet.urlWorks = input.ConsumeBool();
    FakeLogFiles logFiles;
    FakeAgentView view;
    ProductInfo product(registry, desktop);
    KeepAliveAgent agent(product, registry, internet, desktop, logFiles, view);
    SettingsStore store(registry);

    std::map<std::string, std::optional<RegValue>> before;
    std::map<std::string, bool> readable;
    for (const char* name : kNames) {
        before[name] = Stored(registry, name);
        readable[name] = store.ReadString(kKeepAliveSection, name, "(none)", true) != "(none)";
    }
    const std::string dump = registry.Dump(kMachine);
    agent.ReloadSettings();
    FUZZ_CHECK(registry.Dump(kMachine) == dump);

    const bool firstRun = store.ReadString(kKeepAliveSection, "PingMode", "", true).empty();
    agent.Start();
    FUZZ_CHECK(PeriodInRange(view));
    FUZZ_CHECK(!store.ReadString(kKeepAliveSection, "PingMode", "", true).empty());
    for (const char* name : kNames) {
        // A value that is there stays as it is; only "PingMode" read as empty is replaced.
        if (!firstRun) {
            FUZZ_CHECK(Same(Stored(registry, name), before[name]));
        } else if (std::string(name) != "PingMode" && readable[name]) {
            FUZZ_CHECK(Same(Stored(registry, name), before[name]));
        }
    }

    // The settings-changed message and both timers, with whatever was read.
    agent.OnSettingsChanged(kSettingsChangedWParam, kSettingsChangedLParam);
    FUZZ_CHECK(PeriodInRange(view));
    agent.OnTimer(KeepAliveAgent::kConnectionTimer);
    agent.OnTimer(KeepAliveAgent::kKeepAliveTimer);
    FUZZ_CHECK(desktop.messageBoxes.empty());
    FUZZ_CHECK(registry.OpenKeyCount() == 0);
    return 0;
}
