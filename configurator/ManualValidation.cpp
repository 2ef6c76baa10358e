#include "configurator/ManualValidation.h"

#include "common/LeadingInt.h"
#include "configurator/FormLists.h"
#include "line/LineWindow.h"

#include <cstdint>
#include <vector>

namespace {

using formlists::Entry;

// The 32 bits a C int of this value would hold; the record keeps both forms alike.
std::int32_t Wrapped(long long value) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(value)); }

ManualValidation Missing(const std::string& message) { return {false, message, {}}; }

// A pair set to "Custom" with nothing typed or chosen.
ManualValidation MissingCustom(const std::string& value) {
    return Missing("Invalid " + value + " value.\nYou chose the 'Custom' option without providing any value.");
}

}  // namespace

ManualValidation ValidateManualValues(const FormState& state, const TuningConfig& base) {
    TuningConfig config = base;

    const ParameterPair& mtu = state.Pair(Parameter::Mtu);
    if (mtu.defaultChecked) {
        config.mtuText = "1500";
        config.mtu = 1500;
    } else {
        if (mtu.text.empty()) return MissingCustom("MTU");
        config.mtuText = mtu.text;
        config.mtu = static_cast<DWORD>(ReadLeadingInt(mtu.text));
    }
    config.mssText = std::to_string(MssOf(mtu));

    const ParameterPair& rwin = state.Pair(Parameter::ReceiveWindow);
    if (rwin.defaultChecked) {
        config.rwin = 8192;
        config.rwinText = "8192";
    } else {
        // A window past what TCP takes would be written cut or wrapped.
        const std::optional<std::uint32_t> window = ReceiveWindowOf(state);
        if (!window) return MissingCustom("RWIN");
        config.rwin = *window;
        config.rwinText = std::to_string(*window);
    }

    const ParameterPair& ttl = state.Pair(Parameter::Ttl);
    if (ttl.defaultChecked) {
        config.ttl = 32;
        config.ttlText = "32";
    } else {
        if (ttl.text.empty()) return MissingCustom("TTL");
        config.ttl = static_cast<DWORD>(ReadLeadingInt(ttl.text));
        config.ttlText = ttl.text;
    }

    const ParameterPair& keepAlive = state.Pair(Parameter::KeepAlive);
    if (keepAlive.defaultChecked) {
        config.keepAliveMs = 3600000;
        config.keepAliveText = "3600000";
    } else {
        const std::string entry = Entry(formlists::KeepAliveMinutes(), keepAlive.selection);
        if (entry.empty()) return MissingCustom("Session Keep Alive");
        // Without its " min." suffix.
        const std::int32_t ms = Wrapped(ReadLeadingInt(entry.substr(0, entry.size() - 5)) * 60000LL);
        config.keepAliveMs = static_cast<DWORD>(ms);
        config.keepAliveText = std::to_string(ms);
    }

    config.pmtuDiscovery = state.pmtuChecked ? 1 : 0;
    config.pmtuText = std::to_string(config.pmtuDiscovery);
    config.blackHoleDetect = state.blackHoleChecked ? 1 : 0;
    config.blackHoleText = std::to_string(config.blackHoleDetect);

    const std::string http10 = Entry(formlists::ConnectionsPerServer(), state.http10);
    if (http10.empty()) return Missing("Invalid MSCPS usings HTTP 1.0 value.\nNo value was entered.");
    config.maxConnPer1_0Server = static_cast<DWORD>(ReadLeadingInt(http10));
    const std::string http11 = Entry(formlists::ConnectionsPerServer(), state.http11);
    if (http11.empty()) return Missing("Invalid MSCPS usings HTTP 1.1 value.\nNo value was entered.");
    config.maxConnPerServer = static_cast<DWORD>(ReadLeadingInt(http11));

    const ParameterPair& ndi = state.Pair(Parameter::NdiCache);
    if (ndi.defaultChecked) {
        config.ndiCacheText = "0";
    } else {
        const std::string entry = Entry(formlists::NdiCacheSizes(), ndi.selection);
        if (entry.empty()) return MissingCustom("NDI Cache");
        config.ndiCacheText = std::to_string(ReadLeadingInt(entry));
    }
    return {true, std::string(), config};
}

std::int64_t MssOf(const ParameterPair& mtu) {
    if (mtu.defaultChecked || mtu.text.empty()) return 1460;
    return std::int64_t{ReadLeadingInt(mtu.text)} - 40;
}

std::optional<std::uint32_t> ReceiveWindowOf(const FormState& state) {
    const std::string entry = state.ReceiveWindowEntry();
    if (entry.empty()) return std::nullopt;
    return LineWindow::WindowOf(ReadLeadingInt(entry.substr(1)), MssOf(state.Pair(Parameter::Mtu)));
}
