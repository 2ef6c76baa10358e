#include "configurator/LineTools.h"

#include "common/CActivityPinger.h"
#include "common/KeepAliveSettings.h"
#include "common/LeadingInt.h"
#include "configurator/FormLists.h"
#include "configurator/ManualValidation.h"
#include "line/LineWindow.h"
#include "line/MtuSearch.h"
#include "tuning/OsName.h"
#include "tuning/PreviousSettings.h"
#include "tuning/TuningEngine.h"

#include <algorithm>
#include <vector>

LineTools::LineTools(ProductInfo& product, Registry& registry, Desktop& desktop, TuningView& view)
    : product_(&product), registry_(&registry), desktop_(&desktop), view_(&view) {}

std::string LineTools::ProposedHost() const {
    const KeepAliveSettings keepAlive = KeepAliveSettings::Load(product_->Store());
    const bool ownSite = keepAlive.mode == "Manual" && !keepAlive.host.empty();
    return MtuSearch::HostOf(ownSite ? keepAlive.host : CActivityPinger::kDefaultAddress);
}

std::optional<int> LineTools::FindLargestMtu() { return view_->ShowFindMtu(ProposedHost(), AdapterMtuNow()); }

int LineTools::AdapterMtuNow() const {
    std::vector<RegLocation> locations;
    for (const RegLocation& location : TuningEngine(*registry_, *desktop_).TouchedLocations()) {
        if (location.name == "MTU" || location.name == "MaxMTU") locations.push_back(location);
    }
    const PreviousSettings now = PreviousSettings::Capture(*registry_, locations);
    for (const PreviousValue& value : now.Values()) {
        if (!value.present) continue;
        // The NT family keeps a number, the 9x family a text.
        if (const std::optional<DWORD> number = DwordOf(value.value)) return static_cast<int>(*number);
        const std::string text(value.value.data.begin(), value.value.data.end());
        if (value.value.type == REG_SZ && ReadLeadingInt(text) > 0) return ReadLeadingInt(text);
    }
    return 0;
}

std::optional<int> LineTools::TuneReceiveWindow(const FormState& form) {
    const char* speed = formlists::ConnectionTypeSpeed(form.connectionType);
    // Past either end no segment makes a window, however far past.
    const std::int64_t mss = std::clamp<std::int64_t>(MssOf(form.Pair(Parameter::Mtu)), 0,
                                                      std::int64_t{LineWindow::kLargestUnscaled} + 1);
    return view_->ShowTuneWindow(ProposedHost(), speed, static_cast<int>(mss), ScalesWindows(GetOsName(*desktop_)));
}

CurrentSettings LineTools::CurrentSettingsFor(const TuningChoices& choices) const {
    const FilledTuning filled = FillTuning(choices);
    if (filled.config) return CurrentSettings::Read(*registry_, *desktop_, *filled.config, filled.problem);
    return CurrentSettings::Read(*registry_, *desktop_, TuningConfig(), filled.problem);
}
