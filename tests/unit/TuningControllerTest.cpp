#include "configurator/ExplanationText.h"
#include "configurator/TuningController.h"
#include "resources/zartune_ids.h"
#include "tests/support/FakeDesktop.h"
#include "tests/support/FakeTuningView.h"
#include "tests/support/MemorySection.h"
#include "tests/support/ScratchFolder.h"
#include "tuning/PreviousSettingsFile.h"
#include "win32/MemoryRegistry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <numeric>
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
        // Natively the backslash the install folder gets starts the record's
        // file name, which still lies inside the scratch folder.
        registry.PutString(kMachine, "SOFTWARE\\Orvenda Ltd\\Zarvo\\Install", "Folder", folder.Path() + "/");
        controller.Tuning().mode = "AUTO1";
        controller.Tuning().connectionType = "LAN-PPPoE";
        view.connectionTypeText = "Cable/xDSL running PPPoE/PPTP";
        // What had been written by each event of the view.
        view.observe = [this](const std::string&) { writesAt.push_back(registry.WriteCount()); };
    }
    std::optional<RegValue> Value(const std::string& path, const std::string& name) const {
        return registry.Value(kMachine, path, name);
    }

    std::string RecordPath() const { return product.StoredInstallFolder() + PreviousSettingsFile::kFileName; }
    std::string RecordText() const { return Read(RecordPath()); }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    ScratchFolder folder;
    MemoryRegistry registry;
    FakeDesktop desktop;
    ProductInfo product{registry, desktop};
    FakeTuningView view;
    TuningController controller{product, registry, desktop, view};
    std::vector<int> writesAt;
};

DWORD Number(const std::optional<RegValue>& value) {
    if (!value || value->type != REG_DWORD || value->data.size() != 4) return 0xFFFFFFFF;
    return value->data[0] | value->data[1] << 8 | value->data[2] << 16 | static_cast<DWORD>(value->data[3]) << 24;
}

TEST(TuningController, StepCountsFollowTheTable) {
    const std::pair<int, std::uint64_t> edges[] = {{0, 5000000},   {13, 5000000},  {14, 20000000}, {33, 20000000},
                                                   {34, 10000000}, {73, 10000000}, {74, 17000000}, {75, 20000000},
                                                   {83, 20000000}, {84, 1000000},  {99, 1000000}};
    for (const auto& edge : edges) EXPECT_EQ(edge.second, TuningController::StepCount(edge.first)) << edge.first;
}

TEST(TuningController, AutomaticApplyExplainsRunsTheBarWritesOnceAtStep74AndAsks) {
    Rig rig;
    rig.desktop.messageBoxAnswers = {IDNO};
    rig.controller.ApplySettings();

    ASSERT_EQ(1u, rig.view.explanations.size());
    EXPECT_EQ("Cable/xDSL running PPPoE/PPTP", rig.view.explanations[0].caption);
    EXPECT_EQ(ExplanationText("AUTO1", "Automatic #1"), rig.view.explanations[0].text);

    // Explanation, bar, 74 steps, the file, the registry, 26 steps, bar gone.
    std::vector<std::string> expected = {"explanation", "begin"};
    expected.insert(expected.end(), 74, "step");
    expected.push_back("save");
    expected.insert(expected.end(), 26, "step");
    expected.push_back("end");
    EXPECT_EQ(expected, rig.view.events);
    ASSERT_EQ(100u, rig.view.stepCounts.size());
    EXPECT_EQ(1083000000u, std::accumulate(rig.view.stepCounts.begin(), rig.view.stepCounts.end(), std::uint64_t{0}));

    // Nothing before the file is saved; every write between it and step 74's wait.
    const auto save = std::find(expected.begin(), expected.end(), "save") - expected.begin();
    EXPECT_EQ(0, rig.writesAt[save]);
    EXPECT_GT(rig.writesAt[save + 1], 0);
    EXPECT_EQ(rig.writesAt[save + 1], rig.writesAt.back());

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
    rig.controller.Tuning().mode = "MANUAL";
    rig.view.modeText = "Manual";
    rig.view.form.SwitchMode(FormState::kManualMode);
    rig.view.form.ChooseCustom(Parameter::Ttl);
    rig.view.form.Pair(Parameter::Ttl).text = "99";
    rig.controller.ApplySettings();

    EXPECT_TRUE(rig.view.explanations.empty());
    EXPECT_EQ("begin", rig.view.events.front());
    EXPECT_EQ("99", rig.controller.Tuning().ttlText);
    // Windows 98 keeps these as texts.
    const std::optional<RegValue> ttl = rig.Value(kMstcp, "DefaultTTL");
    ASSERT_TRUE(ttl.has_value());
    EXPECT_EQ(REG_SZ, ttl->type);
    EXPECT_EQ(std::vector<BYTE>({'9', '9', 0}), ttl->data);
    EXPECT_EQ(kQuestion, rig.desktop.messageBoxes[0].text);
}

TEST(TuningController, ValidationFailureLeavesEverythingUntouched) {
    Rig rig;
    rig.controller.Tuning().mode = "MANUAL";
    rig.controller.Tuning().ttlText = "stale";
    rig.view.modeText = "Manual";
    rig.view.form.SwitchMode(FormState::kManualMode);
    rig.view.form.ChooseCustom(Parameter::Mtu);  // and typed nothing
    const std::string before = rig.registry.Dump(kMachine);
    rig.controller.ApplySettings();

    EXPECT_TRUE(rig.view.events.empty());
    EXPECT_EQ(0, rig.registry.WriteCount());
    EXPECT_EQ(before, rig.registry.Dump(kMachine));
    EXPECT_EQ("stale", rig.controller.Tuning().ttlText);
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
    EXPECT_EQ(0u, warning.text.find("7 of the new settings could not be written")) << warning.text;
    EXPECT_NE(std::string::npos, warning.text.find("Would you like to restart your computer now?"));
    EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONWARNING), warning.type);
    EXPECT_EQ(kReminder, rig.desktop.messageBoxes[1].text);
    // What could be written was.
    EXPECT_EQ(1492u, Number(rig.Value(kInterface, "MTU")));
    EXPECT_FALSE(rig.Value(kTcpip, "DefaultTTL").has_value());
}

TEST(TuningController, ApplyRequestIsTakenOnce) {
    Rig rig;
    EXPECT_FALSE(rig.controller.TakeApplyRequest());
    rig.controller.RequestApply();
    rig.controller.RequestApply();
    EXPECT_TRUE(rig.controller.TakeApplyRequest());
    EXPECT_FALSE(rig.controller.TakeApplyRequest());
}

TEST(TuningController, CurrentSettingsShowsTheFormsChoicesWithoutAskingOrWriting) {
    Rig rig;
    EXPECT_TRUE(rig.controller.OnCommand(ID_TOOLS_CURRENT_SETTINGS));
    EXPECT_EQ("1492", rig.view.shownTable.Rows().at(0).afterApply);  // the interface's MTU
    EXPECT_EQ(0u, rig.controller.Tuning().mtu);  // the run's record is Apply's alone
    // A fresh form in the manual mode has no custom MTU.
    rig.controller.Tuning().mode = "MANUAL";
    rig.controller.OnCommand(ID_TOOLS_CURRENT_SETTINGS);
    EXPECT_EQ("", rig.view.shownTable.Rows().at(0).afterApply);
    EXPECT_EQ(0u, rig.view.shownTable.Problem().find("Invalid MTU value."));
    EXPECT_TRUE(rig.desktop.messageBoxes.empty());
    EXPECT_EQ(0, rig.registry.WriteCount());
}

TEST(TuningController, CommandTable) {
    Rig rig;
    for (unsigned id : {ID_FILE_APPLY, ID_FILE_RESTORE, ID_CPL_NETWORK, ID_HELP_WEBSITE, ID_HELP_FEEDBACK,
                        ID_HELP_TOPICS, ID_APP_ABOUT}) {
        EXPECT_TRUE(rig.controller.HandlesCommand(id)) << id;
        EXPECT_TRUE(rig.controller.CommandEnabled(id)) << id;
    }
    // The frame's own commands, and the spacer without a handler.
    for (unsigned id : {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, ID_APP_EXIT, ID_TOOLBAR_SPACER}) {
        EXPECT_FALSE(rig.controller.HandlesCommand(id)) << id;
        EXPECT_FALSE(rig.controller.OnCommand(id)) << id;
    }

    EXPECT_TRUE(rig.controller.OnCommand(ID_CPL_NETWORK));
    EXPECT_EQ(2u, rig.desktop.commandLines.size());
    EXPECT_TRUE(rig.controller.OnCommand(ID_HELP_FEEDBACK));
    ASSERT_EQ(1u, rig.desktop.shellCalls.size());
    EXPECT_EQ("mailto:feedback@zarvo.example?subject=Zarvo 2003 v5.4 Feedback", rig.desktop.shellCalls[0].file);
    EXPECT_TRUE(rig.controller.OnCommand(ID_APP_ABOUT));
    EXPECT_EQ(std::vector<std::string>{"about"}, rig.view.events);

    rig.desktop.messageBoxAnswers = {IDNO};
    EXPECT_TRUE(rig.controller.OnCommand(ID_FILE_RESTORE));
    ASSERT_EQ(1u, rig.desktop.messageBoxes.size());
    EXPECT_EQ(0, rig.registry.WriteCount());
}

TEST(TuningController, RestoreThatTheRegistryRefusesSaysSo) {
    Rig rig;
    rig.registry.PutDword(kMachine, kTcpip, "DefaultTTL", 128);
    rig.registry.DenyAccess(kMachine, kTcpip, KEY_SET_VALUE);
    rig.desktop.messageBoxAnswers = {IDYES};
    rig.controller.RestoreWindowsDefaults();
    ASSERT_EQ(2u, rig.desktop.messageBoxes.size());
    EXPECT_EQ(0u, rig.desktop.messageBoxes[1].text.find("7 setting(s) could not be removed"));
    EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), rig.desktop.messageBoxes[1].type);
    EXPECT_EQ(128u, Number(rig.Value(kTcpip, "DefaultTTL")));
}

TEST(TuningController, FirstApplyRecordsWhatItChangesLaterAppliesKeepItAndRestoreGivesItBack) {
    Rig rig;
    rig.registry.PutDword(kMachine, kInterface, "MTU", 1492);
    rig.registry.PutDword(kMachine, kTcpip, "DefaultTTL", 64);
    const std::string before = rig.registry.Dump(kMachine);
    EXPECT_TRUE(rig.controller.HandlesCommand(ID_FILE_RESTORE_PREVIOUS));
    EXPECT_FALSE(rig.controller.CommandEnabled(ID_FILE_RESTORE_PREVIOUS));

    rig.desktop.messageBoxAnswers = {IDNO};
    rig.controller.ApplySettings();
    EXPECT_TRUE(rig.controller.CommandEnabled(ID_FILE_RESTORE_PREVIOUS));
    const std::string record = rig.RecordText();
    EXPECT_EQ(0u, record.find("REGEDIT4\r\n; Zarvo 2003 settings before the first Apply: 10 values, "
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
    rig.controller.Tuning().mode = "AUTO3";
    rig.controller.Tuning().connectionType = "DIAL-UP";
    rig.desktop.messageBoxAnswers = {IDNO};
    rig.controller.ApplySettings();
    EXPECT_EQ(record, rig.RecordText());
    ASSERT_NE(before, rig.registry.Dump(kMachine));

    rig.desktop.messageBoxes.clear();
    rig.desktop.messageBoxAnswers = {IDYES, IDNO};
    EXPECT_TRUE(rig.controller.OnCommand(ID_FILE_RESTORE_PREVIOUS));
    EXPECT_EQ(before, rig.registry.Dump(kMachine));
    EXPECT_FALSE(PreviousSettingsFile(rig.RecordPath()).Exists());
    EXPECT_FALSE(rig.controller.CommandEnabled(ID_FILE_RESTORE_PREVIOUS));

    ASSERT_EQ(3u, rig.desktop.messageBoxes.size());
    const FakeDesktop::MessageBoxCall& question = rig.desktop.messageBoxes[0];
    EXPECT_EQ("The program will give back the settings you had before it first applied new ones.\n"
              "Would you like to continue?",
              question.text);
    EXPECT_EQ("Zarvo 2003", question.caption);
    EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2), question.type);
    EXPECT_EQ(0u, question.owner);
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
    EXPECT_EQ(0u, warning.text.find("5 of the previous settings could not be written back")) << warning.text;
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
    std::ofstream(rig.RecordPath(), std::ios::binary) << damaged;
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
    ASSERT_TRUE(PreviousSettingsFile(rig.RecordPath()).Save(PreviousSettings({tuned, foreign}), "2026-12-09 10:00"));
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
        const char* folder;  // below the scratch folder; null for no install folder at all
        const char* problem;
    } cases[] = {
        {"a damaged record", "/", "could not be read: it is damaged or was changed by hand. It is left as it is."},
        {"a folder that is gone", "/gone/", "could not be written."},
        {"no install folder", nullptr, "could not be written: the install folder is not known."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Rig rig;
        const std::string install = "SOFTWARE\\Orvenda Ltd\\Zarvo\\Install";
        if (c.folder == nullptr) {
            rig.registry.PutString(kMachine, install, "Folder", "");
        } else {
            rig.registry.PutString(kMachine, install, "Folder", rig.folder.Path() + c.folder);
        }
        const std::string damaged = "REGEDIT4\r\n";
        const std::string damagedPath = rig.folder.File(std::string("\\") + PreviousSettingsFile::kFileName);
        std::ofstream(damagedPath, std::ios::binary) << damaged;
        const std::string path = c.folder == nullptr ? PreviousSettingsFile::kFileName : rig.RecordPath();

        // No stops before any write, with the bar taken down.
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
        EXPECT_EQ(74u, rig.view.stepCounts.size());
        EXPECT_EQ("end", rig.view.events.back());

        // Yes applies anyway; the damaged file stays as it was.
        rig.desktop.messageBoxAnswers = {IDYES, IDNO};
        rig.controller.ApplySettings();
        EXPECT_EQ(1492u, Number(rig.Value(kInterface, "MTU")));
        EXPECT_EQ(damaged, Rig::Read(damagedPath));
        EXPECT_EQ(kQuestion, rig.desktop.messageBoxes[2].text);
    }
}

}  // namespace

namespace {

TEST(UnattendedApply, ExitCodes) {
    using O = UnattendedOutcome;
    const std::pair<UnattendedApply, int> cases[] = {
        {{O::Applied, 0}, 0},   {{O::Applied, 999}, 999}, {{O::Applied, 1500}, 999}, {{O::NoValidConfiguration}, 1001},
        {{O::NoRights}, 1002}, {{O::NoRecord}, 1003},    {{O::NoInstallFolder}, 1004},
    };
    for (const auto& c : cases) EXPECT_EQ(c.second, c.first.ExitCode()) << c.second;
}

TEST(TuningController, UnattendedApplyWritesWhatTheFileChoosesWithNoWindowAndNoQuestion) {
    Rig rig;
    rig.registry.PutDword(kMachine, kInterface, "MTU", 1400);
    // "Automatic #2" on a LAN, though the form's codes say otherwise.
    MemorySection file(std::map<std::string, std::string>{{"Adapter", "1"}, {"Mode", "1"}});
    EXPECT_EQ(0, rig.controller.ApplyUnattended(&file).ExitCode());
    EXPECT_EQ(1500u, Number(rig.Value(kInterface, "MTU")));
    EXPECT_EQ(513920u, Number(rig.Value(kTcpip, "TcpWindowSize")));
    EXPECT_NE(std::string::npos, rig.RecordText().find("\"MTU\"=dword:00000578"));
    EXPECT_TRUE(rig.view.events.empty() && rig.desktop.messageBoxes.empty() && file.writes.empty());
}

TEST(TuningController, UnattendedApplyWritesNothingWhenItCannotGoOn) {
    const std::pair<std::string, int> cases[] = {
        {"no file", 1001}, {"a custom value missing", 1001}, {"no rights", 1002}, {"a damaged record", 1003},
        {"no folder", 1004}};
    for (const auto& [what, code] : cases) {
        Rig rig;
        rig.registry.PutDword(kMachine, kInterface, "MTU", 1500);
        const std::string http10 = what == "a custom value missing" ? "-1" : "0";
        MemorySection file(std::map<std::string, std::string>{{"Mode", "3"}, {"HTTP10", http10}});
        const std::string run = "SOFTWARE\\MICROSOFT\\WINDOWS\\CurrentVersion\\Run";
        if (what == "no rights") rig.registry.DenyAccess(kMachine, run, KEY_WRITE);
        if (what == "a damaged record") std::ofstream(rig.RecordPath(), std::ios::binary) << "REGEDIT4\r\n";
        const std::string install = "SOFTWARE\\Orvenda Ltd\\Zarvo\\Install";
        if (what == "no folder") rig.registry.PutString(kMachine, install, "Folder", "");
        const int writes = rig.registry.WriteCount();
        EXPECT_EQ(code, rig.controller.ApplyUnattended(what == "no file" ? nullptr : &file).ExitCode()) << what;
        EXPECT_EQ(writes, rig.registry.WriteCount()) << what;
        EXPECT_TRUE(rig.desktop.messageBoxes.empty()) << what;
    }
}

}  // namespace
