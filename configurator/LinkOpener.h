#pragma once
#include "win32/Desktop.h"
#include "win32/Registry.h"

#include <cstdint>
#include <string>

// Opens web addresses, "mailto:" addresses and files for the hyperlinks.
// When the shell can't open a target, the browser registered for ".htm"
// files is started directly with the target on its command line.
class LinkOpener {
public:
    LinkOpener(Desktop& desktop, Registry& registry) : desktop_(&desktop), registry_(&registry) {}

    // The shell's result code (or WinExec's, after the fallback); above 32 is
    // success. When the fallback can't find a browser the shell's code stays.
    std::intptr_t OpenLink(const std::string& target, int show) const;
    // The unnamed value of root\subkey, read as RegQueryValueA reads it into
    // a 260-byte buffer. 0 on success, else the open or query error; *text
    // is left alone on failure.
    LONG ReadDefaultRegValue(RegRoot root, const std::string& subkey, std::string* text) const;

    // The command line up to the first "%1" in double quotes, else up to the
    // first bare "%1", else whole.
    static std::string CommandBeforePlaceholder(const std::string& commandLine);
    // The text for a shell result code that means failure.
    static std::string ErrorText(std::intptr_t code);
    // The whole message shown for a failed opening.
    static std::string FailureMessage(std::intptr_t code);

private:
    Desktop* desktop_;
    Registry* registry_;
};
