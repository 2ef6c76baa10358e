#include "configurator/FormState.h"

#include <gtest/gtest.h>

namespace {

const Parameter kAll[] = {Parameter::Mtu, Parameter::ReceiveWindow, Parameter::Ttl, Parameter::KeepAlive,
                          Parameter::NdiCache};

// A manual form with something typed or picked in every value.
FormState CustomisedManualForm() {
    FormState state;
    state.SwitchMode(FormState::kManualMode);
    for (Parameter p : kAll) state.ChooseCustom(p);
    state.Pair(Parameter::Mtu).text = "1500";
    state.Pair(Parameter::ReceiveWindow).selection = 3;
    state.Pair(Parameter::Ttl).text = "64";
    state.Pair(Parameter::KeepAlive).selection = 14;
    state.Pair(Parameter::NdiCache).selection = 4;
    state.blackHoleChecked = true;
    state.http10 = 10;
    state.http11 = 20;
    return state;
}

TEST(FormState, PickingManualGivesTheStartingValues) {
    FormState state = CustomisedManualForm();
    state.SwitchMode(FormState::kManualMode);  // also when already manual

    EXPECT_EQ(3, state.mode);
    EXPECT_TRUE(state.manualEnabled);
    for (Parameter p : kAll) {
        const ParameterPair& pair = state.Pair(p);
        EXPECT_TRUE(pair.defaultChecked);
        EXPECT_FALSE(pair.customChecked);
        EXPECT_FALSE(pair.valueEnabled);
        EXPECT_EQ("", pair.text);
        EXPECT_EQ(-1, pair.selection);
    }
    EXPECT_TRUE(state.pmtuChecked);
    EXPECT_FALSE(state.blackHoleChecked);
    EXPECT_EQ(0, state.http10);  // "2"
    EXPECT_EQ(2, state.http11);  // "4"
}

TEST(FormState, PickingAnAutomaticModeThrowsManualEntriesAway) {
    for (int mode : {0, 1, 2}) {
        FormState state = CustomisedManualForm();
        state.pmtuChecked = true;
        state.SwitchMode(mode);

        EXPECT_EQ(mode, state.mode);
        EXPECT_FALSE(state.manualEnabled);
        for (Parameter p : kAll) {
            const ParameterPair& pair = state.Pair(p);
            EXPECT_FALSE(pair.defaultChecked);
            EXPECT_FALSE(pair.customChecked);
            EXPECT_FALSE(pair.valueEnabled);
            EXPECT_EQ("", pair.text);
            EXPECT_EQ(-1, pair.selection);
        }
        EXPECT_FALSE(state.pmtuChecked);
        EXPECT_FALSE(state.blackHoleChecked);
        EXPECT_EQ(-1, state.http10);
        EXPECT_EQ(-1, state.http11);
    }
}

TEST(FormState, PairHandlers) {
    FormState state;
    state.SwitchMode(FormState::kManualMode);

    state.ChooseCustom(Parameter::Mtu);
    EXPECT_TRUE(state.Pair(Parameter::Mtu).valueEnabled);
    EXPECT_TRUE(state.Pair(Parameter::Mtu).customChecked);
    EXPECT_FALSE(state.Pair(Parameter::Mtu).defaultChecked);
    state.Pair(Parameter::Mtu).text = "1400";

    // Custom again keeps what was typed; Windows Default clears it.
    state.ChooseCustom(Parameter::Mtu);
    EXPECT_EQ("1400", state.Pair(Parameter::Mtu).text);
    state.ChooseWindowsDefault(Parameter::Mtu);
    EXPECT_EQ("", state.Pair(Parameter::Mtu).text);
    EXPECT_FALSE(state.Pair(Parameter::Mtu).valueEnabled);
    EXPECT_TRUE(state.Pair(Parameter::Mtu).defaultChecked);
    EXPECT_FALSE(state.Pair(Parameter::Mtu).customChecked);

    state.ChooseCustom(Parameter::KeepAlive);
    state.Pair(Parameter::KeepAlive).selection = 14;
    state.ChooseWindowsDefault(Parameter::KeepAlive);
    EXPECT_EQ(-1, state.Pair(Parameter::KeepAlive).selection);

    // The other pairs are untouched by all of this.
    EXPECT_TRUE(state.Pair(Parameter::Ttl).defaultChecked);
    EXPECT_FALSE(state.Pair(Parameter::Ttl).valueEnabled);
}

TEST(FormState, EnableCustomFieldsOnlyEnables) {
    FormState state;
    state.Pair(Parameter::Ttl).customChecked = true;
    state.Pair(Parameter::NdiCache).defaultChecked = true;
    state.Pair(Parameter::Mtu).valueEnabled = true;  // stays, though not custom
    state.EnableCustomFields();
    EXPECT_TRUE(state.Pair(Parameter::Ttl).valueEnabled);
    EXPECT_FALSE(state.Pair(Parameter::NdiCache).valueEnabled);
    EXPECT_TRUE(state.Pair(Parameter::Mtu).valueEnabled);
    EXPECT_FALSE(state.Pair(Parameter::ReceiveWindow).valueEnabled);
}

TEST(FormState, Codes) {
    const struct {
        int position;
        const char* connectionType;
        const char* mode;
    } cases[] = {
        {0, "DIAL-UP", "AUTO1"}, {1, "LAN", "AUTO2"}, {2, "LAN-PPPoE", "AUTO3"},
        {3, "LAN", "MANUAL"},    {4, "", "AUTO5"},     {-1, "", "AUTO0"},
        // Found by fuzzing: a "Mode" of 2147483647 in the file overflowed the "+ 1".
        {2147483647, "", "AUTO2147483648"},  {-2147483647 - 1, "", "AUTO-2147483647"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.connectionType, FormState::ConnectionTypeCode(c.position)) << c.position;
        EXPECT_EQ(c.mode, FormState::ModeCode(c.position)) << c.position;
    }
}

}  // namespace
