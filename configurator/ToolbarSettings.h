#pragma once
#include "common/SettingsStore.h"
#include "win32/DockLayout.h"

namespace zartune {

// The toolbar's placement between runs, in the product's settings: section
// "Toolbar", plain values "Side" ("Top", "Bottom", "Left", "Right" or
// "Floating") and, while it floats, "FloatLeft" and "FloatTop" (the floating
// window's top-left corner on the screen). Nothing kept, or anything
// damaged, reads as the top.
namespace toolbarsettings {

ToolbarPlacement Read(const SettingsStore& store);
// False when a value could not be written.
bool Write(SettingsStore& store, const ToolbarPlacement& placement);

}  // namespace toolbarsettings

}  // namespace zartune
