#include "tuning/RegistryBackup.h"

namespace {

struct Instructions {
    const char* osName;
    const char* text;
};

const Instructions kInstructions[] = {
    {"Windows NT",
     "In order to backup your registry file we recommend\nto use Windows NT build in backup program (RDISK).\n\n"
     "1. Insert a floppy disk into drive A: \n2. Go to 'Start'  -> 'Run'\n3. Write  rdisk.exe /s  and press Enter "
     "key.\n4. Answer 'Yes' to the 'Make An Emergency Repair Disk' question.  "},
    {"Windows 2000",
     "In order to backup your registry file we recommend\nto use Windows 2000 build in backup program.\n\n"
     "1. Click Start, point to Programs, point to Accessories,\n    point to System Tools, and then click Backup.\n"
     "2. On the Tools menu, click Create an Emergency Repair Disk.\n"
     "3. Insert a blank, formatted disk in drive A, and then click OK."},
    {"Windows XP",
     "In order to backup your registry file we recommend\nto use Windows XP build in backup program.\n\n"
     "1. Click Start, point to Programs, point to Accessories,\n    point to System Tools, and then click Backup.\n"
     "2. On the Tools menu, click Create ASR Wizard.\n3. Follow the instructions that appear on your screen."},
};

const char* const kRegistryFiles[] = {"system.dat", "user.dat"};

}  // namespace

std::string RegistryBackupInstructions(const std::string& osName) {
    for (const Instructions& entry : kInstructions) {
        if (osName == entry.osName) return entry.text;
    }
    return std::string();
}

RegistryBackupPlan PlanRegistryBackup(const std::string& windowsDirectory, const std::string& installFolder) {
    RegistryBackupPlan plan;
    std::string windows = windowsDirectory;
    if (windows.empty() || windows.back() != '\\') windows += '\\';
    plan.folder = installFolder + "RegBak";
    for (const char* name : kRegistryFiles) {
        const std::string destination = plan.folder + "\\" + name;
        plan.files.push_back({windows + name, destination + ".new", destination});
    }
    return plan;
}

RegistryBackupMessage RegistryBackupResult(const RegistryBackupPlan& plan, const std::vector<BackupFailure>& failed) {
    if (failed.empty()) return {"Registry backup was successfully created. ", MB_ICONINFORMATION};
    std::string text = "Registry backup could not copy into " + plan.folder + ":\n";
    for (const BackupFailure& file : failed) {
        text += "\n" + file.source;
        if (file.olderKept) text += " (RegBak still holds its older copy)";
    }
    return {text, MB_ICONEXCLAMATION};
}
