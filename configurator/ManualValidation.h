#pragma once
#include "configurator/FormState.h"
#include "tuning/TuningConfig.h"

#include <cstdint>
#include <optional>
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
// atoi reads them and no range is checked, but for the receive window: the
// chosen multiplier times the MSS that the MTU step set, refused as missing
// where no window can be (ReceiveWindowOf).
ManualValidation ValidateManualValues(const FormState& state, const TuningConfig& config);

// The MSS of the MTU pair's choice: the typed MTU less the 40 bytes of the
// IP and TCP headers, or 1460 under Windows' own MTU, which a pair left
// blank (as outside the manual mode) also stands for.
std::int64_t MssOf(const ParameterPair& mtu);
// The receive window that "Custom" gives: the selected multiplier times the
// MSS; none when nothing is selected, or when no window can be that size
// (LineWindow::WindowOf).
std::optional<std::uint32_t> ReceiveWindowOf(const FormState& state);
