#pragma once
#include "win32/Desktop.h"

// Reboots the machine. The NT family needs the shutdown privilege first; when
// it cannot be had, the user is told to restart by hand. The reboot request's
// own result is not examined: Windows either goes down or keeps running.
void RestartWindows(Desktop& desktop);
