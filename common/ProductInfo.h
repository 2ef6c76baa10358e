#pragma once
#include "common/SettingsStore.h"
#include "win32/Desktop.h"

#include <string>

// The product's identity and the small services both programs run around
// their windows. Messages go through the Desktop seam.
class ProductInfo {
public:
    static constexpr const char* kProductName = "Zarvo 2003";

    ProductInfo(Registry& registry, Desktop& desktop);

    std::string ProductName() const { return kProductName; }
    std::string ProductVersion() const { return "v5.4"; }
    // The text after the first "/" of the command line, lower case, quotes
    // turned into spaces, trimmed; empty without a "/".
    std::string SwitchWord() const;
    // Ends with a backslash; the empty text after the "Severe Error" message.
    std::string InstallFolder() const;
    // The same, but empty without a message: for asking often, quietly.
    std::string StoredInstallFolder() const;
    void ShowHelpTopic(const std::string& helpFile, const std::string& keyword) const;
    // False after the "Permissions Error" message when the machine-wide Run
    // key refuses write access; any other outcome counts as permission.
    bool CanWriteMachineSettings() const;
    // The same test without the message.
    bool HasMachineWriteAccess() const;
    bool IsLargeFontDisplay() const;
    bool NoWindowTitled(const std::string& title) const;
    // Writes "Detect" = quoted program path + switchText under the Run and
    // RunServices keys that exist.
    void RegisterAutostart(const std::string& switchText) const;
    // The text of the "Missing files" box for an error code such as "00102".
    std::string MissingFilesText(const std::string& errorCode) const;

    SettingsStore& Store() { return store_; }

private:
    Registry* registry_;
    Desktop* desktop_;
    SettingsStore store_;
};
