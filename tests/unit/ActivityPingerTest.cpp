#include "common/CActivityPinger.h"
#include "tests/support/FakeInternet.h"
#include "win32/MemoryRegistry.h"
#include "win32/RegKey.h"

#include <gtest/gtest.h>

namespace {

const char* kSettings = CActivityPinger::kInternetSettingsKey;
const char* kMarkerKey = CActivityPinger::kMarkerKey;
const char* kMarker = CActivityPinger::kMarkerName;

class ActivityPinger : public ::testing::Test {
protected:
    bool Ping() {
        CActivityPinger pinger(registry, internet);
        return pinger.Ping("http://www.example.com/");
    }
    std::optional<RegValue> Autodial() const {
        return registry.Value(RegRoot::CurrentUser, kSettings, "EnableAutodial");
    }
    std::optional<RegValue> Marker() const { return registry.Value(RegRoot::CurrentUser, kMarkerKey, kMarker); }

    MemoryRegistry registry;
    FakeInternet internet;
};

TEST_F(ActivityPinger, RequestsTheAddressFreshWithItsUserAgentAndClosesEverything) {
    internet.contentLength = "10";
    EXPECT_TRUE(Ping());
    EXPECT_EQ(internet.userAgents, std::vector<std::string>{"Mozilla/4.0+(compatible;+MSIE+6.0;+Windows+NT+5.0)"});
    ASSERT_EQ(internet.urls.size(), 1u);
    EXPECT_EQ(internet.urls[0].session, FakeInternet::kSession);
    EXPECT_EQ(internet.urls[0].url, "http://www.example.com/");
    EXPECT_EQ(internet.urls[0].flags, 0x80000000u);
    EXPECT_EQ(internet.closed, (std::vector<Internet::Handle>{FakeInternet::kRequest, FakeInternet::kSession}));
}

TEST_F(ActivityPinger, IsOnlineExactlyWhenTheAddressOpens) {
    struct Case {
        bool sessionWorks, urlWorks;
        std::optional<std::string> contentLength;
        bool online;
    };
    const Case cases[] = {
        {true, true, std::string("120"), true},
        {true, true, std::nullopt, true},  // no Content-Length header
        {true, true, std::string("0"), true},
        {true, false, std::nullopt, false},  // nothing listening, no name, no network
        {false, true, std::nullopt, false},  // WinINet could not even start
    };
    for (const Case& c : cases) {
        FakeInternet fresh;
        fresh.sessionWorks = c.sessionWorks;
        fresh.urlWorks = c.urlWorks;
        fresh.contentLength = c.contentLength;
        CActivityPinger pinger(registry, fresh);
        EXPECT_EQ(pinger.Ping("http://www.example.com/"), c.online) << c.sessionWorks << c.urlWorks;
    }
}

TEST_F(ActivityPinger, ReadsTheBodyOnceAndNeverMoreThanTheCap) {
    struct Case {
        std::optional<std::string> contentLength;
        std::vector<DWORD> reads;
    };
    const Case cases[] = {
        {std::string("512"), {512}},
        {std::string("65536"), {65536}},
        {std::string("2000000000"), {65536}},
        {std::string("0"), {}},
        {std::string("-1"), {}},
        {std::nullopt, {}},
    };
    for (const Case& c : cases) {
        FakeInternet fresh;
        fresh.contentLength = c.contentLength;
        CActivityPinger pinger(registry, fresh);
        pinger.Ping("http://www.example.com/");
        EXPECT_EQ(fresh.readSizes, c.reads) << c.contentLength.value_or("(none)");
    }
}

TEST(ActivityPingerContentLength, OnlyAPositiveDecimalNumberReadsAndTheCapBoundsIt) {
    const struct {
        const char* text;
        DWORD bytes;
    } cases[] = {
        {"1", 1},           {"1234", 1234},        {" 42 ", 42},           {"65535", 65535},
        {"65536", 65536},   {"65537", 65536},      {"4294967296", 65536},  {"99999999999999999999999", 65536},
        {"0", 0},           {"000", 0},            {"-5", 0},              {"+5", 0},
        {"", 0},            {"abc", 0},            {"12abc", 0},           {"1 2", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(CActivityPinger::BodyBytesToRead(c.text), c.bytes) << c.text;
}

TEST_F(ActivityPinger, SwitchesAutodialOffDuringTheRequestAndBackAfterwards) {
    registry.PutDword(RegRoot::CurrentUser, kSettings, "EnableAutodial", 1);
    std::optional<RegValue> during, markerDuring;
    internet.whileRequesting = [&] {
        during = Autodial();
        markerDuring = Marker();
    };
    EXPECT_TRUE(Ping());
    ASSERT_TRUE(during);
    EXPECT_EQ(during->type, REG_DWORD);
    EXPECT_EQ(during->data, DwordBytes(0));
    ASSERT_TRUE(markerDuring);
    EXPECT_EQ(markerDuring->data, DwordBytes(1));
    ASSERT_TRUE(Autodial());
    EXPECT_EQ(Autodial()->type, REG_DWORD);
    EXPECT_EQ(Autodial()->data, DwordBytes(1));
    EXPECT_FALSE(Marker());
    EXPECT_EQ(registry.OpenKeyCount(), 0);
}

TEST_F(ActivityPinger, PutsBackTheValueItFoundEvenWhenOffline) {
    registry.PutDword(RegRoot::CurrentUser, kSettings, "EnableAutodial", 7);
    internet.urlWorks = false;
    EXPECT_FALSE(Ping());
    EXPECT_EQ(Autodial()->data, DwordBytes(7));
    EXPECT_FALSE(Marker());
}

TEST(ActivityPingerAutodial, WritesNothingWhenAutodialIsOffAbsentOrOfAnotherShape) {
    const std::function<void(MemoryRegistry&)> setups[] = {
        [](MemoryRegistry& r) { r.PutDword(RegRoot::CurrentUser, kSettings, "EnableAutodial", 0); },
        [](MemoryRegistry& r) { r.AddKey(RegRoot::CurrentUser, kSettings); },
        [](MemoryRegistry& r) { r.PutString(RegRoot::CurrentUser, kSettings, "EnableAutodial", "1"); },
        [](MemoryRegistry& r) { r.Put(RegRoot::CurrentUser, kSettings, "EnableAutodial", REG_DWORD, {1, 0}); },
        [](MemoryRegistry&) {},  // no Internet Settings key at all: the request still goes out
    };
    for (const auto& setup : setups) {
        MemoryRegistry registry;
        FakeInternet internet;
        setup(registry);
        const int writes = registry.WriteCount();
        const std::string before = registry.Dump(RegRoot::CurrentUser);
        CActivityPinger pinger(registry, internet);
        EXPECT_TRUE(pinger.Ping("http://www.example.com/"));
        EXPECT_EQ(internet.urls.size(), 1u);
        EXPECT_EQ(registry.WriteCount(), writes);
        EXPECT_EQ(registry.Dump(RegRoot::CurrentUser), before);
    }
}

TEST_F(ActivityPinger, StartUpPutsBackWhatAKilledAgentLeftOff) {
    registry.PutDword(RegRoot::CurrentUser, kSettings, "EnableAutodial", 0);
    registry.PutDword(RegRoot::CurrentUser, kMarkerKey, kMarker, 1);
    CActivityPinger::RestoreAutodial(registry);
    EXPECT_EQ(Autodial()->type, REG_DWORD);
    EXPECT_EQ(Autodial()->data, DwordBytes(1));
    EXPECT_FALSE(Marker());
}

TEST_F(ActivityPinger, StartUpWithoutAMarkerWritesNothing) {
    registry.PutDword(RegRoot::CurrentUser, kSettings, "EnableAutodial", 0);
    registry.AddKey(RegRoot::CurrentUser, kMarkerKey);
    const int writes = registry.WriteCount();
    CActivityPinger::RestoreAutodial(registry);
    EXPECT_EQ(registry.WriteCount(), writes);
    EXPECT_EQ(Autodial()->data, DwordBytes(0));
}

TEST_F(ActivityPinger, StartUpKeepsTheMarkerWhileTheValueCantBePutBack) {
    registry.PutDword(RegRoot::CurrentUser, kSettings, "EnableAutodial", 0);
    registry.PutDword(RegRoot::CurrentUser, kMarkerKey, kMarker, 1);
    registry.DenyAccess(RegRoot::CurrentUser, kSettings, KEY_SET_VALUE);
    CActivityPinger::RestoreAutodial(registry);
    EXPECT_EQ(Autodial()->data, DwordBytes(0));
    ASSERT_TRUE(Marker());
    EXPECT_EQ(Marker()->data, DwordBytes(1));
}

}  // namespace
