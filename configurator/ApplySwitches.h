#pragma once
#include <string>

// What follows "/apply" on the configurator's command line. Read from the
// command line as it came, so that the report's file keeps its case, and
// may be quoted to hold blanks: /log:"\\server\logs\logon apply.txt".
struct ApplySwitches {
    // False for anything but one "/log:" with a file: nothing is applied then.
    bool known = true;
    // Empty without "/log:".
    std::string logPath;

    // Arguments are apart by blanks outside quotes, and lose their quotes;
    // the switches are the arguments after the one holding the first "/".
    static ApplySwitches Read(const std::string& commandLine);
};
