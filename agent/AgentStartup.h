#pragma once
#include "common/AgentNotice.h"
#include "common/ProductInfo.h"

// The agent's start-up before its window exists. Only one copy runs per
// desktop: a second one ends, silently when its switch word is "auto", else
// after "Kavrel is already running.". A first copy puts back an autodial
// setting that a killed predecessor left off and registers for automatic
// start. True when this copy goes on to create its window.
bool PrepareAgentStart(ProductInfo& product, Registry& registry, Desktop& desktop);
