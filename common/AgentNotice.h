#pragma once
#include "win32/WinTypes.h"

#include <cstdint>

// What the two programs agree on for the keep-alive settings: the section
// both read and write, the agent's window title, and the message with which
// the configurator tells a running agent to read them again.
constexpr const char* kKeepAliveSection = "UndoRegular";
constexpr const char* kAgentWindowTitle = "ZV - Kavrel";
constexpr UINT kSettingsChangedMessage = 1112;  // WM_USER + 88
constexpr std::uintptr_t kSettingsChangedWParam = 123;
constexpr std::intptr_t kSettingsChangedLParam = 123;
