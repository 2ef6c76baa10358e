#pragma once
#include "configurator/FormState.h"
#include "tuning/TuningConfig.h"

#include <string>

// What the manual mode's values on the form come to: either the filled
// tuning record, or the one message that names the first missing value.
struct ManualValidation {
    bool valid = false;
    std::string message;  // when not valid
    TuningConfig config;  // when valid: the given record with the manual fields filled
};

// Works through MTU, receive window, TTL, keep-alive, the two check boxes,
// the two connections-per-server lists and the NDI cache, in that order, and
// stops at the first value that is missing. A pair counts as "Custom"
// whenever its "Windows Default" button is not checked. Numbers are read as
// atoi reads them and no range is checked. The receive window is the chosen
// multiplier times the MSS that the MTU step set.
ManualValidation ValidateManualValues(const FormState& state, const TuningConfig& config);
