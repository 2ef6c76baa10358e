#include "configurator/LinkOpener.h"

#include "win32/RegKey.h"

namespace {

constexpr DWORD kValueBufferSize = 260;

}  // namespace

std::intptr_t LinkOpener::OpenLink(const std::string& target, int show) const {
    const std::intptr_t shellResult = desktop_->ShellExecuteFile(0, "open", target, "", "", show);
    if (shellResult > 32) return shellResult;

    std::string fileType;
    if (ReadDefaultRegValue(RegRoot::ClassesRoot, ".htm", &fileType) != ERROR_SUCCESS) return shellResult;
    std::string command;
    if (ReadDefaultRegValue(RegRoot::ClassesRoot, fileType + "\\shell\\open\\command", &command) != ERROR_SUCCESS) {
        return shellResult;
    }
    return desktop_->RunCommandLine(CommandBeforePlaceholder(command) + " " + target, show);
}

LONG LinkOpener::ReadDefaultRegValue(RegRoot root, const std::string& subkey, std::string* text) const {
    RegKey key(*registry_);
    const LONG opened = key.Open(root, subkey, KEY_QUERY_VALUE);
    if (opened != ERROR_SUCCESS) return opened;
    // Of whatever type, as RegQueryValueA reads it.
    LONG queried = ERROR_SUCCESS;
    const auto read = key.QueryDataAsText("", kValueBufferSize, &queried);
    if (!read) return queried;
    *text = *read;
    return ERROR_SUCCESS;
}

std::string LinkOpener::CommandBeforePlaceholder(const std::string& commandLine) {
    std::size_t cut = commandLine.find("\"%1\"");
    if (cut == std::string::npos) cut = commandLine.find("%1");
    return cut == std::string::npos ? commandLine : commandLine.substr(0, cut);
}

std::string LinkOpener::ErrorText(std::intptr_t code) {
    switch (code) {
    case 0: return "The operating system is out\nof memory or resources.";
    case 2: return "The specified file was not found.";
    case 3: return "The specified path was not found.";
    case 5: return "The operating system denied\naccess to the specified file.";
    case 8: return "There was not enough memory to complete the operation.";
    case 11: return "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).";
    case 26: return "A sharing violation occurred. ";
    case 27: return "The filename association is\nincomplete or invalid.";
    case 28: return "The DDE transaction could not\nbe completed because the request timed out.";
    case 29: return "The DDE transaction failed.";
    case 30: return "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed.";
    case 31: return "There is no application associated\nwith the given filename extension.";
    case 32: return "The specified dynamic-link library was not found.";
    default: return "Unknown Error (" + std::to_string(code) + ") occurred.";
    }
}

std::string LinkOpener::FailureMessage(std::intptr_t code) {
    return "Unable to open hyperlink:\n\n" + ErrorText(code);
}
