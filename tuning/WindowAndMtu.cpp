#include "tuning/WindowAndMtu.h"

WindowAndMtu WindowAndMtuToWrite(const TuningConfig& config) {
    WindowAndMtu values;
    if (config.rwin != 0) {
        values.window = config.rwin;
        values.windowText = config.rwinText;
    }
    if (config.mtu != 0) values.mtu = config.mtu;
    if (!config.mtuText.empty() && config.mtuText != "0") {
        values.mtuText = config.mtuText;
        values.mssText = config.mssText;
    }
    return values;
}
