#pragma once
#include "agent/AgentLog.h"
#include "agent/AgentView.h"
#include "common/AgentNotice.h"
#include "common/ProductInfo.h"
#include "common/SettingsStore.h"
#include "common/Vendor.h"
#include "win32/Internet.h"
#include "win32/LogFiles.h"

#include <cstdint>
#include <string>

// The keep-alive agent's decisions: its settings, the enabled and online
// flags, what each timer tick and tray menu command does, and what of it goes
// into the log. CMainFrame feeds it the window's messages and shows the
// results through AgentView.
class KeepAliveAgent {
public:
    static constexpr UINT kConnectionTimer = 1;
    static constexpr UINT kKeepAliveTimer = 2;
    static constexpr UINT kConnectionPeriodMs = 40000;

    KeepAliveAgent(ProductInfo& product, Registry& registry, Internet& internet, Desktop& desktop, LogFiles& files,
                   AgentView& view);

    // Reads the keep-alive settings; a never-saved set animates.
    void ReloadSettings();
    // Once the tray icon exists: its tooltip, the first-run settings, the timers.
    void Start();
    // The window goes, or the session ends: the log says so, once.
    void End();
    void OnTimer(UINT id);
    // Message 1112: only wParam 123 with lParam 123 counts.
    void OnSettingsChanged(std::uintptr_t wParam, std::intptr_t lParam);
    // A tray menu command; false when the id is not one.
    bool OnCommand(UINT id);
    void RefreshTrayTip();

    // The text of the Disable/Enable item.
    const char* DisableItemText() const { return enabled_ ? "Disable" : "Enable"; }
    bool Enabled() const { return enabled_; }
    bool Online() const { return online_; }
    UINT KeepAlivePeriodMs() const;
    // "Zarvo_2003_v5.4_tray": the ?ref= tag of the vendor pages.
    std::string ReferenceTag() const;

private:
    struct Command;
    static const Command kCommands[];

    void WriteFirstRunSettings();
    void Reenable();
    // True when the request got through; a change of the line is logged.
    bool Ping();
    void KeepAlive();
    void PlayPingSound();
    void OpenConfigurator(const std::string& parameters);
    void OpenProductFile(const std::string& file, const std::string& parameters, const std::string& errorCode);
    void OpenVendorPage(vendor::Page page);

    void OnOpen();
    void OnEvertie();
    void OnSimulate();
    void OnWebSite();
    void OnSupport();
    void OnFeedback();
    void OnRecommend();
    void OnFaq();
    void OnAbout();
    void OnHelp();
    void OnToggleEnabled();

    ProductInfo* product_;
    Registry* registry_;
    Internet* internet_;
    Desktop* desktop_;
    AgentView* view_;
    SettingsStore store_;
    AgentLog log_;

    bool enabled_ = true;
    bool online_ = false;
    bool requestsFailing_ = false;
    bool ended_ = false;
    int pingInterval_ = 0;
    int pingSound_ = 0;
    int trayAnimation_ = 0;
};
