#include "tuning/WindowAndMtu.h"

#include "common/LeadingInt.h"
#include "tuning/OsName.h"

namespace {

constexpr DWORD kLargestUnscaledWindow = 65535;

// The largest whole number of segments that fits an unscaled window; the
// window itself when the MSS gives none.
DWORD UnscaledWindow(const std::string& mssText) {
    const int mss = ReadLeadingInt(mssText);
    if (mss <= 0 || static_cast<DWORD>(mss) > kLargestUnscaledWindow) return kLargestUnscaledWindow;
    return kLargestUnscaledWindow / static_cast<DWORD>(mss) * static_cast<DWORD>(mss);
}

}  // namespace

WindowValue WindowToWrite(const TuningConfig& config, const std::string& osName) {
    WindowValue value;
    if (config.rwin == 0) return value;
    value.window = config.rwin;
    value.windowText = config.rwinText;
    if (config.rwin > kLargestUnscaledWindow) {
        if (ScalesWindows(osName)) {
            value.scaling = true;
        } else {
            value.window = UnscaledWindow(config.mssText);
            value.windowText = std::to_string(*value.window);
        }
    }
    return value;
}

MtuValue MtuToWrite(const TuningConfig& config) {
    MtuValue value;
    if (config.mtu != 0) value.mtu = config.mtu;
    if (!config.mtuText.empty() && config.mtuText != "0") {
        value.mtuText = config.mtuText;
        value.mssText = config.mssText;
    }
    return value;
}
