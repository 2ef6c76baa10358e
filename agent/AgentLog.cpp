#include "agent/AgentLog.h"

#include "common/KeepAliveLog.h"

AgentLog::AgentLog(ProductInfo& product, Desktop& desktop, LogFiles& files)
    : product_(&product), desktop_(&desktop), files_(&files) {}

void AgentLog::Write(const std::string& text) {
    const std::string folder = product_->StoredInstallFolder();
    if (folder.empty()) return;
    const std::string path = folder + KeepAliveLog::kFileName;
    const std::string line = KeepAliveLog::Line(desktop_->CurrentTime(), text);
    // When the turnover fails, the line still goes into the longer log.
    if (files_->Size(path) + line.size() > KeepAliveLog::kMostBytes) {
        files_->TurnOver(path, folder + KeepAliveLog::kOlderFileName);
    }
    files_->Append(path, line);
}
