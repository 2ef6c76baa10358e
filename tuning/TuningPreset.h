#pragma once
#include "tuning/TuningConfig.h"

// Fills the record from the preset table for its mode and connection type
// (neither code is changed). Any mode other than "AUTO1" and "AUTO2" takes
// the "AUTO3" row; an unknown connection type leaves MTU, MSS and receive
// window as they were. The values common to every preset are always set.
void ApplyPreset(TuningConfig& config);
