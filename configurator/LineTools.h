#pragma once
#include "common/ProductInfo.h"
#include "configurator/CurrentSettings.h"
#include "configurator/TuningChoices.h"
#include "configurator/TuningView.h"
#include "win32/Desktop.h"
#include "win32/Registry.h"

#include <optional>
#include <string>

// The Tools menu's measurements and views: Find Largest MTU, Tune Receive
// Window and Current Settings, with what each starts from. It opens the
// measuring dialogs through TuningView and writes nothing; what the user
// chose in them goes back to the caller, for the form.
class LineTools {
public:
    LineTools(ProductInfo& product, Registry& registry, Desktop& desktop, TuningView& view);

    // The MTU found, when the user chose to use it.
    std::optional<int> FindLargestMtu();
    // The receive-window multiplier measured for the form's connection type
    // and MTU choice, when the user chose to use it.
    std::optional<int> TuneReceiveWindow(const FormState& form);
    // Current Settings' rows: what the registry holds now and what Apply,
    // with these choices, would leave there.
    CurrentSettings CurrentSettingsFor(const TuningChoices& choices) const;

private:
    // The host to measure: the keep-alive site when the user chose one, else
    // the agent's own address.
    std::string ProposedHost() const;
    // The MTU the first adapter with one is set to now; 0 when none is.
    int AdapterMtuNow() const;

    ProductInfo* product_;
    Registry* registry_;
    Desktop* desktop_;
    TuningView* view_;
};
