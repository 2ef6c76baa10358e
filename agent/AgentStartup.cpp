#include "agent/AgentStartup.h"

#include "common/CActivityPinger.h"

bool PrepareAgentStart(ProductInfo& product, Registry& registry, Desktop& desktop) {
    if (!product.NoWindowTitled(kAgentWindowTitle)) {
        if (product.SwitchWord() != "auto") {
            desktop.ShowMessageBox(0, "Kavrel is already running.", product.ProductName() + " - Kavrel",
                                   MB_ICONEXCLAMATION);
        }
        return false;
    }
    CActivityPinger::RestoreAutodial(registry);
    product.RegisterAutostart(" /auto");
    return true;
}
