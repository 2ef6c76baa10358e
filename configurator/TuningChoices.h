#pragma once
#include "configurator/FormState.h"
#include "tuning/TuningConfig.h"

#include <optional>
#include <string>

// What the user chose, as one value: the form's controls and the two codes
// that its lists set. The codes are kept apart from the lists' positions,
// since a damaged configuration file sets codes that no position shows.
struct TuningChoices {
    FormState form;
    std::string mode;            // a mode code of TuningConfig
    std::string connectionType;  // a connection-type code; empty until one is set
};

// The tuning record the choices come to, or why there is none.
struct FilledTuning {
    std::optional<TuningConfig> config;
    std::string problem;  // the first missing manual value, when there is no record
};

// The preset of the choices' codes, or in the manual mode the form's values.
FilledTuning FillTuning(const TuningChoices& choices);
