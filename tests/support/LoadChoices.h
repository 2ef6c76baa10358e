#pragma once
// ConfigurationFile::Load into a form state and a config's two codes, where
// the tests of the file look for them.
#include "configurator/ConfigurationFile.h"

inline void LoadChoices(ProfileSection& file, FormState& state, TuningConfig& config) {
    TuningChoices choices{state, config.mode, config.connectionType};
    ConfigurationFile::Load(file, choices);
    state = choices.form;
    config.mode = choices.mode;
    config.connectionType = choices.connectionType;
}
