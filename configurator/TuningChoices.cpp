#include "configurator/TuningChoices.h"

#include "configurator/ManualValidation.h"
#include "tuning/TuningPreset.h"

FilledTuning FillTuning(const TuningChoices& choices) {
    TuningConfig config;
    config.mode = choices.mode;
    config.connectionType = choices.connectionType;
    if (choices.mode != kModeManual) {
        ApplyPreset(config);
        return {std::move(config), std::string()};
    }
    ManualValidation manual = ValidateManualValues(choices.form, config);
    if (!manual.valid) return {std::nullopt, manual.message};
    return {std::move(manual.config), std::string()};
}
