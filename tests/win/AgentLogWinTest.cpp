// The agent's log in a real file, which another program holds alone for a moment.
#include "agent/KeepAliveAgent.h"
#include "tests/support/FakeAgentView.h"
#include "tests/support/FakeInternet.h"
#include "win32/Win32Desktop.h"
#include "win32/Win32LogFiles.h"
#include "win32/Win32Registry.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include <fstream>

TEST(AgentLogWin, ALineThatDropsAndReturnsWhileAnotherProgramHoldsTheFileForAMoment) {
    SHDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Orvenda Ltd\\Zarvo");
    char temp[MAX_PATH];
    const std::string log = std::string(temp, GetTempPathA(MAX_PATH, temp)) + "zarwatch.log";
    Win32Registry registry;
    Win32Desktop desktop;
    SettingsStore(registry).WriteString("Install", "Folder", temp, false);
    ProductInfo product(registry, desktop);
    FakeInternet internet;
    Win32LogFiles files;
    FakeAgentView view;
    KeepAliveAgent agent(product, registry, internet, desktop, files, view);
    agent.ReloadSettings();
    agent.Start();
    agent.OnTimer(KeepAliveAgent::kConnectionTimer);
    internet.urlWorks = false;
    agent.OnTimer(KeepAliveAgent::kConnectionTimer);
    // Between events the agent holds no handle; an event while another program holds one loses its line.
    HANDLE held = CreateFileA(log.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    agent.OnTimer(KeepAliveAgent::kKeepAliveTimer);
    EXPECT_TRUE(CloseHandle(held));
    internet.urlWorks = true;
    agent.OnTimer(KeepAliveAgent::kKeepAliveTimer);
    EXPECT_EQ(4u, internet.urls.size());
    std::string texts, line;
    for (std::ifstream file(log, std::ios::binary); std::getline(file, line);) texts += line.substr(line.size() < 21 ? 0 : 21) + "|";
    EXPECT_EQ("Zarwatch started\r|Line up\r|Line down\r|Line up\r|"
              "Keep-alive request worked again: http://www.example.com/\r|", texts);
    DeleteFileA(log.c_str());
    SHDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Orvenda Ltd\\Zarvo");
}
