#pragma once
#include "configurator/FormState.h"
#include "configurator/ProfileSection.h"
#include "configurator/TuningChoices.h"

// The form's choices as "Zartune2.cfg" keeps them: list positions, check
// states and the two typed texts, never the tuning values themselves.
class ConfigurationFile {
public:
    static constexpr const char* kFileName = "Zartune2.cfg";
    static constexpr const char* kSection = "Configuration";

    // Writes every key, whatever the mode, in the file's key order.
    static void Save(const FormState& state, ProfileSection& file);
    // Sets the two lists and the two codes from the file; in the manual mode
    // also the pairs, boxes and lists (with a measured receive-window
    // multiplier that the list lacks), and enables the manual controls.
    // Expects a freshly created form: of each pair only the button the file
    // calls for is checked. A connection type outside the list leaves
    // choices.connectionType as it was.
    static void Load(ProfileSection& file, TuningChoices& choices);
    // Whether the section holds a choice to apply unattended: "Adapter" and
    // "Mode" as numbers on their lists and, in the manual mode, every other
    // key, each number on its list or -1 where the form takes that. Load
    // itself opens on defaults for whatever is missing.
    static bool IsComplete(ProfileSection& file);
};
