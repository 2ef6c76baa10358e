#pragma once
#include "win32/RegKey.h"

#include <string>
#include <vector>

// A registry value below HKEY_LOCAL_MACHINE; an empty name is the key's
// default value.
struct RegLocation {
    std::string path;
    std::string name;
};

// One value as it was: absent, or present with its type and exact bytes.
struct PreviousValue {
    std::string path;
    std::string name;
    bool present = false;
    RegValue value;  // only when present
};

bool operator==(const PreviousValue& a, const PreviousValue& b);

// What the tuned values were before the program first changed them, so that
// they can be given back exactly. Later Applies only add locations seen for
// the first time (a new adapter); what is recorded is never overwritten.
class PreviousSettings {
public:
    PreviousSettings() = default;
    explicit PreviousSettings(std::vector<PreviousValue> values) : values_(std::move(values)) {}

    // Reads each location once; keys are opened read-only, so nothing
    // changes. A location whose key does not open is left out: the writers
    // cannot change it either, and guessing "absent" would delete a value on
    // the way back.
    static PreviousSettings Capture(Registry& registry, const std::vector<RegLocation>& locations);

    // Takes the values of `later` at locations not recorded yet; returns how
    // many it added.
    int AddNew(const PreviousSettings& later);

    // What Restore could not write back: refused by the registry, or in a key
    // that is gone (an adapter that was removed), which no write can bring back.
    struct RestoreResult {
        int refused = 0;
        int gone = 0;
    };

    // Writes every value back with its type and bytes, or deletes it where it
    // was absent. No key is created. The record has done its work when none
    // was refused.
    RestoreResult Restore(Registry& registry) const;

    const std::vector<PreviousValue>& Values() const { return values_; }
    bool IsEmpty() const { return values_.empty(); }
    bool Holds(const std::string& path, const std::string& name) const;

private:
    std::vector<PreviousValue> values_;
};
