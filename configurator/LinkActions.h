#pragma once
#include <string>

// What a click on a hyperlink does, chosen by the link's key text.
enum class LinkActionKind { None, OpenTarget, ShowHelp };

struct LinkAction {
    LinkActionKind kind = LinkActionKind::None;
    // The address to open (OpenTarget) or the help keyword (ShowHelp).
    std::string text;
};

// The keys the configurator's links carry.
namespace linkkey {
constexpr const char* kHomePage = "Click in order to visit our Home Page";
constexpr const char* kSupportMail = "Click in order to send us an Email";
constexpr const char* kMtu = "Click for help on MTU settings...";
constexpr const char* kRwin = "Click for help on RWIN settings...";
constexpr const char* kTtl = "Click for help on TTL settings...";
constexpr const char* kKeepAlive = "Click for help on Session Keep Alive settings...";
constexpr const char* kGeneral = "Click for help on General settings...";
constexpr const char* kNdiCache = "Click for help on NDI Cache settings...";
}  // namespace linkkey

// The help file every help link opens.
constexpr const char* kLinkHelpFile = "zartune.hlp";

// The action of a key, matched exactly; unknown keys do nothing.
LinkAction LinkActionForKey(const std::string& key, const std::string& productName, const std::string& version);
