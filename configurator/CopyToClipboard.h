#pragma once
#include "win32/Desktop.h"

#include <windows.h>

#include <string>

namespace zartune {

// Puts text on the clipboard. When that fails, says so over owner, in the
// system's own words where it has any ("Unable to copy the log to the
// clipboard"), so that nobody pastes an older text believing it is this one.
void CopyToClipboard(HWND owner, Desktop& desktop, const std::string& text, const std::string& what);

}  // namespace zartune
