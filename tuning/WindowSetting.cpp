#include "tuning/WindowSetting.h"

#include "common/NumberText.h"
#include "line/LineWindow.h"
#include "tuning/OsName.h"
#include "tuning/TuningEngine.h"
#include "win32/RegKey.h"

#include <algorithm>
#include <optional>

namespace {

// A window set as a REG_DWORD or as decimal text; nothing for 0 or any other data.
std::optional<std::uint32_t> WindowValue(const RegKey& key, const char* name) {
    std::uint64_t window = key.QueryDword(name).value_or(0);
    if (window == 0) {
        const std::optional<std::string> text = key.QueryText(name, 16);
        window = text ? DigitsValue(*text, 10).value_or(0) : 0;
    }
    if (window == 0 || window > 0xFFFFFFFFu) return std::nullopt;
    return static_cast<std::uint32_t>(window);
}

std::uint32_t SetOrDefault(Registry& registry, const std::string& osName) {
    RegKey key(registry);
    if (!IsNtFamily(osName)) {
        key.Open(RegRoot::LocalMachine, TuningEngine::kMstcpPath, KEY_READ);
        return WindowValue(key, "DefaultRcvWindow").value_or(WindowSetting::kDefault9x);
    }
    key.Open(RegRoot::LocalMachine, TuningEngine::kTcpipPath, KEY_READ);
    if (const auto window = WindowValue(key, "TcpWindowSize")) return *window;
    if (osName == "Windows NT") return WindowSetting::kDefaultNt4;
    return WindowValue(key, "GlobalMaxTcpWindowSize").value_or(WindowSetting::kDefault2000);
}

}  // namespace

std::uint32_t WindowSetting::Read(Registry& registry, const std::string& osName) {
    const std::uint32_t window = SetOrDefault(registry, osName);
    return ScalesWindows(osName) ? window : std::min(window, LineWindow::kLargestUnscaled);
}
