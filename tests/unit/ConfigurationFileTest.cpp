#include "configurator/ConfigurationFile.h"
#include "tests/support/LoadChoices.h"
#include "tests/support/MemorySection.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

using Values = std::map<std::string, std::string>;
using Lines = std::vector<std::pair<std::string, std::string>>;

// The file written after applying "Manual" on a LAN with MTU 1500, the default
// receive window, TTL 64, 5 minutes keep-alive, path-MTU discovery on,
// black-hole detection off, 4 and 8 connections and the default NDI cache.
const Lines kExampleFile = {{"Adapter", "1"}, {"Mode", "3"},      {"MTU", "1500"},  {"RWIN", "-1"},
                            {"TTL", "64"},    {"SKA", "4"},       {"PMTU", "1"},    {"BlackHole", "0"},
                            {"HTTP10", "2"},  {"HTTP11", "6"},    {"NDI", "-1"}};

FormState ExampleForm() {
    FormState state;
    state.connectionType = 1;
    state.SwitchMode(FormState::kManualMode);
    state.ChooseCustom(Parameter::Mtu);
    state.Pair(Parameter::Mtu).text = "1500";
    state.ChooseCustom(Parameter::Ttl);
    state.Pair(Parameter::Ttl).text = "64";
    state.ChooseCustom(Parameter::KeepAlive);
    state.Pair(Parameter::KeepAlive).selection = 4;
    state.http10 = 2;
    state.http11 = 6;
    return state;
}

bool SamePair(const ParameterPair& a, const ParameterPair& b) {
    return a.defaultChecked == b.defaultChecked && a.customChecked == b.customChecked &&
           a.valueEnabled == b.valueEnabled && a.text == b.text && a.selection == b.selection;
}

void ExpectSameForm(const FormState& expected, const FormState& actual) {
    EXPECT_EQ(expected.connectionType, actual.connectionType);
    EXPECT_EQ(expected.mode, actual.mode);
    for (int i = 0; i < kParameterCount; ++i) EXPECT_TRUE(SamePair(expected.pairs[i], actual.pairs[i])) << i;
    EXPECT_EQ(expected.pmtuChecked, actual.pmtuChecked);
    EXPECT_EQ(expected.blackHoleChecked, actual.blackHoleChecked);
    EXPECT_EQ(expected.http10, actual.http10);
    EXPECT_EQ(expected.http11, actual.http11);
    EXPECT_EQ(expected.manualEnabled, actual.manualEnabled);
}

TEST(ConfigurationFile, SavesTheExampleFileInKeyOrder) {
    MemorySection file;
    ConfigurationFile::Save(ExampleForm(), file);
    EXPECT_EQ(kExampleFile, file.writes);
}

TEST(ConfigurationFile, LoadsTheExampleFileBackIntoTheSameForm) {
    MemorySection file(Values(kExampleFile.begin(), kExampleFile.end()));
    FormState loaded;
    TuningConfig config;
    LoadChoices(file, loaded, config);

    ExpectSameForm(ExampleForm(), loaded);
    EXPECT_EQ("LAN", config.connectionType);
    EXPECT_EQ(kModeManual, config.mode);
}

TEST(ConfigurationFile, AutomaticFormSavesClearedManualKeys) {
    FormState state = ExampleForm();
    state.connectionType = 0;
    state.SwitchMode(1);
    MemorySection file;
    ConfigurationFile::Save(state, file);
    const Lines expected = {{"Adapter", "0"}, {"Mode", "1"},   {"MTU", ""},      {"RWIN", "-1"},
                            {"TTL", ""},      {"SKA", "-1"},   {"PMTU", "0"},    {"BlackHole", "0"},
                            {"HTTP10", "-1"}, {"HTTP11", "-1"}, {"NDI", "-1"}};
    EXPECT_EQ(expected, file.writes);
}

TEST(ConfigurationFile, OnlyAWholeChoiceIsCompleteEnoughToApplyUnattended) {
    const Values manual(kExampleFile.begin(), kExampleFile.end());
    std::vector<std::pair<Values, bool>> cases = {{manual, true}, {{{"Adapter", "3"}, {"Mode", "2"}}, true},
                                                  {{}, false}, {{{"Adapter", "2x"}, {"Mode", "0"}}, false}};
    Values pastLargest = manual;  // a window of 1,460,000,000 bytes
    pastLargest["MTU"] = "";
    pastLargest["RWIN"] = "7";
    pastLargest["RWINMultiplier"] = "1000000";
    cases.push_back({pastLargest, false});
    for (const auto& [key, value] : kExampleFile) {  // in the manual mode every key counts
        Values changed = manual;
        changed[key] = key == "MTU" || key == "TTL" ? "" : "99";  // "" is "Windows Default"
        cases.push_back({changed, changed[key].empty()});
        changed.erase(key);
        cases.push_back({changed, false});
    }
    for (const auto& [values, complete] : cases) {
        MemorySection file(values);
        EXPECT_EQ(complete, ConfigurationFile::IsComplete(file)) << testing::PrintToString(values);
    }
}

TEST(ConfigurationFile, NoFileOpensOnTheFirstTypeAndAutomatic1) {
    MemorySection file;
    FormState state;
    TuningConfig config;
    LoadChoices(file, state, config);

    FormState expected;
    expected.connectionType = 0;
    expected.mode = 0;
    ExpectSameForm(expected, state);
    EXPECT_EQ("DIAL-UP", config.connectionType);
    EXPECT_EQ("AUTO1", config.mode);
}

TEST(ConfigurationFile, ManualModeAloneTakesEveryDefault) {
    MemorySection file(Values{{"Mode", "3"}});
    FormState state;
    TuningConfig config;
    LoadChoices(file, state, config);

    for (const ParameterPair& pair : state.pairs) {
        EXPECT_TRUE(pair.defaultChecked);
        EXPECT_FALSE(pair.customChecked);
        EXPECT_FALSE(pair.valueEnabled);
    }
    EXPECT_TRUE(state.pmtuChecked);
    EXPECT_FALSE(state.blackHoleChecked);
    EXPECT_EQ(0, state.http10);
    EXPECT_EQ(2, state.http11);
    EXPECT_TRUE(state.manualEnabled);
}

TEST(ConfigurationFile, AutomaticModesIgnoreManualKeys) {
    for (const char* mode : {"0", "1", "2"}) {
        MemorySection file(Values{{"Mode", mode}, {"MTU", "1500"}, {"RWIN", "3"}, {"PMTU", "1"}, {"HTTP10", "5"}});
        FormState state;
        TuningConfig config;
        LoadChoices(file, state, config);

        FormState expected;
        expected.connectionType = 0;
        expected.mode = std::atoi(mode);
        ExpectSameForm(expected, state);
        EXPECT_EQ(std::string("AUTO") + std::to_string(expected.mode + 1), config.mode);
    }
}

TEST(ConfigurationFile, MinusOneMeansWindowsDefaultOrNoSelection) {
    MemorySection file(Values{{"Mode", "3"}, {"RWIN", "-1"}, {"SKA", "-1"}, {"NDI", "-1"}, {"HTTP10", "-1"},
                        {"HTTP11", "-1"}});
    FormState state;
    TuningConfig config;
    LoadChoices(file, state, config);
    for (Parameter p : {Parameter::ReceiveWindow, Parameter::KeepAlive, Parameter::NdiCache}) {
        EXPECT_TRUE(state.Pair(p).defaultChecked);
        EXPECT_EQ(-1, state.Pair(p).selection);
    }
    EXPECT_EQ(-1, state.http10);
    EXPECT_EQ(-1, state.http11);

    // And the other way: no selection is written as -1, not as a large number.
    MemorySection written;
    ConfigurationFile::Save(state, written);
    EXPECT_EQ("-1", written.ReadText("HTTP10", ""));
    EXPECT_EQ("-1", written.ReadText("RWIN", ""));
}

TEST(ConfigurationFile, PositionsOutsideTheListsSelectNothing) {
    MemorySection file(Values{{"Adapter", "4"}, {"Mode", "3"}, {"RWIN", "7"}, {"SKA", "60"}, {"NDI", "99"},
                        {"HTTP10", "59"}, {"HTTP11", "-5"}});
    FormState state;
    TuningConfig config;
    config.connectionType = "LAN-PPPoE";
    LoadChoices(file, state, config);

    EXPECT_EQ(-1, state.connectionType);
    EXPECT_EQ("LAN-PPPoE", config.connectionType);  // left as it was
    // A position is still a "Custom" choice; it just selects nothing.
    for (Parameter p : {Parameter::ReceiveWindow, Parameter::KeepAlive, Parameter::NdiCache}) {
        EXPECT_TRUE(state.Pair(p).customChecked);
        EXPECT_TRUE(state.Pair(p).valueEnabled);
        EXPECT_EQ(-1, state.Pair(p).selection);
    }
    EXPECT_EQ(-1, state.http10);
    EXPECT_EQ(-1, state.http11);

    MemorySection badMode(Values{{"Mode", "7"}});
    LoadChoices(badMode, state = FormState(), config);
    EXPECT_EQ(-1, state.mode);
    EXPECT_EQ("AUTO8", config.mode);
    EXPECT_FALSE(state.manualEnabled);
}

TEST(ConfigurationFile, SatelliteIsTunedAsLan) {
    MemorySection file(Values{{"Adapter", "3"}});
    FormState state;
    TuningConfig config;
    LoadChoices(file, state, config);
    EXPECT_EQ(3, state.connectionType);
    EXPECT_EQ("LAN", config.connectionType);
}

TEST(ConfigurationFile, NonNumericMtuAndTtlAreCustomTextsKeptAsTyped) {
    MemorySection file(Values{{"Mode", "3"}, {"MTU", "abc"}, {"TTL", "12x"}});
    FormState state;
    TuningConfig config;
    LoadChoices(file, state, config);
    EXPECT_TRUE(state.Pair(Parameter::Mtu).customChecked);
    EXPECT_TRUE(state.Pair(Parameter::Mtu).valueEnabled);
    EXPECT_EQ("abc", state.Pair(Parameter::Mtu).text);
    EXPECT_EQ("12x", state.Pair(Parameter::Ttl).text);

    MemorySection written;
    ConfigurationFile::Save(state, written);
    EXPECT_EQ("abc", written.ReadText("MTU", ""));
    EXPECT_EQ("12x", written.ReadText("TTL", ""));
}

TEST(ConfigurationFile, LoadingChecksOnlyTheButtonTheFileCallsFor) {
    // On a fresh form exactly one of each pair ends up checked.
    MemorySection file(Values{{"Mode", "3"}, {"MTU", "1400"}, {"SKA", "2"}});
    FormState state;
    TuningConfig config;
    LoadChoices(file, state, config);
    for (const ParameterPair& pair : state.pairs) EXPECT_NE(pair.defaultChecked, pair.customChecked);
    EXPECT_EQ(2, state.Pair(Parameter::KeepAlive).selection);
    EXPECT_FALSE(state.Pair(Parameter::ReceiveWindow).valueEnabled);
}

// A measured multiplier that the list lacks keeps its own key; a file
// without that key (an older one) loads as it always did.
TEST(ConfigurationFile, AnAddedWindowMultiplierIsKeptUnderItsOwnKey) {
    FormState state = ExampleForm();
    state.ChooseWindowMultiplier(44);
    MemorySection file;
    ConfigurationFile::Save(state, file);
    EXPECT_EQ("7", file.ReadText("RWIN", ""));
    EXPECT_EQ("44", file.ReadText("RWINMultiplier", ""));
    EXPECT_TRUE(ConfigurationFile::IsComplete(file));
    FormState loaded;
    TuningConfig config;
    LoadChoices(file, loaded, config);
    EXPECT_EQ("x44", loaded.ReceiveWindowEntry());

    for (const char* multiplier : {"", "0", "x"}) {
        Values older(kExampleFile.begin(), kExampleFile.end());
        older["RWIN"] = "7";
        if (*multiplier != 0) older["RWINMultiplier"] = multiplier;
        MemorySection olderFile(older);
        EXPECT_FALSE(ConfigurationFile::IsComplete(olderFile)) << multiplier;
        LoadChoices(olderFile, loaded = FormState(), config);
        EXPECT_EQ("", loaded.ReceiveWindowEntry()) << multiplier;
    }

    state.ChooseWindowMultiplier(8);  // a listed one selects its entry
    MemorySection listed;
    ConfigurationFile::Save(state, listed);
    EXPECT_EQ("2", listed.ReadText("RWIN", ""));
    EXPECT_EQ("none", listed.ReadText("RWINMultiplier", "none"));
}

}  // namespace
