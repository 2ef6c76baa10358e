#include "tuning/TuningWrite.h"

#include "win32/RegKey.h"

#include <utility>

TuningWrite TuningWrite::Text(std::string path, std::string name, const std::string& text) {
    TuningWrite write{std::move(path), std::move(name), false, REG_SZ, {}};
    // Stored with its terminating NUL, as RegSetValueExA wants a REG_SZ.
    write.data.assign(text.begin(), text.end());
    write.data.push_back(0);
    return write;
}

TuningWrite TuningWrite::Number(std::string path, std::string name, DWORD number) {
    return {std::move(path), std::move(name), false, REG_DWORD, DwordBytes(number)};
}

TuningWrite TuningWrite::Delete(std::string path, std::string name) {
    return {std::move(path), std::move(name), true, REG_NONE, {}};
}

TuningCounts ExecutePlan(Registry& registry, const TuningPlan& plan) {
    TuningCounts counts;
    for (const TuningWrite& write : plan) {
        RegKey key(registry);
        const LONG opened = key.Open(RegRoot::LocalMachine, write.path, KEY_ALL_ACCESS);
        if (opened == ERROR_FILE_NOT_FOUND) continue;
        LONG result = opened;
        if (opened == ERROR_SUCCESS) {
            result = write.remove ? key.Delete(write.name)
                                  : key.Set(write.name, write.type, write.data.data(),
                                            static_cast<DWORD>(write.data.size()));
        }
        if (result == ERROR_SUCCESS || (write.remove && result == ERROR_FILE_NOT_FOUND)) {
            ++counts.written;
        } else {
            ++counts.refused;
        }
    }
    return counts;
}
