#pragma once
#include "common/ProductInfo.h"
#include "configurator/ApplySwitches.h"
#include "win32/Desktop.h"
#include "win32/Registry.h"

// Which window a configurator start leads to.
enum class StartupOutcome {
    End,
    ShowAbout,
    ShowKeepAlive,
    OpenMainWindow,
    OpenMainWindowHidden,
    ApplyUnattended,
    // "/apply" followed by a switch it does not know: nothing at all is done.
    UnknownApplySwitch
};

// The configurator's start-up up to its first window: the switch word, the
// silent restore of the uninstaller, the agent launch and the permission
// guards. Every refusal has shown its own message when End comes back; the
// unattended Apply shows none, and checks its guards itself.
class ConfiguratorStartup {
public:
    ConfiguratorStartup(Registry& registry, Desktop& desktop, ProductInfo& product);

    StartupOutcome Run();
    // After Run: what followed "/apply".
    const ApplySwitches& Switches() const { return switches_; }
    // Launches zarwatch.exe /auto from the install folder; false after the
    // "Missing files" box (error 00102).
    bool StartAgent();
    // The same without any message: for the unattended Apply, whose result
    // does not depend on the agent.
    void StartAgentQuietly();

private:
    Registry* registry_;
    Desktop* desktop_;
    ProductInfo* product_;
    ApplySwitches switches_;
};
