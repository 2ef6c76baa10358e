#include "configurator/ToolbarSettings.h"

namespace zartune::toolbarsettings {

namespace {

const char kSection[] = "Toolbar";
const char kSide[] = "Side";
const char kLeft[] = "FloatLeft";
const char kTop[] = "FloatTop";

}  // namespace

ToolbarPlacement Read(const SettingsStore& store) {
    return ParsePlacement(store.ReadString(kSection, kSide, "", false), store.ReadString(kSection, kLeft, "", false),
                          store.ReadString(kSection, kTop, "", false));
}

bool Write(SettingsStore& store, const ToolbarPlacement& placement) {
    if (!store.WriteString(kSection, kSide, PlacementName(placement.side), false)) return false;
    if (placement.side) return true;
    return store.WriteInt(kSection, kLeft, placement.floatingAt.x, false) &&
           store.WriteInt(kSection, kTop, placement.floatingAt.y, false);
}

}  // namespace zartune::toolbarsettings
