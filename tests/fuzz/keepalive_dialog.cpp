// The keep-alive dialog over damaged stored values: each of the five absent,
// well formed, damaged letters, or of any type and bytes; and any site typed.
// It opens in one mode with a state it can show, what OK would save is a set
// the agent can run on, a refused OK writes nothing, and saved and opened
// again it comes back the same.
#include "configurator/KeepAliveState.h"
#include "tests/fuzz/FuzzCheck.h"
#include "tests/support/FakeDesktop.h"
#include "win32/MemoryRegistry.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace {

constexpr RegRoot kMachine = RegRoot::LocalMachine;
const char* const kNames[] = {"PingMode", "PingHost", "PingInterval", "PingSound", "TaskBarAni"};

std::string SectionPath() {
    return std::string(SettingsStore::kProductKey) + "\\" + SettingsStore::ScrambleText("UndoRegular", false);
}

void PutSetting(FuzzedDataProvider& input, MemoryRegistry& registry, const char* name) {
    const std::string valueName = SettingsStore::ScrambleText(name, false);
    switch (input.ConsumeIntegralInRange(0, 4)) {
    case 0: return;
    case 1: {
        const char* usual[] = {"Automatic", "Manual", "manual", "", "www.example.org", "0", "9", "59", "60", "-1"};
        const std::string text =
            input.ConsumeBool() ? input.PickValueInArray(usual) : input.ConsumeRandomLengthString(600);
        registry.PutString(kMachine, SectionPath(), valueName, SettingsStore::ScrambleText(text, true));
        return;
    }
    case 2: {
        std::string letters = input.ConsumeRandomLengthString(1000);
        for (char& c : letters) c = static_cast<char>('A' + static_cast<unsigned char>(c) % 26);
        registry.PutString(kMachine, SectionPath(), valueName, letters);
        return;
    }
    default: {
        const DWORD types[] = {REG_SZ, REG_DWORD, REG_BINARY, REG_NONE};
        registry.Put(kMachine, SectionPath(), valueName, input.PickValueInArray(types),
                     input.ConsumeBytes<BYTE>(input.ConsumeIntegralInRange(0, 1010)));
    }
    }
}

bool SameState(const KeepAliveState& a, const KeepAliveState& b) {
    return a.automaticChecked == b.automaticChecked && a.manualChecked == b.manualChecked &&
           a.hostEnabled == b.hostEnabled && a.hostText == b.hostText && a.intervalEnabled == b.intervalEnabled &&
           a.interval == b.interval && a.soundChecked == b.soundChecked && a.animationChecked == b.animationChecked;
}

void CheckShowable(const KeepAliveState& state, const KeepAliveSettings& stored, bool largeFonts) {
    FUZZ_CHECK(state.automaticChecked != state.manualChecked);
    FUZZ_CHECK(state.manualChecked == (!stored.mode.empty() && stored.mode != "Automatic"));
    FUZZ_CHECK(state.hostEnabled == state.manualChecked && state.intervalEnabled == state.manualChecked);
    FUZZ_CHECK(state.interval >= -1 && state.interval < KeepAliveState::kIntervals);
    if (state.automaticChecked) {
        FUZZ_CHECK(state.hostText == KeepAliveState::AutomaticHostText(largeFonts));
        FUZZ_CHECK(state.interval == KeepAliveState::kAutomaticInterval);
    } else {
        FUZZ_CHECK(state.hostText == stored.host);
        FUZZ_CHECK(state.interval == -1 || state.interval == stored.interval);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    MemoryRegistry registry;
    for (const char* name : kNames) PutSetting(input, registry, name);
    const bool largeFonts = input.ConsumeBool();

    SettingsStore store(registry);
    const std::string before = registry.Dump(kMachine);
    const KeepAliveSettings stored = KeepAliveSettings::Load(store);
    FUZZ_CHECK(registry.Dump(kMachine) == before);
    KeepAliveState state = KeepAliveState::Opening(stored, largeFonts);
    CheckShowable(state, stored, largeFonts);
    // In Manual mode the user may type any site, up to and past the longest
    // the store keeps (479 bytes).
    if (state.manualChecked && input.ConsumeBool()) {
        state.hostText = input.ConsumeBool() ? input.ConsumeRandomLengthString(600)
                                             : std::string(input.ConsumeIntegralInRange<std::size_t>(470, 490), 'h');
    }

    // What OK saves is a set the agent can run on.
    const KeepAliveSettings saved = state.ToSettings();
    FUZZ_CHECK(saved.mode == "Automatic" || saved.mode == "Manual");
    FUZZ_CHECK(saved.interval >= 0 && saved.interval < KeepAliveState::kIntervals);
    FUZZ_CHECK((saved.sound == 0 || saved.sound == 1) && (saved.animation == 0 || saved.animation == 1));

    // OK: refused with a message, nothing written; or saved whole and read back the same.
    MemoryRegistry fresh;
    FakeDesktop desktop;
    ProductInfo product(fresh, desktop);
    const bool closes = state.Confirm(product, desktop, 0x4242);
    FUZZ_CHECK(closes == desktop.messageBoxes.empty());
    if (!closes) {
        FUZZ_CHECK(state.HostIsBlank() || saved.host.size() > 479);
        FUZZ_CHECK(fresh.WriteCount() == 0);
        FUZZ_CHECK(desktop.sentMessages.empty());
        return 0;
    }
    FUZZ_CHECK(!state.HostIsBlank());
    const KeepAliveSettings reread = KeepAliveSettings::Load(product.Store());
    FUZZ_CHECK(reread.mode == saved.mode && reread.host == saved.host && reread.interval == saved.interval &&
               reread.sound == saved.sound && reread.animation == saved.animation);
    // Opened again on what it saved, the dialog shows the same, but a list
    // that had nothing selected now shows the ten minutes it stored.
    KeepAliveState expected = state;
    if (expected.manualChecked && expected.interval == -1) expected.interval = KeepAliveState::kFallbackInterval;
    FUZZ_CHECK(SameState(KeepAliveState::Opening(reread, largeFonts), expected));
    return 0;
}
