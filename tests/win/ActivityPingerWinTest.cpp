// The pinger with the real WinINet and the real registry of the prefix,
// against a server on 127.0.0.1. Every request goes through the prefix's
// proxy setting to that server, so the agent's built-in address is served
// locally too.
#include "common/CActivityPinger.h"
#include "tests/win/LoopbackHttpServer.h"
#include "win32/Win32Internet.h"
#include "win32/Win32Registry.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include <optional>

namespace {

const char* kSettings = CActivityPinger::kInternetSettingsKey;

struct Dword {
    DWORD type = 0, size = 0, value = 0;
};

std::optional<Dword> ReadAutodial() {
    Dword read;
    read.size = sizeof read.value;
    if (SHGetValueA(HKEY_CURRENT_USER, kSettings, "EnableAutodial", &read.type, &read.value, &read.size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    return read;
}

void WriteAutodial(DWORD value) {
    SHSetValueA(HKEY_CURRENT_USER, kSettings, "EnableAutodial", REG_DWORD, &value, sizeof value);
}

void UseProxy(unsigned short port) {
    const DWORD on = 1;
    SHSetValueA(HKEY_CURRENT_USER, kSettings, "ProxyEnable", REG_DWORD, &on, sizeof on);
    const std::string server = "127.0.0.1:" + std::to_string(port);
    SHSetValueA(HKEY_CURRENT_USER, kSettings, "ProxyServer", REG_SZ, server.c_str(),
                static_cast<DWORD>(server.size() + 1));
}

bool Ping() {
    Win32Registry registry;
    Win32Internet internet;
    CActivityPinger pinger(registry, internet);
    return pinger.Ping(CActivityPinger::kDefaultAddress);
}

std::string Page(const std::string& status, const std::string& headers, const std::string& body) {
    return "HTTP/1.1 " + status + "\r\n" + headers + "Connection: close\r\n\r\n" + body;
}

class ActivityPingerWine : public ::testing::Test {
protected:
    void SetUp() override {
        SHDeleteValueA(HKEY_CURRENT_USER, kSettings, "EnableAutodial");
        SHDeleteValueA(HKEY_CURRENT_USER, CActivityPinger::kMarkerKey, CActivityPinger::kMarkerName);
    }
    void TearDown() override {
        const DWORD off = 0;
        SHSetValueA(HKEY_CURRENT_USER, kSettings, "ProxyEnable", REG_DWORD, &off, sizeof off);
        SHDeleteValueA(HKEY_CURRENT_USER, kSettings, "ProxyServer");
    }
};

TEST_F(ActivityPingerWine, AnyAnswerCountsAsOnline) {
    const std::string body(300, 'b');
    const struct {
        const char* what;
        std::string response;
    } cases[] = {
        {"200 with a body", Page("200 OK", "Content-Length: 300\r\n", body)},
        {"404 with a body", Page("404 Not Found", "Content-Length: 300\r\n", body)},
        {"no Content-Length", Page("200 OK", "", body)},
        // Without the cap this would allocate 2 GB and end the process.
        {"huge Content-Length", Page("200 OK", "Content-Length: 2000000000\r\n", std::string(100000, 'h'))},
        {"negative Content-Length", Page("200 OK", "Content-Length: -7\r\n", body)},
    };
    for (const auto& c : cases) {
        LoopbackHttpServer server(c.response);
        UseProxy(server.Port());
        EXPECT_TRUE(Ping()) << c.what;
        ASSERT_EQ(server.Requests().size(), 1u) << c.what;
    }
}

TEST_F(ActivityPingerWine, RequestsTheBuiltInAddressFreshWithItsUserAgent) {
    LoopbackHttpServer server(Page("200 OK", "Content-Length: 2\r\n", "up"));
    UseProxy(server.Port());
    ASSERT_TRUE(Ping());
    ASSERT_EQ(server.Requests().size(), 1u);
    const std::string& head = server.Requests()[0];
    const bool absolute = head.rfind("GET http://www.example.com/ HTTP/1.1\r\n", 0) == 0 ||
                          head.rfind("GET http://www.example.com:80/ HTTP/1.1\r\n", 0) == 0;
    EXPECT_TRUE(absolute) << head;
    EXPECT_NE(head.find("\r\nUser-Agent: Mozilla/4.0+(compatible;+MSIE+6.0;+Windows+NT+5.0)\r\n"),
              std::string::npos)
        << head;
}

TEST_F(ActivityPingerWine, NothingListeningIsOffline) {
    WriteAutodial(1);
    UseProxy(LoopbackHttpServer::UnusedPort());
    EXPECT_FALSE(Ping());
    const auto after = ReadAutodial();
    ASSERT_TRUE(after);
    EXPECT_EQ(after->value, 1u);
}

TEST_F(ActivityPingerWine, AutodialIsOffDuringTheRequestAndBackAfterwardsAsADword) {
    WriteAutodial(1);
    std::optional<Dword> during;
    LoopbackHttpServer server(Page("200 OK", "Content-Length: 2\r\n", "up"), [&] { during = ReadAutodial(); });
    UseProxy(server.Port());
    ASSERT_TRUE(Ping());
    ASSERT_TRUE(during);
    EXPECT_EQ(during->value, 0u);
    const auto after = ReadAutodial();
    ASSERT_TRUE(after);
    EXPECT_EQ(after->type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(after->size, 4u);
    EXPECT_EQ(after->value, 1u);
    DWORD type = 0, marker = 0, size = sizeof marker;
    EXPECT_NE(SHGetValueA(HKEY_CURRENT_USER, CActivityPinger::kMarkerKey, CActivityPinger::kMarkerName, &type,
                          &marker, &size),
              ERROR_SUCCESS);
}

TEST_F(ActivityPingerWine, AutodialOffOrAbsentStaysAsItWas) {
    for (const bool absent : {true, false}) {
        if (!absent) WriteAutodial(0);
        std::optional<Dword> during;
        LoopbackHttpServer server(Page("200 OK", "", ""), [&] { during = ReadAutodial(); });
        UseProxy(server.Port());
        ASSERT_TRUE(Ping());
        EXPECT_EQ(during.has_value(), !absent);
        EXPECT_EQ(ReadAutodial().has_value(), !absent);
        if (!absent) {
            EXPECT_EQ(ReadAutodial()->value, 0u);
        }
    }
}

TEST_F(ActivityPingerWine, AMissingInternetSettingsKeyStillPings) {
    LoopbackHttpServer server(Page("200 OK", "Content-Length: 2\r\n", "up"));
    SHDeleteKeyA(HKEY_CURRENT_USER, kSettings);
    Win32Registry registry;
    Win32Internet internet;
    CActivityPinger pinger(registry, internet);
    // No proxy setting is left, so the server is asked directly.
    EXPECT_TRUE(pinger.Ping("http://127.0.0.1:" + std::to_string(server.Port()) + "/"));
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kSettings, 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
}

}  // namespace
