#pragma once
#include "common/ProductInfo.h"
#include "win32/Desktop.h"
#include "win32/LogFiles.h"

#include <string>

// Writes the agent's events to its log in the install folder (see
// common/KeepAliveLog.h), opening and closing the file for each line so that
// the configurator may read it at any time. Nothing here waits or complains:
// a line that cannot be written is lost, and the next event tries again.
class AgentLog {
public:
    AgentLog(ProductInfo& product, Desktop& desktop, LogFiles& files);

    // One line; a log that this line would take past 64 KB is turned over first.
    void Write(const std::string& text);

private:
    ProductInfo* product_;
    Desktop* desktop_;
    LogFiles* files_;
};
