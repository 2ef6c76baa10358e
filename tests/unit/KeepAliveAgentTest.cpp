#include "agent/KeepAliveAgent.h"
#include "resources/zarwatch_ids.h"
#include "tests/support/FakeAgentView.h"
#include "tests/support/FakeDesktop.h"
#include "tests/support/FakeInternet.h"
#include "tests/support/FakeLogFiles.h"
#include "win32/MemoryRegistry.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace {

class KeepAlive : public ::testing::Test {
protected:
    KeepAlive() {
        registry.PutString(RegRoot::LocalMachine, "SOFTWARE\\Orvenda Ltd\\Zarvo\\Install", "Folder", "C:\\Zarvo");
    }

    void Settings(const std::string& mode, int interval, int sound, int animation) {
        store.WriteString("UndoRegular", "PingMode", mode, true);
        store.WriteInt("UndoRegular", "PingInterval", interval, true);
        store.WriteInt("UndoRegular", "PingSound", sound, true);
        store.WriteInt("UndoRegular", "TaskBarAni", animation, true);
    }
    // What the window's creation does around the tray icon.
    void Create() {
        agent.ReloadSettings();
        agent.Start();
        view.log.clear();
    }
    void Disable() {
        agent.OnCommand(ID_TRAY_DISABLE);
        view.log.clear();
        desktop.messageBoxes.clear();
    }

    MemoryRegistry registry;
    SettingsStore store{registry};
    FakeDesktop desktop;
    FakeInternet internet;
    FakeLogFiles logFiles;
    FakeAgentView view;
    ProductInfo product{registry, desktop};
    KeepAliveAgent agent{product, registry, internet, desktop, logFiles, view};
};

TEST_F(KeepAlive, FirstRunWritesTheDefaultsAndPingsEveryFiveMinutesAndThreeSeconds) {
    Create();
    EXPECT_EQ(store.ReadString("UndoRegular", "PingMode", "", true), "Automatic");
    EXPECT_EQ(store.ReadString("UndoRegular", "PingHost", "", true), "Automatic");
    EXPECT_EQ(store.ReadInt("UndoRegular", "PingInterval", -1, true), 4);
    EXPECT_EQ(store.ReadInt("UndoRegular", "PingSound", -1, true), 0);
    EXPECT_EQ(store.ReadInt("UndoRegular", "TaskBarAni", -1, true), 1);
    EXPECT_EQ(view.timers, (std::map<UINT, UINT>{{1, 40000}, {2, 303000}}));
    agent.OnTimer(1);
    EXPECT_EQ(view.log, (std::vector<std::string>{"tip Zarvo 2003 - Working", "animate"}));
}

TEST_F(KeepAlive, SettingsAlreadyThereAreKeptAndSetTheKeepAlivePeriod) {
    const struct {
        int interval;
        UINT periodMs;
    } cases[] = {{0, 63000}, {4, 303000}, {9, 603000}, {59, 3603000}, {-3, 63000}, {1000000, 3603000}};
    for (const auto& c : cases) {
        Settings("Manual", c.interval, 0, 1);
        Create();
        EXPECT_EQ(view.timers[2], c.periodMs) << c.interval;
        EXPECT_EQ(store.ReadString("UndoRegular", "PingMode", "", true), "Manual");
    }
}

// Found by fuzzing: a damaged "PingMode" reads empty, and the first-run values
// then replaced the user's own host, interval, sound and animation.
TEST_F(KeepAlive, DamagedPingModeAloneGetsTheFirstRunValueAndTheOthersStay) {
    const std::string section = "SOFTWARE\\Orvenda Ltd\\Zarvo\\" + SettingsStore::ScrambleText("UndoRegular", false);
    auto stored = [&](const char* name) { return registry.Value(RegRoot::LocalMachine, section, SettingsStore::ScrambleText(name, false)); };
    store.WriteString("UndoRegular", "PingHost", "www.example.org", true);
    store.WriteInt("UndoRegular", "PingInterval", 9, true);
    registry.PutDword(RegRoot::LocalMachine, section, SettingsStore::ScrambleText("PingSound", false), 1);
    store.WriteInt("UndoRegular", "TaskBarAni", 0, true);
    const char* const others[] = {"PingHost", "PingInterval", "PingSound", "TaskBarAni"};
    // Cut to a lone letter, a letter outside the alphabet, empty.
    for (const char* damaged : {"G", "Zzz", ""}) {
        SCOPED_TRACE(damaged);
        registry.PutString(RegRoot::LocalMachine, section, SettingsStore::ScrambleText("PingMode", false), damaged);
        std::vector<RegValue> before;
        for (const char* name : others) before.push_back(*stored(name));

        Create();
        EXPECT_EQ(store.ReadString("UndoRegular", "PingMode", "", true), "Automatic");
        for (std::size_t i = 0; i < before.size(); ++i) {
            EXPECT_EQ(before[i].type, stored(others[i])->type) << others[i];
            EXPECT_EQ(before[i].data, stored(others[i])->data) << others[i];
        }
        EXPECT_EQ(view.timers[2], 603000u);
    }
}

TEST_F(KeepAlive, FirstRunFillsInOnlyTheMissingValues) {
    store.WriteInt("UndoRegular", "PingInterval", 9, true);
    Create();
    EXPECT_EQ(store.ReadString("UndoRegular", "PingMode", "", true), "Automatic");
    EXPECT_EQ(store.ReadString("UndoRegular", "PingHost", "", true), "Automatic");
    EXPECT_EQ(store.ReadInt("UndoRegular", "PingInterval", -1, true), 9);
    EXPECT_EQ(store.ReadInt("UndoRegular", "PingSound", -1, true), 0);
    EXPECT_EQ(store.ReadInt("UndoRegular", "TaskBarAni", -1, true), 1);
}

TEST_F(KeepAlive, ReloadedSettingsDecideSoundAndAnimation) {
    const struct {
        const char* mode;
        int sound, animation;
        bool plays, animates;
    } cases[] = {
        {"Automatic", 1, 1, true, true},
        {"Automatic", 2, 1, false, true},  // only 1 plays
        {"Automatic", 0, 2, false, true},  // any non-zero animates
        {"Automatic", 0, 0, false, false},
        {"", 0, 0, false, true},  // never configured: animate
    };
    for (const auto& c : cases) {
        Settings(c.mode, 4, c.sound, c.animation);
        desktop.sounds.clear();
        internet.urls.clear();
        agent.ReloadSettings();
        view.log.clear();
        agent.OnTimer(2);
        EXPECT_EQ(desktop.sounds, c.plays ? std::vector<std::string>{"C:\\Zarvo\\ping.wav"} : std::vector<std::string>{})
            << c.sound;
        agent.OnTimer(1);
        EXPECT_EQ(internet.urls.size(), c.animates ? 2u : 1u) << c.mode << c.animation;
        EXPECT_EQ(!view.log.empty() && view.log.back() == "animate", c.animates);
    }
}

TEST_F(KeepAlive, KeepAlivePingOfflinePlaysNothingAndChangesNothingShown) {
    Settings("Automatic", 4, 1, 1);
    Create();
    internet.urlWorks = false;
    agent.OnTimer(2);
    EXPECT_EQ(internet.urls.size(), 1u);
    EXPECT_EQ(internet.urls[0].url, "http://www.example.com/");
    EXPECT_TRUE(desktop.sounds.empty());
    EXPECT_TRUE(view.log.empty());
    EXPECT_FALSE(agent.Online());
}

TEST_F(KeepAlive, FailedConnectionCheckStopsTheAnimationAndDropsWorking) {
    Create();
    agent.OnTimer(1);
    internet.urlWorks = false;
    view.log.clear();
    agent.OnTimer(1);
    EXPECT_EQ(view.log, (std::vector<std::string>{"tip Zarvo 2003", "end animation", "icon enabled"}));
}

TEST_F(KeepAlive, SettingsChangedMessageCountsOnlyWith123And123) {
    Settings("Automatic", 4, 0, 1);
    Create();
    agent.OnTimer(1);  // animating
    Settings("Manual", 9, 0, 0);
    view.log.clear();
    view.timers.clear();
    agent.OnSettingsChanged(123, 0);
    agent.OnSettingsChanged(0, 123);
    EXPECT_TRUE(view.timers.empty());
    EXPECT_TRUE(view.log.empty());
    agent.OnSettingsChanged(123, 123);
    EXPECT_EQ(view.timers, (std::map<UINT, UINT>{{2, 603000}}));
    EXPECT_EQ(view.log, (std::vector<std::string>{"end animation", "icon enabled"}));
}

TEST_F(KeepAlive, DisabledAgentsTimersDoNothing) {
    Create();
    Disable();
    agent.OnTimer(1);
    agent.OnTimer(2);
    EXPECT_TRUE(internet.urls.empty());
    EXPECT_TRUE(view.log.empty());
}

TEST_F(KeepAlive, DisableTellsTheUserOnceAndTheSecondChoiceEnablesSilently) {
    Create();
    EXPECT_STREQ(agent.DisableItemText(), "Disable");
    agent.OnCommand(ID_TRAY_DISABLE);
    EXPECT_FALSE(agent.Enabled());
    EXPECT_STREQ(agent.DisableItemText(), "Enable");
    EXPECT_EQ(view.log, (std::vector<std::string>{"end animation", "icon disabled",
                                                  "tip Zarvo 2003 - Evertie is disabled"}));
    ASSERT_EQ(desktop.messageBoxes.size(), 1u);
    EXPECT_EQ(desktop.messageBoxes[0].owner, 0x4242u);
    EXPECT_EQ(desktop.messageBoxes[0].caption, "Zarvo 2003");
    EXPECT_EQ(desktop.messageBoxes[0].type, static_cast<UINT>(MB_ICONINFORMATION | MB_SYSTEMMODAL));
    EXPECT_EQ(desktop.messageBoxes[0].text,
              "You have only disabled the Evertie utility...\n\nZarvo 2003 will continue boosting your Internet "
              "connection.\nIn order to disable the connection acceleration you will have to run the uninstall "
              "program.");
    view.log.clear();
    agent.OnCommand(ID_TRAY_DISABLE);
    EXPECT_TRUE(agent.Enabled());
    EXPECT_EQ(view.log, (std::vector<std::string>{"icon enabled", "tip Zarvo 2003"}));
    EXPECT_EQ(desktop.messageBoxes.size(), 1u);
}

TEST_F(KeepAlive, TheLogHoldsWhatChangedAndNothingThatDidNot) {
    const struct { bool lineUp; std::function<void()> event; std::vector<std::string> logged; } steps[] = {
        {true, [&] { Create(); }, {"Zarwatch started"}},
        {true, [&] { agent.OnTimer(1); }, {"Line up"}},
        {false, [&] { agent.OnTimer(2); }, {"Line down", "Keep-alive request failed: http://www.example.com/"}},
        {false, [&] { agent.OnTimer(2); }, {}},
        {true, [&] { agent.OnTimer(1); }, {"Line up"}},
        {true, [&] { agent.OnTimer(2); }, {"Keep-alive request worked again: http://www.example.com/"}},
        {true, [&] { agent.OnSettingsChanged(123, 123); }, {"Settings reloaded"}},
        {true, [&] { agent.OnCommand(ID_TRAY_DISABLE); }, {"Keep-alive disabled"}},
        {true, [&] { agent.OnCommand(ID_TRAY_ABOUT); }, {"Keep-alive enabled"}},
        {true, [&] { agent.End(); }, {"Zarwatch ended"}},
        {true, [&] { agent.End(); }, {}},
    };
    std::string& log = logFiles.files["C:\\Zarvo\\zarwatch.log"];
    for (const auto& step : steps) {
        log.clear();
        internet.urlWorks = step.lineUp;
        step.event();
        std::string expected;
        for (const std::string& text : step.logged) expected += "2003-05-01 14:03:00  " + text + "\r\n";
        EXPECT_EQ(expected, log) << &step - steps;
    }
}

TEST_F(KeepAlive, TheLogTurnsOverBeforeALineWouldTakeItPast64KilobytesAndLosesNoLineWhenThatFails) {
    const std::string log = "C:\\Zarvo\\zarwatch.log", older = log + ".old";
    const std::size_t line = std::string("2003-05-01 14:03:00  Zarwatch ended\r\n").size();
    const struct { std::size_t before, logAfter, olderAfter; bool olderWritable; } cases[] = {
        {65536 - line, 65536, 2, true}, {65537 - line, line, 65537 - line, true}, {65537 - line, 65537, 2, false}};
    for (const auto& c : cases) {
        logFiles.files = {{log, std::string(c.before, 'x')}, {older, "x\n"}};
        if (!c.olderWritable) logFiles.unwritable.insert(older);
        KeepAliveAgent(product, registry, internet, desktop, logFiles, view).End();
        EXPECT_EQ(c.logAfter, logFiles.files[log].size()) << c.before;
        EXPECT_EQ(c.olderAfter, logFiles.files[older].size()) << c.before;
    }
}

TEST_F(KeepAlive, SimulateActivityReenablesThenPlaysTheSoundBeforeItPings) {
    Settings("Automatic", 4, 0, 1);  // the sound setting is off: this command plays anyway
    Create();
    Disable();
    std::size_t soundsWhenRequesting = 0;
    internet.whileRequesting = [&] { soundsWhenRequesting = desktop.sounds.size(); };
    EXPECT_TRUE(agent.OnCommand(ID_TRAY_SIMULATE));
    EXPECT_TRUE(agent.Enabled());
    EXPECT_EQ(desktop.sounds, std::vector<std::string>{"C:\\Zarvo\\ping.wav"});
    EXPECT_EQ(soundsWhenRequesting, 1u);
    EXPECT_TRUE(agent.Online());
    // The online flag changes; what the tray shows is only the re-enabling.
    EXPECT_EQ(view.log, (std::vector<std::string>{"icon enabled", "tip Zarvo 2003"}));
}

TEST_F(KeepAlive, CommandsOpenTheirFilesAndAddressesAndOnlySomeReenable) {
    const struct {
        UINT id;
        const char* file;
        const char* parameters;
        bool reenables;
    } cases[] = {
        {ID_TRAY_OPEN, "C:\\Zarvo\\zartune.exe", "", true},
        {ID_TRAY_EVERTIE, "C:\\Zarvo\\zartune.exe", "/ping", true},
        {ID_TRAY_ABOUT, "C:\\Zarvo\\zartune.exe", "/about", true},
        {ID_TRAY_HELP, "C:\\Zarvo\\zartune.hlp", "", true},
        {ID_TRAY_WEBSITE, "http://www.zarvo.example/?ref=Zarvo_2003_v5.4_tray", "", true},
        {ID_TRAY_SUPPORT, "mailto:support@zarvo.example?subject=Question regarding Zarvo 2003 v5.4", "", true},
        {ID_TRAY_FEEDBACK, "mailto:feedback@zarvo.example?subject=Zarvo 2003 v5.4 Feedback", "", false},
        {ID_TRAY_RECOMMEND, "http://www.zarvo.example/recommend.html?ref=Zarvo_2003_v5.4_tray", "", false},
        {ID_TRAY_FAQ, "http://www.zarvo.example/zv_faq.html?ref=Zarvo_2003_v5.4_tray", "", false},
    };
    Create();
    for (const auto& c : cases) {
        Disable();
        desktop.shellCalls.clear();
        EXPECT_TRUE(agent.OnCommand(c.id));
        ASSERT_EQ(desktop.shellCalls.size(), 1u) << c.id;
        EXPECT_EQ(desktop.shellCalls[0].verb, "open");
        EXPECT_EQ(desktop.shellCalls[0].file, c.file);
        EXPECT_EQ(desktop.shellCalls[0].parameters, c.parameters);
        EXPECT_EQ(desktop.shellCalls[0].show, SW_SHOWNORMAL);
        EXPECT_EQ(agent.Enabled(), c.reenables) << c.id;
        if (!agent.Enabled()) agent.OnCommand(ID_TRAY_DISABLE);
    }
    EXPECT_TRUE(desktop.messageBoxes.empty());
    EXPECT_FALSE(agent.OnCommand(32789));
    EXPECT_EQ(agent.ReferenceTag(), "Zarvo_2003_v5.4_tray");
}

TEST_F(KeepAlive, AMissingConfiguratorOrHelpFileIsReportedWithItsCode) {
    const struct {
        UINT id;
        const char* code;
    } cases[] = {{ID_TRAY_OPEN, "00103"}, {ID_TRAY_EVERTIE, "00103"}, {ID_TRAY_ABOUT, "00103"},
                 {ID_TRAY_HELP, "00104"}};
    Create();
    desktop.shellResult = 2;  // file not found
    for (const auto& c : cases) {
        desktop.messageBoxes.clear();
        agent.OnCommand(c.id);
        ASSERT_EQ(desktop.messageBoxes.size(), 1u);
        EXPECT_EQ(desktop.messageBoxes[0].caption, "Zarvo 2003 - Missing files");
        EXPECT_EQ(desktop.messageBoxes[0].text, product.MissingFilesText(c.code));
        EXPECT_EQ(desktop.messageBoxes[0].type, static_cast<UINT>(MB_ICONERROR | MB_SYSTEMMODAL));
        EXPECT_EQ(desktop.messageBoxes[0].owner, 0x4242u);
    }
    // Pages and mail that can't be opened are not reported.
    agent.OnCommand(ID_TRAY_FAQ);
    agent.OnCommand(ID_TRAY_FEEDBACK);
    EXPECT_EQ(desktop.messageBoxes.size(), 1u);
}

TEST_F(KeepAlive, WithoutAnInstallFolderNothingIsStartedFromTheCurrentFolder) {
    registry.PutString(RegRoot::LocalMachine, "SOFTWARE\\Orvenda Ltd\\Zarvo\\Install", "Folder", "");
    Create();
    agent.OnCommand(ID_TRAY_OPEN);
    agent.OnCommand(ID_TRAY_SIMULATE);
    EXPECT_TRUE(desktop.shellCalls.empty());
    EXPECT_TRUE(desktop.sounds.empty());
    ASSERT_EQ(desktop.messageBoxes.size(), 2u);
    EXPECT_EQ(desktop.messageBoxes[0].caption, "Zarvo 2003 - Severe Error");
}

}  // namespace
