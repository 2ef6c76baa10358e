#include "tuning/PreviousSettings.h"

#include <algorithm>

namespace {

bool SameLocation(const PreviousValue& value, const std::string& path, const std::string& name) {
    return SameRegistryName(value.path, path) && SameRegistryName(value.name, name);
}

// Registry values are small, but nothing says how small; grow until it fits.
LONG QueryWhole(const RegKey& key, const std::string& name, RegValue* value) {
    const DWORD kLargest = 1u << 20;
    for (DWORD size = 1024;; size *= 2) {
        const LONG result = key.Query(name, size, value);
        if (result != ERROR_MORE_DATA || size >= kLargest) return result;
    }
}

}  // namespace

bool operator==(const PreviousValue& a, const PreviousValue& b) {
    return a.path == b.path && a.name == b.name && a.present == b.present &&
           (!a.present || (a.value.type == b.value.type && a.value.data == b.value.data));
}

PreviousSettings PreviousSettings::Capture(Registry& registry, const std::vector<RegLocation>& locations) {
    PreviousSettings record;
    for (const RegLocation& location : locations) {
        if (record.Holds(location.path, location.name)) continue;
        RegKey key(registry);
        if (key.Open(RegRoot::LocalMachine, location.path, KEY_READ) != ERROR_SUCCESS) continue;
        RegValue data;
        const LONG result = QueryWhole(key, location.name, &data);
        if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND) continue;  // unreadable: state unknown
        const bool present = result == ERROR_SUCCESS;
        PreviousValue value{location.path, location.name, present, present ? std::move(data) : RegValue()};
        record.values_.push_back(std::move(value));
    }
    return record;
}

int PreviousSettings::AddNew(const PreviousSettings& later) {
    int added = 0;
    for (const PreviousValue& value : later.values_) {
        if (Holds(value.path, value.name)) continue;
        values_.push_back(value);
        ++added;
    }
    return added;
}

PreviousSettings::RestoreResult PreviousSettings::Restore(Registry& registry) const {
    RestoreResult outcome;
    for (const PreviousValue& value : values_) {
        RegKey key(registry);
        const LONG opened = key.Open(RegRoot::LocalMachine, value.path, KEY_SET_VALUE);
        LONG result;
        if (opened == ERROR_FILE_NOT_FOUND) {
            // A value in a key that is gone is as absent as it was.
            if (value.present) ++outcome.gone;
            continue;
        }
        if (opened != ERROR_SUCCESS) {
            result = opened;
        } else if (value.present) {
            const BYTE none = 0;
            const std::vector<BYTE>& data = value.value.data;
            result = key.Set(value.name, value.value.type, data.empty() ? &none : data.data(),
                             static_cast<DWORD>(data.size()));
        } else {
            result = key.Delete(value.name);
            if (result == ERROR_FILE_NOT_FOUND) result = ERROR_SUCCESS;
        }
        if (result != ERROR_SUCCESS) ++outcome.refused;
    }
    return outcome;
}

bool PreviousSettings::Holds(const std::string& path, const std::string& name) const {
    return std::any_of(values_.begin(), values_.end(),
                       [&](const PreviousValue& value) { return SameLocation(value, path, name); });
}
