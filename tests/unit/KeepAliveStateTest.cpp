#include "common/AgentNotice.h"
#include "common/ProductInfo.h"
#include "configurator/KeepAliveState.h"
#include "tests/support/FakeDesktop.h"
#include "win32/MemoryRegistry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string kAutomaticText = std::string(17, ' ') + "Automatic";
const std::string kLargeAutomaticText = std::string(22, ' ') + "Automatic";
const std::string kSectionPath =
    std::string(SettingsStore::kProductKey) + "\\" + SettingsStore::ScrambleText(kKeepAliveSection, false);

// One log of what reached the registry and the agent, in the order it happened.
class RecordingRegistry : public MemoryRegistry {
public:
    explicit RecordingRegistry(std::vector<std::string>& log) : log_(&log) {}
    LONG SetValue(Key key, const std::string& name, DWORD type, const BYTE* data, DWORD size) override {
        log_->push_back(SettingsStore::UnscrambleText(name));
        return MemoryRegistry::SetValue(key, name, type, data, size);
    }

private:
    std::vector<std::string>* log_;
};

class RecordingDesktop : public FakeDesktop {
public:
    explicit RecordingDesktop(std::vector<std::string>& log) : log_(&log) {}
    std::intptr_t SendWindowMessage(WindowRef window, UINT message, std::uintptr_t wParam,
                                    std::intptr_t lParam) override {
        log_->push_back("message " + std::to_string(message));
        return FakeDesktop::SendWindowMessage(window, message, wParam, lParam);
    }

private:
    std::vector<std::string>* log_;
};

class KeepAliveTest : public ::testing::Test {
protected:
    std::string Stored(const char* name) { return product.Store().ReadString(kKeepAliveSection, name, "<none>", true); }
    void Store(const char* name, const std::string& text) {
        product.Store().WriteString(kKeepAliveSection, name, text, true);
    }
    KeepAliveState OpenOnStore(bool largeFonts = false) {
        return KeepAliveState::Opening(KeepAliveSettings::Load(product.Store()), largeFonts);
    }
    KeepAliveState ManualWithHost(const std::string& host) {
        KeepAliveState state = KeepAliveState::Opening({}, false);
        state.ApplyManual();
        state.hostText = host;
        state.interval = 0;
        return state;
    }
    bool Confirm(const KeepAliveState& state) { return state.Confirm(product, desktop, 0x77); }

    std::vector<std::string> log;
    RecordingRegistry registry{log};
    RecordingDesktop desktop{log};
    ProductInfo product{registry, desktop};
};

void ExpectAutomatic(const KeepAliveState& state, const std::string& hostText) {
    EXPECT_TRUE(state.automaticChecked);
    EXPECT_FALSE(state.manualChecked);
    EXPECT_FALSE(state.hostEnabled);
    EXPECT_EQ(hostText, state.hostText);
    EXPECT_FALSE(state.intervalEnabled);
    EXPECT_EQ(4, state.interval);  // " 5 minutes."
}

TEST_F(KeepAliveTest, IntervalListRunsFromOneToSixtyMinutes) {
    const std::vector<std::string> texts = KeepAliveState::IntervalTexts();
    ASSERT_EQ(60u, texts.size());
    EXPECT_EQ(" 1 minute.", texts[0]);
    EXPECT_EQ(" 2 minutes.", texts[1]);
    EXPECT_EQ(" 5 minutes.", texts[4]);
    EXPECT_EQ(" 10 minutes.", texts[9]);
    EXPECT_EQ(" 60 minutes.", texts[59]);
}

TEST_F(KeepAliveTest, AnEmptyStoreOpensInAutomaticModeWithAnimation) {
    const KeepAliveState state = OpenOnStore();
    ExpectAutomatic(state, kAutomaticText);
    EXPECT_FALSE(state.soundChecked);
    EXPECT_TRUE(state.animationChecked);
    ExpectAutomatic(OpenOnStore(true), kLargeAutomaticText);
}

TEST_F(KeepAliveTest, OpeningStateForEachKindOfStoredValues) {
    const struct {
        const char* what;
        KeepAliveSettings stored;
        bool manual;
        int interval;
        bool sound;
        bool animation;
    } cases[] = {
        {"automatic, silent, still", {"Automatic", "Automatic", 9, 0, 0}, false, 4, false, false},
        {"automatic with sound", {"Automatic", "Automatic", 9, 1, 1}, false, 4, true, true},
        {"manual, an hour", {"Manual", "http://a.example/", 59, 0, 1}, true, 59, false, true},
        {"manual, a minute", {"Manual", "http://a.example/", 0, 1, 0}, true, 0, true, false},
        {"interval past the list", {"Manual", "h", 60, 0, 0}, true, -1, false, false},
        {"negative interval", {"Manual", "h", -1, 0, 0}, true, -1, false, false},
        {"huge interval", {"Manual", "h", 2147483647, 0, 0}, true, -1, false, false},
        {"mode in another case", {"automatic", "h", 3, 0, 0}, true, 3, false, false},
        {"mode neither of the two", {"Sometimes", "h", 3, 0, 0}, true, 3, false, false},
        {"damaged check values", {"Manual", "h", 3, 7, -1}, true, 3, true, true},
        {"nothing saved, whatever else", {"", "h", 30, 1, 0}, false, 4, true, true},
    };
    for (const auto& c : cases) {
        const KeepAliveState state = KeepAliveState::Opening(c.stored, false);
        EXPECT_EQ(c.manual, state.manualChecked) << c.what;
        EXPECT_EQ(!c.manual, state.automaticChecked) << c.what;
        EXPECT_EQ(c.manual, state.hostEnabled) << c.what;
        EXPECT_EQ(c.manual, state.intervalEnabled) << c.what;
        EXPECT_EQ(c.manual ? c.stored.host : kAutomaticText, state.hostText) << c.what;
        EXPECT_EQ(c.interval, state.interval) << c.what;
        EXPECT_EQ(c.sound, state.soundChecked) << c.what;
        EXPECT_EQ(c.animation, state.animationChecked) << c.what;
    }
}

TEST_F(KeepAliveTest, DamagedStoreValuesOpenSafely) {
    Store("PingMode", "Manual");
    Store("PingHost", "http://a.example/");
    Store("PingInterval", "soon");   // no number: index 0
    Store("PingSound", "  1 time");  // leading blanks and digits count
    // Written plain, the animation value is not where the dialog looks.
    product.Store().WriteString(kKeepAliveSection, "TaskBarAni", "1", false);
    KeepAliveState state = OpenOnStore();
    EXPECT_TRUE(state.manualChecked);
    EXPECT_EQ("http://a.example/", state.hostText);
    EXPECT_EQ(0, state.interval);
    EXPECT_TRUE(state.soundChecked);
    EXPECT_FALSE(state.animationChecked);

    // A mode that is not text reads as nothing saved.
    registry.PutDword(RegRoot::LocalMachine, kSectionPath, SettingsStore::ScrambleText("PingMode", false), 1);
    state = OpenOnStore();
    ExpectAutomatic(state, kAutomaticText);
    EXPECT_TRUE(state.animationChecked);
}

TEST_F(KeepAliveTest, ModeSwitching) {
    KeepAliveState state = KeepAliveState::Opening({"Manual", "http://a.example/", 20, 1, 0}, false);
    state.ApplyAutomatic(false);
    ExpectAutomatic(state, kAutomaticText);
    EXPECT_TRUE(state.soundChecked);  // the check boxes don't follow the mode
    EXPECT_FALSE(state.animationChecked);

    state.ApplyManual();
    EXPECT_TRUE(state.manualChecked);
    EXPECT_FALSE(state.automaticChecked);
    EXPECT_TRUE(state.hostEnabled);
    EXPECT_TRUE(state.intervalEnabled);
    EXPECT_EQ("", state.hostText);
    EXPECT_EQ(4, state.interval);

    // A second click empties the field again.
    state.hostText = "http://typed.example/";
    state.ApplyManual();
    EXPECT_EQ("", state.hostText);
    EXPECT_TRUE(state.manualChecked);
}

TEST_F(KeepAliveTest, FocusLossRepairsOnlyAMissingSelection) {
    KeepAliveState state = ManualWithHost("h");
    state.interval = -1;
    state.RepairInterval();
    EXPECT_EQ(9, state.interval);
    state.interval = 33;
    state.RepairInterval();
    EXPECT_EQ(33, state.interval);
}

TEST_F(KeepAliveTest, DefaultThenOkWritesTheAutomaticSet) {
    KeepAliveState state = KeepAliveState::Opening({"Manual", "http://a.example/", 20, 1, 0}, true);
    state.RestoreDefaults(true);
    ExpectAutomatic(state, kLargeAutomaticText);
    EXPECT_FALSE(state.soundChecked);
    EXPECT_TRUE(state.animationChecked);

    ASSERT_TRUE(Confirm(state));
    EXPECT_EQ("Automatic", Stored("PingMode"));
    EXPECT_EQ("Automatic", Stored("PingHost"));
    EXPECT_EQ("9", Stored("PingInterval"));  // ten minutes, not the five the list shows
    EXPECT_EQ("0", Stored("PingSound"));
    EXPECT_EQ("1", Stored("TaskBarAni"));
    EXPECT_TRUE(desktop.messageBoxes.empty());
}

TEST_F(KeepAliveTest, ABlankSiteIsRefusedAndNothingIsWrittenOrSent) {
    desktop.windowTitles.insert(kAgentWindowTitle);
    for (const char* host : {"", " ", "  \t  "}) {
        desktop.messageBoxes.clear();
        EXPECT_FALSE(Confirm(ManualWithHost(host))) << '"' << host << '"';
        ASSERT_EQ(1u, desktop.messageBoxes.size());
        const auto& box = desktop.messageBoxes[0];
        EXPECT_EQ("Please choose a valid Ping Host.\nExample:  www.zarvo.example ", box.text);
        EXPECT_EQ("Zarvo 2003", box.caption);
        EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), box.type);
        EXPECT_EQ(0x77u, box.owner);
    }
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(desktop.sentMessages.empty());
}

TEST_F(KeepAliveTest, OkWritesTheFiveValuesInOrderThenTellsTheAgent) {
    desktop.windowTitles.insert("ZV - Kavrel");
    KeepAliveState state = ManualWithHost("  http://my.example/page  ");
    state.interval = 0;
    state.soundChecked = true;
    state.animationChecked = false;
    ASSERT_TRUE(Confirm(state));

    const std::vector<std::string> expected = {"PingMode", "PingHost", "PingInterval", "PingSound", "TaskBarAni",
                                               "message 1112"};
    EXPECT_EQ(expected, log);
    EXPECT_EQ("Manual", Stored("PingMode"));
    EXPECT_EQ("  http://my.example/page  ", Stored("PingHost"));  // as typed
    EXPECT_EQ("0", Stored("PingInterval"));
    EXPECT_EQ("1", Stored("PingSound"));
    EXPECT_EQ("0", Stored("TaskBarAni"));
    ASSERT_EQ(1u, desktop.sentMessages.size());
    const auto& sent = desktop.sentMessages[0];
    EXPECT_EQ(FakeDesktop::kFoundWindow, sent.window);
    EXPECT_EQ(1112u, sent.message);
    EXPECT_EQ(123u, sent.wParam);
    EXPECT_EQ(123, sent.lParam);
    EXPECT_TRUE(desktop.messageBoxes.empty());
}

TEST_F(KeepAliveTest, WithoutTheAgentOkWritesAndSendsNothing) {
    ASSERT_TRUE(Confirm(ManualWithHost("http://my.example/")));
    EXPECT_EQ(5u, log.size());
    EXPECT_TRUE(desktop.sentMessages.empty());
    EXPECT_EQ("http://my.example/", Stored("PingHost"));
}

TEST_F(KeepAliveTest, ManualWithNothingSelectedStoresTenMinutes) {
    KeepAliveState state = ManualWithHost("http://my.example/");
    state.interval = -1;
    ASSERT_TRUE(Confirm(state));
    EXPECT_EQ("9", Stored("PingInterval"));
}

TEST_F(KeepAliveTest, AFailedWriteIsToldKeepsTheDialogOpenAndSendsNothing) {
    desktop.windowTitles.insert("ZV - Kavrel");
    registry.DenyAccess(RegRoot::LocalMachine, kSectionPath, KEY_ALL_ACCESS);
    EXPECT_FALSE(Confirm(ManualWithHost("http://my.example/")));
    ASSERT_EQ(1u, desktop.messageBoxes.size());
    EXPECT_EQ(0u, desktop.messageBoxes[0].text.find("Your Evertie settings could not be saved."));
    EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), desktop.messageBoxes[0].type);
    EXPECT_EQ("Zarvo 2003", desktop.messageBoxes[0].caption);
    EXPECT_EQ(0x77u, desktop.messageBoxes[0].owner);
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(desktop.sentMessages.empty());
}

TEST_F(KeepAliveTest, ASiteTooLongForTheStoreIsAFailedWrite) {
    desktop.windowTitles.insert("ZV - Kavrel");
    EXPECT_FALSE(Confirm(ManualWithHost("http://" + std::string(480, 'a'))));
    EXPECT_EQ(1u, desktop.messageBoxes.size());
    // Found by fuzzing: "PingMode" was written before the site was refused,
    // a half-written set under a message that said nothing was saved.
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(desktop.sentMessages.empty());
}

TEST_F(KeepAliveTest, AutomaticModeSavesAutomaticWhateverTheFieldsHold) {
    KeepAliveState state = ManualWithHost("http://my.example/");
    state.ApplyAutomatic(false);
    state.hostText = "edited";  // can't happen on the disabled field, and still doesn't count
    state.interval = 30;
    const KeepAliveSettings settings = state.ToSettings();
    EXPECT_EQ("Automatic", settings.mode);
    EXPECT_EQ("Automatic", settings.host);
    EXPECT_EQ(9, settings.interval);
}

}  // namespace
