#include "configurator/LineTools.h"

#include "common/CActivityPinger.h"
#include "common/KeepAliveSettings.h"
#include "common/LeadingInt.h"
#include "configurator/FormLists.h"
#include "configurator/ManualValidation.h"
#include "configurator/SpeedHistory.h"
#include "line/LineWindow.h"
#include "line/MtuSearch.h"
#include "tuning/OsName.h"
#include "tuning/PreviousSettings.h"
#include "tuning/TuningEngine.h"
#include "tuning/WindowSetting.h"

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
    // A rate the window limited is the window's ceiling, not the line's speed.
    const std::optional<std::uint32_t> tested = SpeedHistory(product_->Store()).PrefillSpeed();
    const std::string speed = tested ? std::to_string(*tested) : formlists::ConnectionTypeSpeed(form.connectionType);
    // Past either end no segment makes a window, however far past.
    const std::int64_t mss = std::clamp<std::int64_t>(MssOf(form.Pair(Parameter::Mtu)), 0,
                                                      std::int64_t{LineWindow::kLargestUnscaled} + 1);
    return view_->ShowTuneWindow(ProposedHost(), speed, static_cast<int>(mss), ScalesWindows(GetOsName(*desktop_)));
}

void LineTools::TestLineSpeed() {
    const std::optional<SpeedHistory::Test> last = SpeedHistory(product_->Store()).LastTest();
    view_->ShowSpeedTest(last ? last->address : std::string(),
                         [this](const std::string& address, const SpeedTest::Result& result) {
                             return SpeedTestEnded(address, result);
                         });
}

std::string LineTools::SpeedTestEnded(const std::string& address, const SpeedTest::Result& result) {
    SpeedHistory history(product_->Store());
    const LocalTime now = desktop_->CurrentTime();
    const std::int64_t started = SpeedHistory::Started(now, desktop_->TickCount());
    const std::uint32_t windowSet = WindowSetting::Read(*registry_, GetOsName(*desktop_));
    const std::uint32_t window = history.WindowInEffect(windowSet, started);
    const std::string text = SpeedTest::ResultText(result, window);
    if (result.outcome != SpeedTest::Outcome::Measured) return text;
    const SpeedHistory::Test test{address, result.BitsPerSecond(), result.roundTrip, window,
                                  SpeedHistory::Seconds(now)};
    return text + history.KeepTest(test, started, windowSet);
}

CurrentSettings LineTools::CurrentSettingsFor(const TuningChoices& choices) const {
    const FilledTuning filled = FillTuning(choices);
    if (filled.config) return CurrentSettings::Read(*registry_, *desktop_, *filled.config, filled.problem);
    return CurrentSettings::Read(*registry_, *desktop_, TuningConfig(), filled.problem);
}
