#pragma once
#include "win32/Desktop.h"

#include <string>

// What the agent's decisions ask of its hidden main window: the tray icon
// and the window's timers. Operations on a tray icon that doesn't exist (yet)
// do nothing.
class AgentView {
public:
    enum class Icon { Enabled, Disabled };

    virtual ~AgentView() = default;

    // The owner of the agent's message boxes.
    virtual Desktop::WindowRef Owner() const = 0;
    virtual void ShowIcon(Icon icon) = 0;
    virtual void SetTip(const std::string& text) = 0;
    // The spinning ring: IDI_ANIMATION_FIRST to IDI_ANIMATION_LAST, 250 ms each, for 300 seconds.
    virtual void StartAnimation() = 0;
    virtual void EndAnimation() = 0;
    // Setting a timer that runs replaces it.
    virtual void SetTimer(UINT id, UINT periodMs) = 0;
};
