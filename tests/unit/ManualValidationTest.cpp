#include "configurator/ManualValidation.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

const char kMtuMessage[] = "Invalid MTU value.\nYou chose the 'Custom' option without providing any value.";
const char kRwinMessage[] = "Invalid RWIN value.\nYou chose the 'Custom' option without providing any value.";
const char kTtlMessage[] = "Invalid TTL value.\nYou chose the 'Custom' option without providing any value.";
const char kKeepAliveMessage[] =
    "Invalid Session Keep Alive value.\nYou chose the 'Custom' option without providing any value.";
const char kHttp10Message[] = "Invalid MSCPS usings HTTP 1.0 value.\nNo value was entered.";
const char kHttp11Message[] = "Invalid MSCPS usings HTTP 1.1 value.\nNo value was entered.";
const char kNdiMessage[] = "Invalid NDI Cache value.\nYou chose the 'Custom' option without providing any value.";

// What picking "Manual" leaves on the form: every pair on "Windows Default".
FormState StartingForm() {
    FormState state;
    state.SwitchMode(FormState::kManualMode);
    return state;
}

TuningConfig Base() {
    TuningConfig config;
    config.mode = kModeManual;
    config.connectionType = "LAN-PPPoE";
    return config;
}

ManualValidation Validate(const std::function<void(FormState&)>& change) {
    FormState state = StartingForm();
    change(state);
    return ValidateManualValues(state, Base());
}

void Custom(FormState& state, Parameter parameter, const std::string& text) {
    state.ChooseCustom(parameter);
    state.Pair(parameter).text = text;
}

void Custom(FormState& state, Parameter parameter, int selection) {
    state.ChooseCustom(parameter);
    state.Pair(parameter).selection = selection;
}

TEST(ManualValidation, StartingValuesGiveTheWindowsDefaults) {
    const ManualValidation result = ValidateManualValues(StartingForm(), Base());
    ASSERT_TRUE(result.valid) << result.message;
    const TuningConfig& c = result.config;
    EXPECT_EQ(kModeManual, c.mode);
    EXPECT_EQ("LAN-PPPoE", c.connectionType);
    EXPECT_EQ("1500", c.mtuText);
    EXPECT_EQ(1500u, c.mtu);
    EXPECT_EQ("1460", c.mssText);
    EXPECT_EQ(8192u, c.rwin);
    EXPECT_EQ("8192", c.rwinText);
    EXPECT_EQ(32u, c.ttl);
    EXPECT_EQ("32", c.ttlText);
    EXPECT_EQ(3600000u, c.keepAliveMs);
    EXPECT_EQ("3600000", c.keepAliveText);
    EXPECT_EQ(1u, c.pmtuDiscovery);
    EXPECT_EQ("1", c.pmtuText);
    EXPECT_EQ(0u, c.blackHoleDetect);
    EXPECT_EQ("0", c.blackHoleText);
    EXPECT_EQ(2u, c.maxConnPer1_0Server);
    EXPECT_EQ(4u, c.maxConnPerServer);
    EXPECT_EQ("0", c.ndiCacheText);
}

struct CustomCase {
    const char* name;
    std::function<void(FormState&)> change;
    std::function<void(const TuningConfig&)> expect;
};

const CustomCase kCustomCases[] = {
    {"the window follows the custom MTU's MSS",
     [](FormState& s) {
         Custom(s, Parameter::Mtu, "1400");
         Custom(s, Parameter::ReceiveWindow, 1);  // "x6"
     },
     [](const TuningConfig& c) {
         EXPECT_EQ("1400", c.mtuText);
         EXPECT_EQ(1400u, c.mtu);
         EXPECT_EQ("1360", c.mssText);
         EXPECT_EQ(8160u, c.rwin);
         EXPECT_EQ("8160", c.rwinText);
     }},
    {"the window of a default MTU is the multiplier times 1460",
     [](FormState& s) { Custom(s, Parameter::ReceiveWindow, 6); },  // "x16"
     [](const TuningConfig& c) { EXPECT_EQ(23360u, c.rwin); }},
    {"keep-alive minutes become milliseconds",
     [](FormState& s) { Custom(s, Parameter::KeepAlive, 14); },  // "15 min."
     [](const TuningConfig& c) {
         EXPECT_EQ(900000u, c.keepAliveMs);
         EXPECT_EQ("900000", c.keepAliveText);
     }},
    {"the NDI cache entry's number", [](FormState& s) { Custom(s, Parameter::NdiCache, 5); },  // "32"
     [](const TuningConfig& c) { EXPECT_EQ("32", c.ndiCacheText); }},
    {"texts are kept as typed and read the atoi way",
     [](FormState& s) {
         Custom(s, Parameter::Mtu, "1400abc");
         Custom(s, Parameter::Ttl, "064");
     },
     [](const TuningConfig& c) {
         EXPECT_EQ("1400abc", c.mtuText);
         EXPECT_EQ(1400u, c.mtu);
         EXPECT_EQ("1360", c.mssText);
         EXPECT_EQ("064", c.ttlText);
         EXPECT_EQ(64u, c.ttl);
     }},
    {"a text without digits reads as 0", [](FormState& s) { Custom(s, Parameter::Ttl, "abc"); },
     [](const TuningConfig& c) {
         EXPECT_EQ(0u, c.ttl);
         EXPECT_EQ("abc", c.ttlText);
     }},
    {"nothing checks the MTU: one of 40 or less gives an MSS of 0 or below",
     [](FormState& s) { Custom(s, Parameter::Mtu, "30"); },
     [](const TuningConfig& c) { EXPECT_EQ("-10", c.mssText); }},
    {"the largest window there is, 2^30 - 1 bytes",
     [](FormState& s) {
         Custom(s, Parameter::Mtu, "43");
         s.ChooseWindowMultiplier(357913941);
     },
     [](const TuningConfig& c) {
         EXPECT_EQ(1073741823u, c.rwin);
         EXPECT_EQ("1073741823", c.rwinText);
     }},
    {"custom means the default button is not checked, whatever the custom one says",
     [](FormState& s) {
         s.Pair(Parameter::Ttl) = ParameterPair();
         s.Pair(Parameter::Ttl).text = "99";
     },
     [](const TuningConfig& c) { EXPECT_EQ(99u, c.ttl); }},
    {"the check boxes and both lists are copied",
     [](FormState& s) {
         s.pmtuChecked = false;
         s.blackHoleChecked = true;
         s.http10 = 58;  // "60"
         s.http11 = 8;   // "10"
     },
     [](const TuningConfig& c) {
         EXPECT_EQ(0u, c.pmtuDiscovery);
         EXPECT_EQ("0", c.pmtuText);
         EXPECT_EQ(1u, c.blackHoleDetect);
         EXPECT_EQ("1", c.blackHoleText);
         EXPECT_EQ(60u, c.maxConnPer1_0Server);
         EXPECT_EQ(10u, c.maxConnPerServer);
     }},
};

TEST(ManualValidation, CustomValues) {
    for (const CustomCase& test : kCustomCases) {
        SCOPED_TRACE(test.name);
        const ManualValidation result = Validate(test.change);
        ASSERT_TRUE(result.valid) << result.message;
        test.expect(result.config);
    }
}

struct MissingCase {
    const char* message;
    std::function<void(FormState&)> change;
};

// Each row leaves out one value, and every later one too: only the first is named.
const MissingCase kMissingCases[] = {
    {kMtuMessage,
     [](FormState& s) {
         Custom(s, Parameter::Mtu, "");
         Custom(s, Parameter::Ttl, "");
     }},
    {kRwinMessage,
     [](FormState& s) {
         Custom(s, Parameter::ReceiveWindow, -1);
         Custom(s, Parameter::Ttl, "");
     }},
    {kTtlMessage,
     [](FormState& s) {
         Custom(s, Parameter::Ttl, "");
         Custom(s, Parameter::KeepAlive, -1);
     }},
    {kKeepAliveMessage,
     [](FormState& s) {
         Custom(s, Parameter::KeepAlive, -1);
         s.http10 = -1;
     }},
    {kHttp10Message,
     [](FormState& s) {
         s.http10 = -1;
         s.http11 = -1;
     }},
    {kHttp11Message,
     [](FormState& s) {
         s.http11 = -1;
         Custom(s, Parameter::NdiCache, -1);
     }},
    {kNdiMessage, [](FormState& s) { Custom(s, Parameter::NdiCache, -1); }},
    // A selection outside its list shows nothing, as the list would.
    {kRwinMessage, [](FormState& s) { Custom(s, Parameter::ReceiveWindow, 7); }},
    {kHttp11Message, [](FormState& s) { s.http11 = 59; }},
    // No window can be what these ask for: none is written, cut or wrapped.
    {kRwinMessage, [](FormState& s) { s.ChooseWindowMultiplier(1000000); }},
    {kRwinMessage,
     [](FormState& s) {
         Custom(s, Parameter::Mtu, "43");
         s.ChooseWindowMultiplier(357913942);
     }},
    {kRwinMessage,
     [](FormState& s) {
         Custom(s, Parameter::Mtu, "99999999999");
         Custom(s, Parameter::ReceiveWindow, 6);
     }},
    {kRwinMessage,
     [](FormState& s) {
         Custom(s, Parameter::Mtu, "30");
         Custom(s, Parameter::ReceiveWindow, 0);
     }},
};

TEST(ManualValidation, TheFirstMissingValueIsTheOneMessage) {
    for (const MissingCase& test : kMissingCases) {
        SCOPED_TRACE(test.message);
        const ManualValidation result = Validate(test.change);
        EXPECT_FALSE(result.valid);
        EXPECT_EQ(test.message, result.message);
    }
}

TEST(ManualValidation, AnAddedMultiplierTimesTheMssIsTheWindow) {
    const ManualValidation result = Validate([](FormState& s) {
        Custom(s, Parameter::Mtu, "1400");
        s.ChooseWindowMultiplier(44);
    });
    ASSERT_TRUE(result.valid) << result.message;
    EXPECT_EQ(44u * 1360u, result.config.rwin);
}

}  // namespace
