#include "configurator/ExplanationText.h"
#include "configurator/TuningController.h"
#include "resources/zartune_ids.h"
#include "common/KeepAliveSettings.h"
#include "configurator/ConfigurationFile.h"
#include "configurator/PreviousSettingsFile.h"
#include "configurator/SpeedHistory.h"
#include "tests/support/FakeConfiguratorFiles.h"
#include "tests/support/FakeDesktop.h"
#include "tests/support/FakeTuningView.h"
#include "tests/support/MemorySection.h"
#include "win32/MemoryRegistry.h"
#include "win32/RegKey.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <set>
#include <sstream>

namespace {

constexpr RegRoot kMachine = RegRoot::LocalMachine;
const std::string kTcpip = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";
const std::string kInterface = kTcpip + "\\Interfaces\\{A1}";
const std::string kMstcp = "System\\CurrentControlSet\\Services\\VxD\\MSTCP";
const std::string kInternet = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

const char kQuestion[] =
    "System changes were successful done.\n\nIn order to enjoy all the benefits of Zarvo 2003\n"
    "it's highly recommended to restart your computer.\n\nWould you like to restart your computer now?";
const char kReminder[] = "Keep in mind that you must restart your\ncomputer before the new settings become effective. ";

// A Windows 2000 machine with one TCP/IP interface, or a Windows 98 one.
struct Rig {
    explicit Rig(bool nt = true) {
        if (nt) {
            desktop.SetVersion(2, 5, 0);
            registry.AddKey(kMachine, kInterface);
        } else {
            desktop.SetVersion(1, 4, 10);
            registry.AddKey(kMachine, kMstcp);
        }
        registry.AddKey(kMachine, kTcpip);
        registry.AddKey(kMachine, kInternet);
        registry.PutString(kMachine, "SOFTWARE\\Orvenda Ltd\\Zarvo\\Install", "Folder", "C:\\Zarvo");
        Choose(2, 0);  // PPPoE, Automatic #1
        // What had been written by each event of the view.
        view.observe = [this](const std::string&) {
            writesAt.push_back(registry.WriteCount());
            fileWritesAt.push_back(ConfigWrites());
        };
    }
    // The user picks a connection type and a mode, as on the form; what that showed is forgotten.
    void Choose(int connectionType, int mode) {
        view.form.connectionType = connectionType;
        controller.OnConnectionTypeChosen(connectionType);
        view.form.mode = mode;
        controller.OnModeChosen(mode);
        view.events.clear();
        view.explanations.clear();
        writesAt.clear();
        fileWritesAt.clear();
    }
    std::string ConfigPath() const { return product.StoredInstallFolder() + ConfigurationFile::kFileName; }
    std::size_t ConfigWrites() {
        const auto found = files.sections.find(ConfigPath());
        return found == files.sections.end() ? 0 : found->second.writes.size();
    }
    std::optional<RegValue> Value(const std::string& path, const std::string& name) const {
        return registry.Value(kMachine, path, name);
    }

    std::string RecordPath() const { return product.StoredInstallFolder() + PreviousSettingsFile::kFileName; }
    PreviousSettingsFile Record() { return PreviousSettingsFile(files, RecordPath()); }
    std::string RecordText() const { return Read(RecordPath()); }
    std::string Read(const std::string& path) const {
        const auto found = files.wholeFiles.find(path);
        return found == files.wholeFiles.end() ? std::string() : found->second;
    }

    MemoryRegistry registry;
    FakeDesktop desktop;
    ProductInfo product{registry, desktop};
    FakeTuningView view;
    FakeConfiguratorFiles files;
    TuningController controller{product, registry, desktop, files, view};
    std::vector<int> writesAt;
    std::vector<std::size_t> fileWritesAt;
};

DWORD Number(const std::optional<RegValue>& value) {
    return value ? DwordOf(*value).value_or(0xFFFFFFFF) : 0xFFFFFFFF;
}

// Every value of the machine but the line speed test's record of Apply times, which no restore takes back.
std::string Tuned(const MemoryRegistry& registry) {
    std::istringstream lines(registry.Dump(kMachine));
    std::string tuned;
    for (std::string line; std::getline(lines, line);) {
        if (line.find("\\Line Speed\\") == std::string::npos) tuned += line + "\n";
    }
    return tuned;
}

TEST(TuningController, StepCountsFollowTheTable) {
    const std::pair<int, std::uint64_t> edges[] = {{0, 5000000},   {13, 5000000},  {14, 20000000}, {33, 20000000},
                                                   {34, 10000000}, {73, 10000000}, {74, 17000000}, {75, 20000000},
                                                   {83, 20000000}, {84, 1000000},  {99, 1000000}};
    for (const auto& edge : edges) EXPECT_EQ(edge.second, TuningApply::StepCount(edge.first)) << edge.first;
}

TEST(TuningController, AutomaticApplyExplainsRunsTheBarWritesOnceAtStep74AndAsks) {
    Rig rig;
    rig.desktop.messageBoxAnswers = {IDNO};
    rig.controller.ApplySettings();

    ASSERT_EQ(1u, rig.view.explanations.size());
    EXPECT_EQ("Cable/xDSL running PPPoE/PPTP", rig.view.explanations[0].caption);
    EXPECT_EQ(ExplanationText("AUTO1", "Automatic #1"), rig.view.explanations[0].text);

    // Explanation, bar, 100 steps, bar gone.
    std::vector<std::string> expected = {"explanation", "begin"};
    expected.insert(expected.end(), 100, "step");
    expected.push_back("end");
    EXPECT_EQ(expected, rig.view.events);
    ASSERT_EQ(100u, rig.view.stepCounts.size());
    EXPECT_EQ(1083000000u, std::accumulate(rig.view.stepCounts.begin(), rig.view.stepCounts.end(), std::uint64_t{0}));

    // The file and the registry are written once, between step 74's wait and step 75's.
    const std::size_t step74 = 2 + 73;
    EXPECT_EQ(0, rig.writesAt[step74]);
    EXPECT_EQ(0u, rig.fileWritesAt[step74]);
    EXPECT_GT(rig.writesAt[step74 + 1], 0);
    EXPECT_EQ(11u, rig.fileWritesAt[step74 + 1]);
    EXPECT_EQ(rig.writesAt[step74 + 1], rig.writesAt.back());
    EXPECT_EQ(rig.fileWritesAt[step74 + 1], rig.fileWritesAt.back());
    EXPECT_EQ(std::set<std::string>{rig.ConfigPath()}, rig.files.protectedPaths);

    EXPECT_EQ(1492u, Number(rig.Value(kInterface, "MTU")));
    EXPECT_EQ(255552u, Number(rig.Value(kTcpip, "TcpWindowSize")));
    EXPECT_EQ(16u, Number(rig.Value(kInternet, "MaxConnectionsPer1_0Server")));

    ASSERT_EQ(2u, rig.desktop.messageBoxes.size());
    EXPECT_EQ(kQuestion, rig.desktop.messageBoxes[0].text);
    EXPECT_EQ("Zarvo 2003", rig.desktop.messageBoxes[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONQUESTION), rig.desktop.messageBoxes[0].type);
    EXPECT_EQ(rig.view.owner, rig.desktop.messageBoxes[0].owner);
    EXPECT_EQ(kReminder, rig.desktop.messageBoxes[1].text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION), rig.desktop.messageBoxes[1].type);
    EXPECT_TRUE(rig.desktop.exitRequests.empty());
}

TEST(TuningController, YesRestartsWithThePrivilegeOnlyOnNt) {
    for (bool nt : {false, true}) {
        SCOPED_TRACE(nt ? "NT" : "9x");
        Rig rig(nt);
        rig.desktop.messageBoxAnswers = {IDYES};
        rig.controller.ApplySettings();
        EXPECT_EQ(1u, rig.desktop.messageBoxes.size());
        EXPECT_EQ(std::vector<UINT>{EWX_REBOOT}, rig.desktop.exitRequests);
        EXPECT_EQ(nt ? 1 : 0, rig.desktop.privilegeRequests);
    }
}

TEST(TuningController, RestartWithoutThePrivilegeAsksTheUserToRestart) {
    Rig rig;
    rig.desktop.privilegeWorks = false;
    rig.desktop.messageBoxAnswers = {IDYES};
    rig.controller.ApplySettings();
    ASSERT_EQ(2u, rig.desktop.messageBoxes.size());
    const FakeDesktop::MessageBoxCall& failure = rig.desktop.messageBoxes[1];
    EXPECT_EQ("Zarvo 2003 was unable to restart your \ncomputer automatically.\nPlease restart your computer manually.",
              failure.text);
    EXPECT_EQ("ERROR...", failure.caption);
    EXPECT_EQ(static_cast<UINT>(MB_ICONWARNING), failure.type);
    EXPECT_EQ(0u, failure.owner);
    EXPECT_TRUE(rig.desktop.exitRequests.empty());
}

TEST(TuningController, ManualApplyValidatesAndShowsNoExplanation) {
    Rig rig(false);
    rig.Choose(2, FormState::kManualMode);
    rig.view.form.ChooseCustom(Parameter::Ttl);
    rig.view.form.Pair(Parameter::Ttl).text = "99";
    rig.controller.ApplySettings();

    EXPECT_TRUE(rig.view.explanations.empty());
    EXPECT_EQ("begin", rig.view.events.front());
    // Windows 98 keeps these as texts.
    const std::optional<RegValue> ttl = rig.Value(kMstcp, "DefaultTTL");
    ASSERT_TRUE(ttl.has_value());
    EXPECT_EQ(REG_SZ, ttl->type);
    EXPECT_EQ(std::vector<BYTE>({'9', '9', 0}), ttl->data);
    EXPECT_EQ(kQuestion, rig.desktop.messageBoxes[0].text);
}

TEST(TuningController, ValidationFailureLeavesEverythingUntouched) {
    Rig rig;
    rig.Choose(2, FormState::kManualMode);
    rig.view.form.ChooseCustom(Parameter::Mtu);  // and typed nothing
    const std::string before = rig.registry.Dump(kMachine);
    rig.controller.ApplySettings();

    EXPECT_TRUE(rig.view.events.empty());
    EXPECT_EQ(0, rig.registry.WriteCount());
    EXPECT_EQ(before, rig.registry.Dump(kMachine));
    EXPECT_EQ(0u, rig.ConfigWrites());
    EXPECT_FALSE(rig.Record().Exists());
    ASSERT_EQ(1u, rig.desktop.messageBoxes.size());
    EXPECT_EQ("Invalid MTU value.\nYou chose the 'Custom' option without providing any value.",
              rig.desktop.messageBoxes[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), rig.desktop.messageBoxes[0].type);
    EXPECT_EQ(0u, rig.desktop.messageBoxes[0].owner);
}

TEST(TuningController, ValuesTheRegistryRefusesAreCountedInsteadOfReportingSuccess) {
    Rig rig;
    rig.registry.DenyAccess(kMachine, kTcpip, KEY_SET_VALUE);
    // A missing key stays silent, as adapters come and go.
    rig.registry.AddKey(kMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards\\1");
    rig.desktop.messageBoxAnswers = {IDNO};
    rig.controller.ApplySettings();

    ASSERT_EQ(2u, rig.desktop.messageBoxes.size());
    const FakeDesktop::MessageBoxCall& warning = rig.desktop.messageBoxes[0];
    EXPECT_EQ(0u, warning.text.find("8 of the new settings could not be written")) << warning.text;
    EXPECT_NE(std::string::npos, warning.text.find("Would you like to restart your computer now?"));
    EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONWARNING), warning.type);
    EXPECT_EQ(kReminder, rig.desktop.messageBoxes[1].text);
    // What could be written was.
    EXPECT_EQ(1492u, Number(rig.Value(kInterface, "MTU")));
    EXPECT_FALSE(rig.Value(kTcpip, "DefaultTTL").has_value());
}

TEST(TuningController, ApplyRequestIsCarriedOutOnceAtTheNextIdleUpdate) {
    Rig rig;
    rig.controller.ApplyIfRequested();
    EXPECT_TRUE(rig.view.events.empty());
    rig.controller.RequestApply();
    rig.controller.RequestApply();
    rig.desktop.messageBoxAnswers = {IDNO};
    rig.controller.ApplyIfRequested();
    rig.controller.ApplyIfRequested();
    EXPECT_EQ(1, std::count(rig.view.events.begin(), rig.view.events.end(), "begin"));
}

TEST(TuningController, CurrentSettingsShowsTheFormsChoicesWithoutAskingOrWriting) {
    Rig rig;
    EXPECT_TRUE(rig.controller.RunCommand(ID_TOOLS_CURRENT_SETTINGS));
    EXPECT_EQ("1492", rig.view.shownTable.Rows().at(0).afterApply);  // the interface's MTU
    // Manual, then Custom with nothing typed.
    rig.controller.OnModeChosen(FormState::kManualMode);
    rig.view.form.ChooseCustom(Parameter::Mtu);
    rig.controller.RunCommand(ID_TOOLS_CURRENT_SETTINGS);
    EXPECT_EQ("", rig.view.shownTable.Rows().at(0).afterApply);
    EXPECT_EQ(0u, rig.view.shownTable.Problem().find("Invalid MTU value."));
    EXPECT_TRUE(rig.desktop.messageBoxes.empty());
    EXPECT_EQ(0, rig.registry.WriteCount());
}

TEST(TuningController, CommandTable) {
    Rig rig;
    for (unsigned id : {ID_FILE_APPLY, ID_FILE_RESTORE, ID_CPL_NETWORK, ID_HELP_WEBSITE, ID_HELP_FEEDBACK,
                        ID_HELP_TOPICS, ID_APP_ABOUT}) {
        EXPECT_TRUE(rig.controller.OwnsCommand(id)) << id;
        EXPECT_TRUE(rig.controller.CommandEnabled(id)) << id;
    }
    // The frame's own commands, and the spacer without a handler.
    for (unsigned id : {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, ID_APP_EXIT, ID_TOOLBAR_SPACER}) {
        EXPECT_FALSE(rig.controller.OwnsCommand(id)) << id;
        EXPECT_FALSE(rig.controller.RunCommand(id)) << id;
    }

    // Launchers and vendor pages: what each starts or opens, and nothing else.
    const std::string applet = "rundll32.exe shell32.dll,Control_RunDLL ";
    const struct {
        unsigned id;
        std::vector<std::string> commandLines;
        const char* address;
    } starts[] = {
        {ID_CPL_SYSTEM, {applet + "Sysdm.cpl"}, nullptr},
        {ID_CPL_INTERNET, {applet + "Inetcpl.cpl"}, nullptr},
        {ID_CPL_MODEMS, {applet + "Modem.cpl"}, nullptr},
        {ID_CPL_NETWORK, {applet + "Ncpa.cpl", applet + "Netcpl.cpl"}, nullptr},
        {ID_HELP_WEBSITE, {}, "http://www.zarvo.example/?ref=Zarvo_2003_v5.4_mainmenu"},
        {ID_HELP_FAQ, {}, "http://www.zarvo.example/zv_faq.html?ref=Zarvo_2003_v5.4_mainmenu"},
        {ID_HELP_RECOMMEND, {}, "http://www.zarvo.example/recommend.html?ref=Zarvo_2003_v5.4_mainmenu"},
        {ID_HELP_SUPPORT, {}, "mailto:support@zarvo.example?subject=Question regarding Zarvo 2003 v5.4"},
        {ID_HELP_FEEDBACK, {}, "mailto:feedback@zarvo.example?subject=Zarvo 2003 v5.4 Feedback"},
    };
    for (const auto& start : starts) {
        rig.desktop.commandLines.clear();
        rig.desktop.shellCalls.clear();
        EXPECT_TRUE(rig.controller.RunCommand(start.id)) << start.id;
        EXPECT_EQ(start.commandLines, rig.desktop.commandLines) << start.id;
        ASSERT_EQ(start.address != nullptr ? 1u : 0u, rig.desktop.shellCalls.size()) << start.id;
        if (start.address != nullptr) {
            EXPECT_EQ(start.address, rig.desktop.shellCalls[0].file);
        }
    }
    EXPECT_TRUE(rig.view.events.empty());
    EXPECT_TRUE(rig.controller.RunCommand(ID_APP_ABOUT));
    EXPECT_EQ(std::vector<std::string>{"about"}, rig.view.events);

    rig.desktop.messageBoxAnswers = {IDNO};
    EXPECT_TRUE(rig.controller.RunCommand(ID_FILE_RESTORE));
    ASSERT_EQ(1u, rig.desktop.messageBoxes.size());
    EXPECT_EQ(0, rig.registry.WriteCount());
}

TEST(TuningController, RestoreOfWindowsDefaultsAsksFirstThenRemovesAndConfirms) {
    for (bool nt : {false, true}) {
        SCOPED_TRACE(nt ? "NT" : "9x");
        Rig rig(nt);
        rig.registry.PutDword(kMachine, nt ? kTcpip : kMstcp, "DefaultTTL", 64);
        rig.desktop.messageBoxAnswers = {IDNO};
        rig.controller.RestoreWindowsDefaults();
        EXPECT_EQ(0, rig.registry.WriteCount());

        rig.desktop.messageBoxAnswers = {IDYES};
        rig.controller.RestoreWindowsDefaults();
        EXPECT_FALSE(rig.Value(nt ? kTcpip : kMstcp, "DefaultTTL").has_value());
        ASSERT_EQ(3u, rig.desktop.messageBoxes.size());
        for (const FakeDesktop::MessageBoxCall& box : rig.desktop.messageBoxes) {
            EXPECT_EQ(0u, box.owner);
            EXPECT_EQ("Zarvo 2003", box.caption);
        }
        EXPECT_EQ("The program will restore all Windows default settings.\nWould you like to continue?",
                  rig.desktop.messageBoxes[1].text);
        EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2), rig.desktop.messageBoxes[1].type);
        EXPECT_EQ("Windows default settings were successfully restored.", rig.desktop.messageBoxes[2].text);
        EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION), rig.desktop.messageBoxes[2].type);
    }
}

TEST(TuningController, RestoreThatTheRegistryRefusesSaysSo) {
    Rig rig;
    rig.registry.PutDword(kMachine, kTcpip, "DefaultTTL", 128);
    rig.registry.DenyAccess(kMachine, kTcpip, KEY_SET_VALUE);
    rig.desktop.messageBoxAnswers = {IDYES};
    rig.controller.RestoreWindowsDefaults();
    ASSERT_EQ(2u, rig.desktop.messageBoxes.size());
    EXPECT_EQ(0u, rig.desktop.messageBoxes[1].text.find("8 setting(s) could not be removed"));
    EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), rig.desktop.messageBoxes[1].type);
    EXPECT_EQ(128u, Number(rig.Value(kTcpip, "DefaultTTL")));
}

TEST(TuningController, FirstApplyRecordsWhatItChangesLaterAppliesKeepItAndRestoreGivesItBack) {
    Rig rig;
    rig.registry.PutDword(kMachine, kInterface, "MTU", 1492);
    rig.registry.PutDword(kMachine, kTcpip, "DefaultTTL", 64);
    const std::string before = Tuned(rig.registry);
    EXPECT_TRUE(rig.controller.OwnsCommand(ID_FILE_RESTORE_PREVIOUS));
    EXPECT_FALSE(rig.controller.CommandEnabled(ID_FILE_RESTORE_PREVIOUS));

    rig.desktop.messageBoxAnswers = {IDNO};
    rig.controller.ApplySettings();
    EXPECT_TRUE(rig.controller.CommandEnabled(ID_FILE_RESTORE_PREVIOUS));
    const std::string record = rig.RecordText();
    EXPECT_EQ(0u, record.find("REGEDIT4\r\n; Zarvo 2003 settings before the first Apply: 11 values, "
                              "saved 2003-05-01 14:03\r\n"))
        << record;
    for (const char* line : {"\"MTU\"=dword:000005d4\r\n", "\"DefaultTTL\"=dword:00000040\r\n",
                             "\"TcpWindowSize\"=-\r\n", "\"MaxConnectionsPerServer\"=-\r\n"}) {
        EXPECT_NE(std::string::npos, record.find(line)) << line;
    }
    // Apply itself says what it always says.
    ASSERT_EQ(2u, rig.desktop.messageBoxes.size());
    EXPECT_EQ(kQuestion, rig.desktop.messageBoxes[0].text);

    // Another preset, a day later: the record still holds the first state.
    rig.desktop.now = {2003, 5, 2, 9, 30};
    rig.Choose(0, 2);
    rig.desktop.messageBoxAnswers = {IDNO};
    rig.controller.ApplySettings();
    EXPECT_EQ(record, rig.RecordText());
    ASSERT_NE(before, Tuned(rig.registry));

    rig.desktop.messageBoxes.clear();
    rig.desktop.messageBoxAnswers = {IDYES, IDNO};
    EXPECT_TRUE(rig.controller.RunCommand(ID_FILE_RESTORE_PREVIOUS));
    EXPECT_EQ(before, Tuned(rig.registry));
    EXPECT_FALSE(rig.Record().Exists());
    EXPECT_FALSE(rig.controller.CommandEnabled(ID_FILE_RESTORE_PREVIOUS));

    ASSERT_EQ(3u, rig.desktop.messageBoxes.size());
    const FakeDesktop::MessageBoxCall& question = rig.desktop.messageBoxes[0];
    EXPECT_EQ("The program will give back the settings you had before it first applied new ones.\n"
              "Would you like to continue?",
              question.text);
    EXPECT_EQ("Zarvo 2003", question.caption);
    EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2), question.type);
    EXPECT_EQ(rig.view.owner, question.owner);
    const FakeDesktop::MessageBoxCall& result = rig.desktop.messageBoxes[1];
    EXPECT_EQ("Your previous settings were successfully restored.\n\n"
              "They take effect when you restart your computer.\n\nWould you like to restart your computer now?",
              result.text);
    EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONQUESTION), result.type);
    EXPECT_EQ(rig.view.owner, result.owner);
    EXPECT_EQ(kReminder, rig.desktop.messageBoxes[2].text);
}

TEST(TuningController, RestoreOfPreviousSettingsAsksFirstCountsRefusalsAndKeepsTheRecord) {
    Rig rig(false);
    rig.registry.PutString(kMachine, kMstcp, "DefaultTTL", "64");
    rig.desktop.messageBoxAnswers = {IDNO};
    rig.controller.ApplySettings();
    const std::string record = rig.RecordText();
    const int writes = rig.registry.WriteCount();

    rig.desktop.messageBoxes.clear();
    rig.desktop.messageBoxAnswers = {IDNO};
    rig.controller.RestorePreviousSettings();
    EXPECT_EQ(1u, rig.desktop.messageBoxes.size());
    EXPECT_EQ(writes, rig.registry.WriteCount());

    rig.registry.DenyAccess(kMachine, kMstcp, KEY_SET_VALUE);
    rig.desktop.messageBoxes.clear();
    rig.desktop.messageBoxAnswers = {IDYES, IDYES};
    rig.controller.RestorePreviousSettings();
    ASSERT_EQ(2u, rig.desktop.messageBoxes.size());
    const FakeDesktop::MessageBoxCall& warning = rig.desktop.messageBoxes[1];
    EXPECT_EQ(0u, warning.text.find("6 of the previous settings could not be written back")) << warning.text;
    EXPECT_NE(std::string::npos, warning.text.find("The record is kept"));
    EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONWARNING), warning.type);
    // Yes restarts, as after Apply.
    EXPECT_EQ(std::vector<UINT>{EWX_REBOOT}, rig.desktop.exitRequests);
    EXPECT_EQ(record, rig.RecordText());
    EXPECT_TRUE(rig.controller.CommandEnabled(ID_FILE_RESTORE_PREVIOUS));
    // What could be written back was: the connection limits were absent.
    EXPECT_FALSE(rig.Value(kInternet, "MaxConnectionsPerServer").has_value());
}

TEST(TuningController, RestoringWindowsDefaultsLeavesTheRecordAlone) {
    Rig rig;
    rig.registry.PutDword(kMachine, kTcpip, "DefaultTTL", 64);
    rig.desktop.messageBoxAnswers = {IDNO};
    rig.controller.ApplySettings();
    const std::string record = rig.RecordText();
    rig.desktop.messageBoxAnswers = {IDYES};
    rig.controller.RestoreWindowsDefaults();
    EXPECT_FALSE(rig.Value(kTcpip, "DefaultTTL").has_value());
    EXPECT_EQ(record, rig.RecordText());
    EXPECT_TRUE(rig.controller.CommandEnabled(ID_FILE_RESTORE_PREVIOUS));
}

TEST(TuningController, ADamagedRecordIsNeitherUsedNorOverwritten) {
    Rig rig;
    const std::string damaged = "REGEDIT4\r\n; edited by hand\r\n";
    rig.files.wholeFiles[rig.RecordPath()] = damaged;
    EXPECT_TRUE(rig.controller.CommandEnabled(ID_FILE_RESTORE_PREVIOUS));

    rig.desktop.messageBoxAnswers = {IDYES};
    rig.controller.RestorePreviousSettings();
    ASSERT_EQ(2u, rig.desktop.messageBoxes.size());
    EXPECT_EQ("The record of your previous settings,\n" + rig.RecordPath() +
                  ",\ncould not be read: it is missing, damaged or was changed by hand.\nNothing was changed.",
              rig.desktop.messageBoxes[1].text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), rig.desktop.messageBoxes[1].type);
    EXPECT_EQ(0, rig.registry.WriteCount());
    EXPECT_EQ(damaged, rig.RecordText());
}

TEST(TuningController, ARecordThatNamesAValueTheProgramNeverChangesIsNotUsed) {
    Rig rig;
    const std::string run = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
    PreviousValue tuned{kTcpip, "DefaultTTL", false, {}};
    PreviousValue foreign{run, "Planted", true, {REG_SZ, {'x', 0}}};
    ASSERT_TRUE(rig.Record().Save(PreviousSettings({tuned, foreign}), "2026-12-09 10:00"));
    const std::string record = rig.RecordText();

    rig.desktop.messageBoxAnswers = {IDYES};
    rig.controller.RestorePreviousSettings();
    ASSERT_EQ(2u, rig.desktop.messageBoxes.size());
    EXPECT_EQ("The record of your previous settings,\n" + rig.RecordPath() +
                  ",\nnames a value that Zarvo 2003 never changes:\n" + run +
                  "\\Planted\nIt was changed by hand, so it is not used. Nothing was changed.",
              rig.desktop.messageBoxes[1].text);
    EXPECT_EQ(0, rig.registry.WriteCount());
    EXPECT_EQ(record, rig.RecordText());
}

TEST(TuningController, ApplyAsksBeforeChangingWhatItCannotRecord) {
    const struct {
        const char* what;
        const char* folder;  // null for no install folder at all
        const char* problem;
    } cases[] = {
        {"a damaged record", "C:\\Zarvo",
         "could not be read: it is damaged or was changed by hand. It is left as it is."},
        {"a folder that is gone", "C:\\Gone", "could not be written."},
        {"no install folder", nullptr, "could not be written: the install folder is not known."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Rig rig;
        const std::string install = "SOFTWARE\\Orvenda Ltd\\Zarvo\\Install";
        if (c.folder == nullptr) {
            rig.registry.PutString(kMachine, install, "Folder", "");
        } else {
            rig.registry.PutString(kMachine, install, "Folder", c.folder);
        }
        rig.files.missingFolders = {"C:\\Gone\\"};
        const std::string damaged = "REGEDIT4\r\n";
        const std::string damagedPath = std::string("C:\\Zarvo\\") + PreviousSettingsFile::kFileName;
        rig.files.wholeFiles[damagedPath] = damaged;
        const std::string path = c.folder == nullptr ? PreviousSettingsFile::kFileName : rig.RecordPath();

        // No stops before anything is written, before the bar.
        rig.desktop.messageBoxAnswers = {IDNO};
        rig.controller.ApplySettings();
        ASSERT_EQ(1u, rig.desktop.messageBoxes.size());
        const FakeDesktop::MessageBoxCall& question = rig.desktop.messageBoxes[0];
        EXPECT_EQ("The record of your previous settings,\n" + path + ",\n" + c.problem +
                      "\n\nIf you go on, \"Restore Previous Settings\" cannot give back the settings you have now.\n"
                      "Apply the new settings anyway?",
                  question.text);
        EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2), question.type);
        EXPECT_EQ(rig.view.owner, question.owner);
        EXPECT_EQ(0, rig.registry.WriteCount());
        EXPECT_EQ(0u, rig.ConfigWrites());
        EXPECT_EQ(std::vector<std::string>{"explanation"}, rig.view.events);

        // Yes applies anyway; the damaged file stays as it was.
        rig.desktop.messageBoxAnswers = {IDYES, IDNO};
        rig.controller.ApplySettings();
        EXPECT_EQ(1492u, Number(rig.Value(kInterface, "MTU")));
        EXPECT_EQ(damaged, rig.Read(damagedPath));
        // Without an install folder, saving the form's file says so first.
        EXPECT_EQ(kQuestion, rig.desktop.messageBoxes.at(c.folder == nullptr ? 3 : 2).text);
    }
}

}  // namespace

namespace {

TEST(TuningController, PickingManualExplainsAndGivesTheStartingValuesAnAutomaticModeClearsThem) {
    Rig rig;
    rig.view.form.connectionType = 0;
    rig.controller.OnModeChosen(FormState::kManualMode);
    ASSERT_EQ(1u, rig.view.explanations.size());
    EXPECT_EQ("Dial-Up Networking (Modem)", rig.view.explanations[0].caption);
    EXPECT_EQ(ExplanationText(kModeManual, "Manual"), rig.view.explanations[0].text);
    FormState manual;
    manual.connectionType = 0;
    manual.SwitchMode(FormState::kManualMode);
    EXPECT_EQ(manual.http11, rig.view.form.http11);
    EXPECT_TRUE(rig.view.form.manualEnabled);

    rig.controller.OnModeChosen(1);
    EXPECT_EQ(1u, rig.view.explanations.size());
    EXPECT_FALSE(rig.view.form.manualEnabled);
    EXPECT_EQ(-1, rig.view.form.http11);
}

TEST(TuningController, TheChosenCodesAreWhatApplyTunesFor) {
    const struct {
        int connectionType, mode;
        DWORD mtu;
    } cases[] = {{0, 0, 576}, {1, 1, 1500}, {2, 2, 1400}, {3, 0, 1500}, {-1, 0, 1492}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.connectionType);
        Rig rig;  // chose PPPoE first: a position outside the list keeps it
        rig.Choose(c.connectionType, c.mode);
        rig.desktop.messageBoxAnswers = {IDNO};
        rig.controller.ApplySettings();
        EXPECT_EQ(c.mtu, Number(rig.Value(kInterface, "MTU")));
    }
}

TEST(TuningController, TheFormOpensOnTheConfigurationFile) {
    Rig rig;
    rig.files.sections[rig.ConfigPath()] = MemorySection({{"Adapter", "0"}, {"Mode", "3"}, {"TTL", "77"}});
    rig.controller.LoadFormSettings();
    EXPECT_EQ(FormState::kManualMode, rig.view.form.mode);
    EXPECT_EQ("77", rig.view.form.Pair(Parameter::Ttl).text);
    rig.desktop.messageBoxAnswers = {IDNO};
    rig.controller.ApplySettings();
    EXPECT_EQ(77u, Number(rig.Value(kTcpip, "DefaultTTL")));
    EXPECT_EQ(1500u, Number(rig.Value(kInterface, "MTU")));
}

TEST(TuningController, ARecordNamingAValueTheProgramNeverChangesIsNeitherExtendedNorSavedByApply) {
    Rig rig;
    PreviousValue foreign{"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", "Planted", true, {REG_SZ, {'x', 0}}};
    ASSERT_TRUE(rig.Record().Save(PreviousSettings({foreign}), "2026-12-09 10:00"));
    const std::string record = rig.RecordText();
    rig.desktop.messageBoxAnswers = {IDNO};
    rig.controller.ApplySettings();
    ASSERT_EQ(1u, rig.desktop.messageBoxes.size());
    EXPECT_NE(std::string::npos, rig.desktop.messageBoxes[0].text.find("could not be read: it is damaged"));
    EXPECT_EQ(0, rig.registry.WriteCount());

    rig.desktop.messageBoxAnswers = {IDYES, IDNO};
    rig.controller.ApplySettings();
    EXPECT_EQ(1492u, Number(rig.Value(kInterface, "MTU")));
    EXPECT_EQ(record, rig.RecordText());
}

TEST(TuningController, AnApplyThatWroteNothingOffersNoRestartAndNoOtherSettings) {
    Rig rig;
    for (const std::string& key : {kTcpip, kInterface, kInternet}) rig.registry.DenyAccess(kMachine, key, KEY_SET_VALUE);
    rig.controller.ApplySettings();
    ASSERT_EQ(1u, rig.desktop.messageBoxes.size());
    const FakeDesktop::MessageBoxCall& box = rig.desktop.messageBoxes[0];
    EXPECT_EQ("None of the new settings could be written: the registry refused all 11 of them.\n"
              "You may lack the rights to change them.",
              box.text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), box.type);
    EXPECT_EQ(rig.view.owner, box.owner);
}

TEST(TuningController, UnattendedApplyTellsItsResultByExitCode) {
    const struct {
        const char* what;
        int expected;
    } cases[] = {
        {"preset file", 0},        {"refused", 8},           {"no file", 1001}, {"invalid manual values", 1001},
        {"empty section", 1001},   {"no rights", 1002},      {"damaged record", 1003}, {"no folder", 1004},
        {"window past 2^30 - 1", 1001},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Rig rig;
        const std::string what = c.what;
        const std::string run = "SOFTWARE\\MICROSOFT\\WINDOWS\\CurrentVersion\\Run";
        if (what != "no file") {
            rig.files.sections[rig.ConfigPath()] = MemorySection({{"Adapter", "2"}, {"Mode", "0"}});
        }
        if (what == "empty section") rig.files.sections[rig.ConfigPath()] = MemorySection();
        if (what == "invalid manual values") {
            rig.files.sections[rig.ConfigPath()] = MemorySection({{"Adapter", "2"}, {"Mode", "3"}, {"HTTP10", "99"}});
        }
        if (what == "window past 2^30 - 1") {  // 1000000 segments of 1460 bytes
            rig.files.sections[rig.ConfigPath()] = MemorySection(
                {{"Adapter", "1"}, {"Mode", "3"}, {"MTU", ""}, {"RWIN", "7"}, {"RWINMultiplier", "1000000"}, {"TTL", ""},
                 {"SKA", "-1"}, {"PMTU", "1"}, {"BlackHole", "0"}, {"HTTP10", "2"}, {"HTTP11", "6"}, {"NDI", "-1"}});
        }
        if (what == "refused") rig.registry.DenyAccess(kMachine, kTcpip, KEY_SET_VALUE);
        if (what == "no rights") {
            rig.registry.AddKey(kMachine, run);
            rig.registry.DenyAccess(kMachine, run, KEY_WRITE);
        }
        if (what == "damaged record") rig.files.wholeFiles[rig.RecordPath()] = "REGEDIT4\r\n";
        if (what == "no folder") rig.registry.PutString(kMachine, "SOFTWARE\\Orvenda Ltd\\Zarvo\\Install", "Folder", "");
        const auto result = TuningApply::ApplyUnattended(rig.product, rig.registry, rig.desktop, rig.files);
        EXPECT_EQ(c.expected, result.exitCode);
        EXPECT_EQ(c.expected < 1000 ? c.expected : 0, result.counts.refused);
        EXPECT_TRUE(rig.desktop.messageBoxes.empty());
        EXPECT_TRUE(rig.desktop.exitRequests.empty());
        if (c.expected > 999) {
            EXPECT_EQ(0, rig.registry.WriteCount());
        }
        EXPECT_EQ(c.expected < 1000 || c.expected == 1003, rig.Record().Exists());
        if (c.expected == 0) {
            EXPECT_EQ(1492u, Number(rig.Value(kInterface, "MTU")));
            EXPECT_TRUE(rig.Record().Exists());
        }
    }
}

}  // namespace

namespace {

TEST(TuningController, ARemovedAdapterDoesNotKeepTheRecordForever) {
    Rig rig;
    rig.registry.PutDword(kMachine, kTcpip, "DefaultTTL", 64);
    const std::string removed = kTcpip + "\\Interfaces\\{GONE}";
    PreviousValue ttl{kTcpip, "DefaultTTL", true, {REG_DWORD, DwordBytes(32)}};
    PreviousValue mtu{removed, "MTU", true, {REG_DWORD, DwordBytes(1400)}};
    ASSERT_TRUE(rig.Record().Save(PreviousSettings({ttl, mtu}), "2026-12-09 10:00"));

    rig.desktop.messageBoxAnswers = {IDYES, IDNO};
    rig.controller.RestorePreviousSettings();
    EXPECT_EQ(32u, Number(rig.Value(kTcpip, "DefaultTTL")));
    EXPECT_FALSE(rig.Record().Exists());
    ASSERT_EQ(3u, rig.desktop.messageBoxes.size());
    EXPECT_EQ("Your previous settings were successfully restored.\n\n"
              "1 of them belonged to a key that is gone (a network adapter that was removed, for example); they "
              "were left out.\n\nThey take effect when you restart your computer.\n\n"
              "Would you like to restart your computer now?",
              rig.desktop.messageBoxes[1].text);
}

}  // namespace

namespace {

// The speed follows the connection type and the MSS the form's MTU choice;
// the multiplier chosen becomes a Manual choice that only Apply writes.
TEST(TuningController, AMeasuredWindowBecomesTheFormsManualReceiveWindow) {
    Rig rig;
    rig.Choose(3, 0);  // satellite, Automatic #1
    rig.view.tunedMultiplier = 44;
    const int writes = rig.registry.WriteCount();
    EXPECT_TRUE(rig.controller.RunCommand(ID_TOOLS_TUNE_WINDOW));
    ASSERT_EQ(1u, rig.view.tuneWindowCalls.size());
    EXPECT_EQ("www.example.com", rig.view.tuneWindowCalls[0].hosts);
    EXPECT_EQ("400", rig.view.tuneWindowCalls[0].speed);
    EXPECT_EQ(1460, rig.view.tuneWindowCalls[0].mss);
    EXPECT_TRUE(rig.view.tuneWindowCalls[0].scalesWindows);
    EXPECT_EQ(1u, rig.view.explanations.size());
    EXPECT_EQ(FormState::kManualMode, rig.view.form.mode);
    EXPECT_EQ("x44", rig.view.form.ReceiveWindowEntry());
    EXPECT_EQ(writes, rig.registry.WriteCount());

    rig.view.form.ChooseCustom(Parameter::Mtu);
    rig.view.form.Pair(Parameter::Mtu).text = "1400";
    rig.view.tunedMultiplier = 8;  // one of the list's own
    // A speed test's rate that 17520 bytes did not limit in 100 ms.
    SpeedHistory(rig.product.Store()).KeepTest({"http://f.example/", 1120001, 100, 17520, 0, false}, 0, 17520);
    rig.controller.TuneReceiveWindow();
    EXPECT_EQ(1360, rig.view.tuneWindowCalls[1].mss);
    EXPECT_EQ("1121", rig.view.tuneWindowCalls[1].speed);
    EXPECT_EQ(2, rig.view.form.Pair(Parameter::ReceiveWindow).selection);
    rig.desktop.messageBoxAnswers = {IDNO};
    rig.controller.ApplySettings();
    EXPECT_EQ(8u * 1360u, Number(rig.Value(kTcpip, "TcpWindowSize")));
    EXPECT_EQ(17520u, SpeedHistory(rig.product.Store()).LastApply()->windowBefore);  // 2000's default
}

TEST(TuningController, TheLargestMtuFoundBecomesTheFormsManualMtu) {
    const struct {
        const char* mode;  // the stored keep-alive mode
        const char* site;
        const char* host;
    } cases[] = {{"Manual", "http://www.isp.example:8080/up", "www.isp.example"},
                 {"Automatic", "www.isp.example", "www.example.com"},
                 {"", "", "www.example.com"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        Rig rig;
        rig.registry.PutDword(kMachine, kInterface, "MTU", 1492);
        KeepAliveSettings keepAlive;
        keepAlive.mode = c.mode;
        keepAlive.host = c.site;
        if (*c.mode != '\0') {
            ASSERT_TRUE(keepAlive.Save(rig.product.Store()));
        }
        rig.view.foundMtu = 1400;
        const int writes = rig.registry.WriteCount();
        EXPECT_TRUE(rig.controller.RunCommand(ID_TOOLS_FIND_MTU));
        ASSERT_EQ(1u, rig.view.findMtuCalls.size());
        EXPECT_EQ(c.host, rig.view.findMtuCalls[0].first);
        EXPECT_EQ(1492, rig.view.findMtuCalls[0].second);
        // As if the user had picked "Manual": its explanation, its starting values, then the MTU typed.
        EXPECT_EQ(1u, rig.view.explanations.size());
        EXPECT_EQ(1, std::count(rig.view.events.begin(), rig.view.events.end(), "new mode"));
        EXPECT_EQ(FormState::kManualMode, rig.view.form.mode);
        EXPECT_TRUE(rig.view.form.Pair(Parameter::Mtu).customChecked);
        EXPECT_EQ("1400", rig.view.form.Pair(Parameter::Mtu).text);
        EXPECT_EQ(writes, rig.registry.WriteCount());

        // Already Manual: nothing else changes; closed without a result: nothing at all.
        rig.view.form.Pair(Parameter::Ttl).text = "64";
        rig.view.foundMtu = 1454;
        rig.controller.FindLargestMtu();
        EXPECT_EQ(1u, rig.view.explanations.size());
        EXPECT_EQ("64", rig.view.form.Pair(Parameter::Ttl).text);
        EXPECT_EQ("1454", rig.view.form.Pair(Parameter::Mtu).text);
        rig.view.foundMtu.reset();
        rig.controller.FindLargestMtu();
        EXPECT_EQ("1454", rig.view.form.Pair(Parameter::Mtu).text);
    }
}

}  // namespace

namespace {

}  // namespace
