#include "agent/CZarwatchApp.h"

#include "agent/AgentStartup.h"

namespace zarwatch {

CZarwatchApp::CZarwatchApp() : product_(registry_, desktop_) {}

bool CZarwatchApp::InitInstance() {
    if (!PrepareAgentStart(product_, registry_, desktop_)) return false;
    mainFrame_ = std::make_unique<CMainFrame>(product_, registry_, internet_, desktop_, logFiles_);
    return mainFrame_->CreateHidden();
}

}  // namespace zarwatch
