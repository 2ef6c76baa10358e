// "Zartune2.cfg" as any key texts: the form state it loads into is one the
// form can show, saving that state and loading it again gives it back, and
// the manual values it holds pass validation exactly when none is missing
// and the window fits, and a file complete enough for an unattended Apply
// is a whole choice that fills, with a window TCP can carry.
#include "common/LeadingInt.h"
#include "configurator/ConfigurationFile.h"
#include "configurator/ManualValidation.h"
#include "tests/fuzz/FuzzCheck.h"
#include "tests/support/LoadChoices.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// Key lines as the private-profile functions see them: "key=value", names
// without case, blanks around both trimmed, the first of a name counts.
// Numbers are read as GetPrivateProfileIntA reads them: at most 29
// characters, blanks, a sign, an optional 0x/0o/0b base, the digits that
// follow, wrapping in 32 bits; the default only for a missing or empty text.
class ProfileText : public ProfileSection {
public:
    ProfileText() = default;
    explicit ProfileText(const std::string& file) {
        std::size_t start = 0;
        while (start <= file.size()) {
            std::size_t end = file.find('\n', start);
            if (end == std::string::npos) end = file.size();
            const std::string line = file.substr(start, end - start);
            const std::size_t equals = line.find('=');
            if (equals != std::string::npos) {
                values_.emplace(Lower(Trimmed(line.substr(0, equals))), Trimmed(line.substr(equals + 1)));
            }
            start = end + 1;
        }
    }

    std::string ReadText(const char* key, const std::string& defaultText) override {
        const auto found = values_.find(Lower(key));
        return found == values_.end() ? defaultText : found->second;
    }
    int ReadInt(const char* key, int defaultValue) override {
        const std::string text = ReadText(key, "").substr(0, 29);
        if (text.empty()) return defaultValue;
        std::size_t i = 0;
        while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ') ++i;
        bool negative = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
        unsigned base = 10;
        if (i + 1 < text.size() && text[i] == '0') {
            const char marker = text[i + 1];
            base = marker == 'x' ? 16 : marker == 'o' ? 8 : marker == 'b' ? 2 : 10;
            if (base != 10) i += 2;
        }
        std::uint32_t value = 0;
        for (; i < text.size(); ++i) {
            const int c = std::tolower(static_cast<unsigned char>(text[i]));
            const unsigned digit = std::isdigit(c) ? c - '0' : std::isalpha(c) ? c - 'a' + 10 : base;
            if (digit >= base) break;
            value = value * base + digit;
        }
        return static_cast<int>(negative ? 0u - value : value);
    }
    void Write(const char* key, const std::string& value) override {
        ++writes;
        values_[Lower(key)] = value;
    }

    int writes = 0;

private:
    std::map<std::string, std::string> values_;
};

bool InList(int position, int entries) { return position == -1 || (position >= 0 && position < entries); }

bool SamePair(const ParameterPair& a, const ParameterPair& b) {
    return a.defaultChecked == b.defaultChecked && a.customChecked == b.customChecked &&
           a.valueEnabled == b.valueEnabled && a.text == b.text && a.selection == b.selection;
}

bool SameForm(const FormState& a, const FormState& b) {
    for (int i = 0; i < kParameterCount; ++i) {
        if (!SamePair(a.pairs[i], b.pairs[i])) return false;
    }
    return a.connectionType == b.connectionType && a.mode == b.mode && a.pmtuChecked == b.pmtuChecked &&
           a.blackHoleChecked == b.blackHoleChecked && a.http10 == b.http10 && a.http11 == b.http11 &&
           a.manualEnabled == b.manualEnabled;
}

const struct {
    Parameter parameter;
    int entries;  // 0 for a typed value
} kPairs[] = {
    {Parameter::Mtu, 0},
    {Parameter::ReceiveWindow, FormState::kReceiveWindowEntries},
    {Parameter::Ttl, 0},
    {Parameter::KeepAlive, FormState::kKeepAliveEntries},
    {Parameter::NdiCache, FormState::kNdiCacheEntries},
};

void CheckShowable(const FormState& state, const TuningConfig& config) {
    FUZZ_CHECK(InList(state.connectionType, FormState::kConnectionTypes));
    FUZZ_CHECK(InList(state.mode, FormState::kModes));
    FUZZ_CHECK(InList(state.http10, FormState::kConnectionEntries));
    FUZZ_CHECK(InList(state.http11, FormState::kConnectionEntries));
    const std::string& type = config.connectionType;
    FUZZ_CHECK(type.empty() || type == "DIAL-UP" || type == "LAN" || type == "LAN-PPPoE");
    const bool manual = state.mode == FormState::kManualMode;
    FUZZ_CHECK((config.mode == kModeManual) == manual);
    FUZZ_CHECK(manual || config.mode.compare(0, 4, "AUTO") == 0);
    FUZZ_CHECK(state.manualEnabled == manual);
    for (const auto& entry : kPairs) {
        const ParameterPair& pair = state.Pair(entry.parameter);
        const bool added = entry.parameter == Parameter::ReceiveWindow && state.addedWindowMultiplier > 0;
        FUZZ_CHECK(InList(pair.selection, entry.entries + (added ? 1 : 0)));
        if (!manual) {
            FUZZ_CHECK(SamePair(pair, ParameterPair()));
            continue;
        }
        // Exactly one of the two buttons, and the value open only for "Custom".
        FUZZ_CHECK(pair.defaultChecked != pair.customChecked);
        FUZZ_CHECK(pair.valueEnabled == pair.customChecked);
        if (entry.entries == 0) FUZZ_CHECK(pair.text.empty() != pair.customChecked);
        if (entry.entries != 0) FUZZ_CHECK(pair.text.empty());
    }
}

bool IsTextOf(const std::string& text, long long number) { return text == std::to_string(number); }

constexpr std::uint32_t kLargestWindow = (1u << 30) - 1;

// The window "Custom" asks for, in arithmetic of its own that cannot wrap.
bool WindowFits(const FormState& state) {
    if (!state.Pair(Parameter::ReceiveWindow).customChecked) return true;
    const ParameterPair& mtu = state.Pair(Parameter::Mtu);
    const __int128 mss = mtu.defaultChecked ? 1460 : __int128{ReadLeadingInt(mtu.text)} - 40;
    const __int128 window = ReadLeadingInt(state.ReceiveWindowEntry().substr(1)) * mss;
    return window >= 0 && window <= kLargestWindow;
}

void CheckValidation(const FormState& state, const TuningConfig& loaded) {
    if (state.mode != FormState::kManualMode) return;
    bool complete = state.http10 != -1 && state.http11 != -1;
    for (const auto& entry : kPairs) {
        const ParameterPair& pair = state.Pair(entry.parameter);
        if (entry.entries != 0 && pair.customChecked && pair.selection == -1) complete = false;
    }
    if (complete && !WindowFits(state)) complete = false;
    const ManualValidation result = ValidateManualValues(state, loaded);
    FUZZ_CHECK(result.valid == complete);
    if (!result.valid) {
        FUZZ_CHECK(result.message.compare(0, 8, "Invalid ") == 0);
        return;
    }
    // Both forms of each value agree, and every list value is one the list offers.
    const TuningConfig& config = result.config;
    FUZZ_CHECK(config.mode == loaded.mode && config.connectionType == loaded.connectionType);
    FUZZ_CHECK(config.mtuText == (state.Pair(Parameter::Mtu).defaultChecked ? "1500" : state.Pair(Parameter::Mtu).text));
    FUZZ_CHECK(IsTextOf(config.rwinText, static_cast<std::int32_t>(config.rwin)));
    FUZZ_CHECK(IsTextOf(config.keepAliveText, static_cast<std::int32_t>(config.keepAliveMs)));
    FUZZ_CHECK(IsTextOf(config.pmtuText, config.pmtuDiscovery) && config.pmtuDiscovery <= 1);
    FUZZ_CHECK(IsTextOf(config.blackHoleText, config.blackHoleDetect) && config.blackHoleDetect <= 1);
    FUZZ_CHECK(config.maxConnPer1_0Server >= 2 && config.maxConnPer1_0Server <= 60);
    FUZZ_CHECK(config.maxConnPerServer >= 2 && config.maxConnPerServer <= 60);
    const std::string& ndi = config.ndiCacheText;
    FUZZ_CHECK(ndi == "0" || ndi == "2" || ndi == "4" || ndi == "8" || ndi == "16" || ndi == "32" || ndi == "64");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ProfileText file(fuzzcheck::Text(data, size));
    FormState state;
    TuningConfig config;
    LoadChoices(file, state, config);
    FUZZ_CHECK(file.writes == 0);
    CheckShowable(state, config);
    CheckValidation(state, config);
    if (ConfigurationFile::IsComplete(file)) {
        FUZZ_CHECK(state.connectionType != -1 && state.mode != -1 && !config.connectionType.empty());
        const FilledTuning filled = FillTuning({state, config.mode, config.connectionType});
        FUZZ_CHECK(filled.config && filled.config->rwin <= kLargestWindow);
    }

    // Saved and loaded into a fresh form, the state comes back, except that a
    // "Custom" list with nothing selected is saved as "Windows Default".
    FormState expected = state;
    for (const auto& entry : kPairs) {
        ParameterPair& pair = expected.Pair(entry.parameter);
        if (entry.entries != 0 && pair.customChecked && pair.selection == -1) {
            pair = ParameterPair();
            pair.defaultChecked = true;
        }
    }
    ProfileText saved;
    ConfigurationFile::Save(state, saved);
    FormState reloaded;
    TuningConfig reloadedConfig;
    LoadChoices(saved, reloaded, reloadedConfig);
    CheckShowable(reloaded, reloadedConfig);
    FUZZ_CHECK(SameForm(expected, reloaded));
    FUZZ_CHECK(reloadedConfig.connectionType == config.connectionType);
    return 0;
}
