#include "configurator/ApplyReport.h"

#include "common/NumberText.h"
#include "configurator/TuningApply.h"
#include "tuning/OsName.h"

namespace {

// The README's words for each exit code.
std::string Meaning(int exitCode) {
    switch (exitCode) {
    case 0: return "applied";
    case TuningApply::kExitNoConfiguration: return "no file or invalid manual values";
    case TuningApply::kExitNoRights: return "no rights to the machine-wide keys";
    case TuningApply::kExitNoRecord: return "no previous-settings record could be kept";
    case TuningApply::kExitNoInstallFolder: return "install folder unknown";
    default: return "refused by the registry";
    }
}

}  // namespace

ApplyReport::ApplyReport(Desktop& desktop, LogFiles& files) : desktop_(&desktop), files_(&files) {}

int ApplyReport::Write(const std::string& path, int exitCode, const TuningCounts& counts) {
    const std::string line =
        Line(desktop_->CurrentTime(), desktop_->ComputerName(), GetOsName(*desktop_), exitCode, counts);
    const DWORD start = files_->Milliseconds();
    LogFiles::Appended appended = files_->Append(path, line);
    while (appended == LogFiles::Appended::Busy && files_->Milliseconds() - start < kLongestWaitMs) {
        files_->PauseBriefly();
        appended = files_->Append(path, line);
    }
    return exitCode == 0 && appended != LogFiles::Appended::Written ? kExitNotReported : exitCode;
}

std::string ApplyReport::Line(const LocalTime& time, const std::string& computer, const std::string& windows,
                              int exitCode, const TuningCounts& counts) {
    return DateTimeText(time, true) + "  " + computer + "  " + windows + "  " + std::to_string(exitCode) + " " +
           Meaning(exitCode) + "  " + std::to_string(counts.written) + " written, " + std::to_string(counts.refused) +
           " refused\r\n";
}
