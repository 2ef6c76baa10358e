#include "agent/KeepAliveAgent.h"

#include "common/CActivityPinger.h"
#include "common/KeepAliveLog.h"
#include "common/MessageBoxes.h"
#include "common/KeepAliveSettings.h"
#include "common/Vendor.h"
#include "resources/zarwatch_ids.h"

#include <algorithm>

namespace {

// The configurator offers intervals of 1 to 60 minutes; anything else in the
// registry is damage, and must not overflow the period.
constexpr int kLongestInterval = 59;

// Where the vendor's pages see the tray menu's links come from.
constexpr const char* kTrayPlace = "tray";

}  // namespace

struct KeepAliveAgent::Command {
    UINT id;
    bool reenables;
    void (KeepAliveAgent::*handler)();
};

const KeepAliveAgent::Command KeepAliveAgent::kCommands[] = {
    {ID_TRAY_OPEN, true, &KeepAliveAgent::OnOpen},
    {ID_TRAY_EVERTIE, true, &KeepAliveAgent::OnEvertie},
    {ID_TRAY_SIMULATE, true, &KeepAliveAgent::OnSimulate},
    {ID_TRAY_WEBSITE, true, &KeepAliveAgent::OnWebSite},
    {ID_TRAY_SUPPORT, true, &KeepAliveAgent::OnSupport},
    {ID_TRAY_FEEDBACK, false, &KeepAliveAgent::OnFeedback},
    {ID_TRAY_RECOMMEND, false, &KeepAliveAgent::OnRecommend},
    {ID_TRAY_FAQ, false, &KeepAliveAgent::OnFaq},
    {ID_TRAY_ABOUT, true, &KeepAliveAgent::OnAbout},
    {ID_TRAY_HELP, true, &KeepAliveAgent::OnHelp},
    {ID_TRAY_DISABLE, false, &KeepAliveAgent::OnToggleEnabled},
};

KeepAliveAgent::KeepAliveAgent(ProductInfo& product, Registry& registry, Internet& internet, Desktop& desktop,
                               LogFiles& files, AgentView& view)
    : product_(&product),
      registry_(&registry),
      internet_(&internet),
      desktop_(&desktop),
      view_(&view),
      store_(registry),
      log_(product, desktop, files) {}

void KeepAliveAgent::ReloadSettings() {
    const KeepAliveSettings settings = KeepAliveSettings::Load(store_);
    pingInterval_ = settings.interval;
    pingSound_ = settings.sound;
    if (settings.mode.empty()) {
        // Never configured: the first-run settings animate.
        trayAnimation_ = 1;
        return;
    }
    trayAnimation_ = settings.animation;
    if (trayAnimation_ == 0) {
        view_->EndAnimation();
        view_->ShowIcon(AgentView::Icon::Enabled);
    }
}

void KeepAliveAgent::Start() {
    log_.Write(KeepAliveLog::kStarted);
    RefreshTrayTip();
    KeepAliveSettings settings = KeepAliveSettings::Load(store_);
    if (settings.mode.empty()) {
        WriteFirstRunSettings();
        settings = KeepAliveSettings::Load(store_);
    }
    pingInterval_ = settings.interval;
    view_->SetTimer(kConnectionTimer, kConnectionPeriodMs);
    view_->SetTimer(kKeepAliveTimer, KeepAlivePeriodMs());
}

// "PingMode" reads empty. When only it was damaged, the values beside it are
// still the user's: the first-run values fill in only what is missing.
void KeepAliveAgent::WriteFirstRunSettings() {
    store_.WriteString(kKeepAliveSection, KeepAliveSettings::kModeName, "Automatic", true);
    const struct {
        const char* name;
        const char* value;
    } kFirstRun[] = {{KeepAliveSettings::kHostName, "Automatic"},
                     {KeepAliveSettings::kIntervalName, "4"},
                     {KeepAliveSettings::kSoundName, "0"},
                     {KeepAliveSettings::kAnimationName, "1"}};
    for (const auto& setting : kFirstRun) {
        if (!store_.Contains(kKeepAliveSection, setting.name, true)) {
            store_.WriteString(kKeepAliveSection, setting.name, setting.value, true);
        }
    }
}

void KeepAliveAgent::End() {
    if (ended_) return;
    ended_ = true;
    log_.Write(KeepAliveLog::kEnded);
}

UINT KeepAliveAgent::KeepAlivePeriodMs() const {
    const int interval = std::clamp(pingInterval_, 0, kLongestInterval);
    return static_cast<UINT>(interval) * 60000u + 63000u;
}

void KeepAliveAgent::OnTimer(UINT id) {
    if (id == kConnectionTimer) {
        if (!enabled_ || trayAnimation_ == 0) return;
        Ping();
        RefreshTrayTip();
        if (online_) {
            view_->StartAnimation();
        } else {
            view_->EndAnimation();
            view_->ShowIcon(AgentView::Icon::Enabled);
        }
    } else if (id == kKeepAliveTimer) {
        if (!enabled_) return;
        KeepAlive();
        if (online_ && pingSound_ == 1) PlayPingSound();
    }
}

void KeepAliveAgent::OnSettingsChanged(std::uintptr_t wParam, std::intptr_t lParam) {
    if (wParam != kSettingsChangedWParam || lParam != kSettingsChangedLParam) return;
    ReloadSettings();
    view_->SetTimer(kKeepAliveTimer, KeepAlivePeriodMs());
    log_.Write(KeepAliveLog::kSettingsReloaded);
}

bool KeepAliveAgent::OnCommand(UINT id) {
    for (const Command& command : kCommands) {
        if (command.id != id) continue;
        if (command.reenables) Reenable();
        (this->*command.handler)();
        return true;
    }
    return false;
}

void KeepAliveAgent::RefreshTrayTip() {
    view_->SetTip(online_ ? product_->ProductName() + " - Working" : product_->ProductName());
}

std::string KeepAliveAgent::ReferenceTag() const {
    return vendor::ReferenceTag(product_->ProductName(), product_->ProductVersion(), kTrayPlace);
}

void KeepAliveAgent::Reenable() {
    if (enabled_) return;
    enabled_ = true;
    log_.Write(KeepAliveLog::kEnabled);
    view_->ShowIcon(AgentView::Icon::Enabled);
    RefreshTrayTip();
}

// Any request tells whether the line is up: with the animation off, the
// connection check makes none.
bool KeepAliveAgent::Ping() {
    CActivityPinger pinger(*registry_, *internet_);
    const bool reached = pinger.Ping(CActivityPinger::kDefaultAddress);
    if (reached != online_) log_.Write(reached ? KeepAliveLog::kLineUp : KeepAliveLog::kLineDown);
    online_ = reached;
    return reached;
}

// Only the first failure and the first request that works after failures are logged.
void KeepAliveAgent::KeepAlive() {
    const bool failed = !Ping();
    if (failed == requestsFailing_) return;
    requestsFailing_ = failed;
    log_.Write(std::string(failed ? KeepAliveLog::kRequestFailed : KeepAliveLog::kRequestWorked) +
               CActivityPinger::kDefaultAddress);
}

void KeepAliveAgent::PlayPingSound() {
    const std::string folder = product_->InstallFolder();
    if (!folder.empty()) desktop_->PlaySoundFile(folder + "ping.wav", SND_ASYNC);
}

void KeepAliveAgent::OpenConfigurator(const std::string& parameters) {
    OpenProductFile("zartune.exe", parameters, "00103");
}

void KeepAliveAgent::OpenProductFile(const std::string& file, const std::string& parameters,
                                     const std::string& errorCode) {
    const std::string folder = product_->InstallFolder();
    if (folder.empty()) return;
    if (desktop_->ShellExecuteFile(0, "open", folder + file, parameters, "", SW_SHOWNORMAL) > 32) return;
    MessageBoxes(*desktop_, view_->Owner()).StartupError(" - Missing files", product_->MissingFilesText(errorCode));
}

void KeepAliveAgent::OpenVendorPage(vendor::Page page) {
    const std::string address =
        vendor::Address(page, product_->ProductName(), product_->ProductVersion(), kTrayPlace);
    desktop_->ShellExecuteFile(0, "open", address, "", "", SW_SHOWNORMAL);
}

void KeepAliveAgent::OnOpen() { OpenConfigurator(""); }
void KeepAliveAgent::OnEvertie() { OpenConfigurator("/ping"); }
void KeepAliveAgent::OnAbout() { OpenConfigurator("/about"); }
void KeepAliveAgent::OnHelp() { OpenProductFile("zartune.hlp", "", "00104"); }

void KeepAliveAgent::OnSimulate() {
    PlayPingSound();
    Ping();
}

void KeepAliveAgent::OnWebSite() { OpenVendorPage(vendor::Page::Home); }
void KeepAliveAgent::OnRecommend() { OpenVendorPage(vendor::Page::Recommend); }
void KeepAliveAgent::OnFaq() { OpenVendorPage(vendor::Page::Faq); }
void KeepAliveAgent::OnSupport() { OpenVendorPage(vendor::Page::SupportMail); }
void KeepAliveAgent::OnFeedback() { OpenVendorPage(vendor::Page::FeedbackMail); }

void KeepAliveAgent::OnToggleEnabled() {
    enabled_ = !enabled_;
    log_.Write(enabled_ ? KeepAliveLog::kEnabled : KeepAliveLog::kDisabled);
    if (enabled_) {
        view_->ShowIcon(AgentView::Icon::Enabled);
        RefreshTrayTip();
        return;
    }
    const std::string name = product_->ProductName();
    view_->EndAnimation();
    view_->ShowIcon(AgentView::Icon::Disabled);
    view_->SetTip(name + " - Evertie is disabled");
    desktop_->ShowMessageBox(view_->Owner(),
                             "You have only disabled the Evertie utility...\n\n" + name +
                                 " will continue boosting your Internet connection.\n"
                                 "In order to disable the connection acceleration you will have to run the "
                                 "uninstall program.",
                             name, MB_ICONINFORMATION | MB_SYSTEMMODAL);
}
