#pragma once
// Readable test failures for recorded values: path, name, and either
// "absent" or the type and the bytes in hex.
#include "tuning/PreviousSettings.h"

#include <cstdio>
#include <ostream>

inline void PrintTo(const PreviousValue& value, std::ostream* out) {
    *out << value.path << "\\[" << value.name << "] ";
    if (!value.present) {
        *out << "absent";
        return;
    }
    *out << "type " << value.value.type << ":";
    for (BYTE b : value.value.data) {
        char hex[4];
        std::snprintf(hex, sizeof hex, " %02x", b);
        *out << hex;
    }
}
