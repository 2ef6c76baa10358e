#pragma once
#include "agent/AgentView.h"

#include <map>
#include <string>
#include <vector>

// Records what the agent shows, in order, as short lines.
class FakeAgentView : public AgentView {
public:
    Desktop::WindowRef Owner() const override { return 0x4242; }
    void ShowIcon(Icon icon) override { log.push_back(icon == Icon::Enabled ? "icon enabled" : "icon disabled"); }
    void SetTip(const std::string& text) override { log.push_back("tip " + text); }
    void StartAnimation() override { log.push_back("animate"); }
    void EndAnimation() override { log.push_back("end animation"); }
    void SetTimer(UINT id, UINT periodMs) override { timers[id] = periodMs; }

    std::vector<std::string> log;
    std::map<UINT, UINT> timers;
};
