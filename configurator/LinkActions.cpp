#include "configurator/LinkActions.h"

#include "common/Vendor.h"

LinkAction LinkActionForKey(const std::string& key, const std::string& productName, const std::string& version) {
    if (key == linkkey::kHomePage) {
        return {LinkActionKind::OpenTarget, vendor::Address(vendor::Page::Home, productName, version, "about")};
    }
    if (key == linkkey::kSupportMail) {
        return {LinkActionKind::OpenTarget, vendor::Address(vendor::Page::AboutMail, productName, version, "about")};
    }
    static const struct {
        const char* key;
        const char* keyword;
    } kHelpKeys[] = {
        {linkkey::kMtu, "MTU (Maximum Transmission Unit)"},
        {linkkey::kRwin, "RWIN (Receive Window)"},
        {linkkey::kTtl, "TTL (Time To Live)"},
        {linkkey::kKeepAlive, "Session Keep Alive"},
        {linkkey::kGeneral, "PMTU (Path Maximum Transmission Unit)"},
        {linkkey::kNdiCache, "NDI Cache"},
    };
    for (const auto& entry : kHelpKeys) {
        if (key == entry.key) return {LinkActionKind::ShowHelp, entry.keyword};
    }
    return {};
}
