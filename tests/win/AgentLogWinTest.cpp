// The agent's log in real files: the events of a line that drops and returns,
// a file another program holds (that line is lost, the keep-alive goes on),
// and the turnover that replaces the older file.
#include "agent/KeepAliveAgent.h"
#include "common/CActivityPinger.h"
#include "common/KeepAliveLog.h"
#include "tests/support/FakeAgentView.h"
#include "tests/support/FakeInternet.h"
#include "win32/Win32Desktop.h"
#include "win32/Win32LogFiles.h"
#include "win32/Win32Registry.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <shlwapi.h>

#include <fstream>

namespace {

const char* kProduct = "SOFTWARE\\Orvenda Ltd\\Zarvo";
const std::string kFailed = std::string(KeepAliveLog::kRequestFailed) + CActivityPinger::kDefaultAddress;
const std::string kWorked = std::string(KeepAliveLog::kRequestWorked) + CActivityPinger::kDefaultAddress;

class AgentLogWin : public ::testing::Test {
protected:
    void SetUp() override {
        SHDeleteKeyA(HKEY_LOCAL_MACHINE, kProduct);
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder = std::string(temp) + "zv-agent-log\\";
        CreateDirectoryA(folder.c_str(), nullptr);
        store.WriteString("Install", "Folder", folder, false);
        agent.ReloadSettings();
        agent.Start();
    }
    void TearDown() override {
        DeleteFileA((folder + KeepAliveLog::kFileName).c_str());
        DeleteFileA((folder + KeepAliveLog::kOlderFileName).c_str());
        RemoveDirectoryA(folder.c_str());
        SHDeleteKeyA(HKEY_LOCAL_MACHINE, kProduct);
    }
    // The texts of a file's lines; a line without a time as its text stands out.
    std::vector<std::string> Texts(const char* name) {
        std::ifstream file(folder + name, std::ios::binary);
        std::vector<std::string> texts;
        for (std::string line; std::getline(file, line);) {
            const auto entry = KeepAliveLog::Read(line.substr(0, line.find('\r')));
            texts.push_back(entry && line.back() == '\r' ? entry->text : "unread: " + line);
        }
        return texts;
    }

    Win32Registry registry;
    Win32Desktop desktop;
    SettingsStore store{registry};
    ProductInfo product{registry, desktop};
    FakeInternet internet;
    Win32LogFiles files;
    FakeAgentView view;
    KeepAliveAgent agent{product, registry, internet, desktop, files, view};
    std::string folder;
};

TEST_F(AgentLogWin, ALineThatDropsAndReturnsAndAFileHeldMeanwhile) {
    agent.OnTimer(KeepAliveAgent::kConnectionTimer);
    internet.urlWorks = false;
    agent.OnTimer(KeepAliveAgent::kConnectionTimer);
    // Between events the agent holds nothing: another program may even hold the file alone.
    HANDLE held = CreateFileA((folder + KeepAliveLog::kFileName).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    agent.OnTimer(KeepAliveAgent::kKeepAliveTimer);
    CloseHandle(held);
    EXPECT_EQ(3u, internet.urls.size());
    internet.urlWorks = true;
    agent.OnTimer(KeepAliveAgent::kKeepAliveTimer);
    agent.End();
    EXPECT_EQ(Texts(KeepAliveLog::kFileName),
              (std::vector<std::string>{KeepAliveLog::kStarted, KeepAliveLog::kLineUp, KeepAliveLog::kLineDown,
                                        KeepAliveLog::kLineUp, kWorked, KeepAliveLog::kEnded}));
}

TEST_F(AgentLogWin, AFullLogReplacesTheOlderOne) {
    std::ofstream(folder + KeepAliveLog::kOlderFileName) << "oldest\r\n";
    std::string full;
    while (full.size() < KeepAliveLog::kMostBytes - 20) full += KeepAliveLog::Line({2003, 5, 14, 9, 12, 3}, kFailed);
    std::ofstream(folder + KeepAliveLog::kFileName, std::ios::binary | std::ios::app) << full;
    agent.End();
    EXPECT_EQ(std::vector<std::string>{KeepAliveLog::kEnded}, Texts(KeepAliveLog::kFileName));
    const std::vector<std::string> older = Texts(KeepAliveLog::kOlderFileName);
    EXPECT_EQ(KeepAliveLog::kStarted, older.front());
    EXPECT_EQ(kFailed, older.back());
}

}  // namespace
