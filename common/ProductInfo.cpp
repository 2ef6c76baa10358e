#include "common/ProductInfo.h"

#include "common/MessageBoxes.h"
#include "common/Vendor.h"
#include "win32/RegKey.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr const char* kRunKey = "SOFTWARE\\MICROSOFT\\WINDOWS\\CurrentVersion\\Run";
constexpr const char* kRunServicesKey = "SOFTWARE\\MICROSOFT\\WINDOWS\\CurrentVersion\\RunServices";

std::string QuotesToSpacesTrimmed(std::string text) {
    std::replace(text.begin(), text.end(), '"', ' ');
    const auto isSpace = [](unsigned char c) { return std::isspace(c) != 0; };
    const auto first = std::find_if_not(text.begin(), text.end(), isSpace);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), isSpace).base();
    return first < last ? std::string(first, last) : std::string();
}

}  // namespace

ProductInfo::ProductInfo(Registry& registry, Desktop& desktop)
    : registry_(&registry), desktop_(&desktop), store_(registry) {}

std::string ProductInfo::SwitchWord() const {
    std::string line = desktop_->CommandLine();
    std::transform(line.begin(), line.end(), line.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const std::size_t slash = line.find('/');
    if (slash == std::string::npos) return std::string();
    return QuotesToSpacesTrimmed(line.substr(slash + 1));
}

std::string ProductInfo::StoredInstallFolder() const {
    std::string folder = store_.ReadString("Install", "Folder", "", false);
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    return folder;
}

std::string ProductInfo::InstallFolder() const {
    const std::string folder = StoredInstallFolder();
    if (folder.empty()) {
        MessageBoxes(*desktop_).StartupError(" - Severe Error", "Missing registry information, please re-install " +
                                                                    ProductName() +
                                                                    ".\nFor more information contact our support team <" +
                                                                    vendor::kSupportMail + ">.");
    }
    return folder;
}

void ProductInfo::ShowHelpTopic(const std::string& helpFile, const std::string& keyword) const {
    const std::string folder = InstallFolder();
    if (folder.empty()) return;
    desktop_->OpenHelp(0, folder + helpFile, HELP_KEY, keyword);
}

bool ProductInfo::HasMachineWriteAccess() const {
    RegKey run(*registry_);
    return run.Open(RegRoot::LocalMachine, kRunKey, KEY_WRITE) != ERROR_ACCESS_DENIED;
}

bool ProductInfo::CanWriteMachineSettings() const {
    if (HasMachineWriteAccess()) return true;
    const std::string name = ProductName();
    MessageBoxes(*desktop_).StartupError(
        " Permissions Error",
        name + " accelerates the Internet connection for all this computer's users,\n"
               "but only the computer's Administrator or a user which has an administrative rights on this\n"
               "computer can run the configuration program.\n\n"
               "Please login as Administrator or as a user which has an administrative rights and you will\n"
               "be able to modify " +
            name + " configuration.",
        0);
    return false;
}

bool ProductInfo::IsLargeFontDisplay() const { return desktop_->DesktopLogPixelsX() == 120; }

bool ProductInfo::NoWindowTitled(const std::string& title) const { return desktop_->FindWindowTitled(title) == 0; }

void ProductInfo::RegisterAutostart(const std::string& switchText) const {
    const std::string line = desktop_->CommandLine();
    const std::size_t exe = line.find(".exe");
    const std::string path =
        exe == std::string::npos ? desktop_->ModulePath() : QuotesToSpacesTrimmed(line.substr(0, exe + 4));
    // Quoted, so that a path with spaces can't start a planted "C:\Program.exe".
    const std::string command = "\"" + path + "\"" + switchText;
    for (const char* keyPath : {kRunKey, kRunServicesKey}) {
        RegKey key(*registry_);
        if (key.Open(RegRoot::LocalMachine, keyPath, KEY_WRITE) == ERROR_SUCCESS) key.SetString("Detect", command);
    }
}

std::string ProductInfo::MissingFilesText(const std::string& errorCode) const {
    const std::string name = ProductName();
    return "You are using a CORRUPTED copy of " + name +
           ".\n\nIn order to fix this problem, all you have to do is to reinstall " + name +
           ". \n\nIf after your second installation the problem persists, please contact\nour support team (" +
           vendor::kSupportMail + ") and specify that your error code is " + errorCode + ".";
}
