#include "tuning/WindowAndMtu.h"

#include "common/LeadingInt.h"
#include "line/LineWindow.h"
#include "tuning/OsName.h"

WindowValue WindowToWrite(const TuningConfig& config, const std::string& osName) {
    WindowValue value;
    if (config.rwin == 0) return value;
    value.window = config.rwin;
    value.windowText = config.rwinText;
    if (config.rwin > LineWindow::kLargestUnscaled) {
        if (ScalesWindows(osName)) {
            value.scaling = true;
        } else {
            value.window = LineWindow::LargestUnscaled(ReadLeadingInt(config.mssText));
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
