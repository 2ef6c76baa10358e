#pragma once
#include "win32/Registry.h"

#include <string>
#include <vector>

// One value the tuning writers set or delete, below HKEY_LOCAL_MACHINE.
struct TuningWrite {
    std::string path;
    std::string name;  // empty for the key's default value
    bool remove = false;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;

    static TuningWrite Text(std::string path, std::string name, const std::string& text);
    static TuningWrite Number(std::string path, std::string name, DWORD number);
    static TuningWrite Delete(std::string path, std::string name);
};

// A write sequence in the order it runs.
using TuningPlan = std::vector<TuningWrite>;

// What a plan came to: the values written or deleted, and those the registry
// refused. Values in keys that do not exist are in neither count.
struct TuningCounts {
    int written = 0;
    int refused = 0;
};

// Carries out a plan in order. A key that does not exist is skipped and none
// is ever created; deleting a value that is not there counts as done.
TuningCounts ExecutePlan(Registry& registry, const TuningPlan& plan);
