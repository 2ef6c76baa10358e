#include "common/ProductInfo.h"
#include "tests/support/FakeDesktop.h"
#include "win32/MemoryRegistry.h"

#include <gtest/gtest.h>

namespace {

const std::string kRun = "SOFTWARE\\MICROSOFT\\WINDOWS\\CurrentVersion\\Run";
const std::string kRunServices = "SOFTWARE\\MICROSOFT\\WINDOWS\\CurrentVersion\\RunServices";

class ProductInfoTest : public ::testing::Test {
protected:
    std::string RunValue(const std::string& key) {
        const auto value = registry.Value(RegRoot::LocalMachine, key, "Detect");
        if (!value) return "<absent>";
        return std::string(value->data.begin(), value->data.end());
    }

    MemoryRegistry registry;
    FakeDesktop desktop;
    ProductInfo product{registry, desktop};
};

TEST_F(ProductInfoTest, SwitchWordRules) {
    struct Case {
        const char* commandLine;
        const char* word;
    } cases[] = {
        {"zartune.exe", ""},
        {"\"C:\\Program Files\\Zarvo\\zartune.exe\" /UNINSTALL", "uninstall"},
        {"zartune.exe /about extra", "about extra"},
        {"zartune.exe   /ping  ", "ping"},
        {"zartune.exe /\"detect\"", "detect"},
        {"C:/Zarvo/zartune.exe /about", "zarvo/zartune.exe /about"},
        {"zartune.exe /", ""},
    };
    for (const auto& c : cases) {
        desktop.commandLine = c.commandLine;
        EXPECT_EQ(c.word, product.SwitchWord()) << c.commandLine;
    }
}

TEST_F(ProductInfoTest, InstallFolderEndsWithExactlyOneBackslash) {
    product.Store().WriteString("Install", "Folder", "C:\\Zarvo", false);
    EXPECT_EQ("C:\\Zarvo\\", product.InstallFolder());
    product.Store().WriteString("Install", "Folder", "C:\\Zarvo\\", false);
    EXPECT_EQ("C:\\Zarvo\\", product.InstallFolder());
    EXPECT_TRUE(desktop.messageBoxes.empty());
}

TEST_F(ProductInfoTest, MissingInstallFolderWarnsOnEveryCall) {
    EXPECT_EQ("", product.InstallFolder());
    EXPECT_EQ("", product.InstallFolder());
    ASSERT_EQ(2u, desktop.messageBoxes.size());
    const auto& box = desktop.messageBoxes[0];
    EXPECT_EQ(0u, box.owner);
    EXPECT_EQ("Zarvo 2003 - Severe Error", box.caption);
    EXPECT_EQ(static_cast<UINT>(MB_SYSTEMMODAL | MB_ICONERROR), box.type);
    EXPECT_EQ("Missing registry information, please re-install Zarvo 2003.\n"
              "For more information contact our support team <support@zarvo.example>.",
              box.text);
}

TEST_F(ProductInfoTest, HelpPathIsFolderAndFileWithoutSecondSeparator) {
    product.Store().WriteString("Install", "Folder", "C:\\Zarvo\\", false);
    product.ShowHelpTopic("zartune.hlp", "Evertie");
    ASSERT_EQ(1u, desktop.helpCalls.size());
    EXPECT_EQ("C:\\Zarvo\\zartune.hlp", desktop.helpCalls[0].file);
    EXPECT_EQ(static_cast<UINT>(HELP_KEY), desktop.helpCalls[0].command);
    EXPECT_EQ("Evertie", desktop.helpCalls[0].keyword);
}

TEST_F(ProductInfoTest, HelpWithoutInstallFolderOpensNothing) {
    product.ShowHelpTopic("zartune.hlp", "Evertie");
    EXPECT_TRUE(desktop.helpCalls.empty());
    EXPECT_EQ(1u, desktop.messageBoxes.size());
}

TEST_F(ProductInfoTest, OnlyAccessDeniedRefusesPermission) {
    EXPECT_TRUE(product.CanWriteMachineSettings());  // no Run key at all
    registry.AddKey(RegRoot::LocalMachine, kRun);
    EXPECT_TRUE(product.CanWriteMachineSettings());
    EXPECT_TRUE(desktop.messageBoxes.empty());

    registry.DenyAccess(RegRoot::LocalMachine, kRun, KEY_SET_VALUE);
    EXPECT_FALSE(product.CanWriteMachineSettings());
    ASSERT_EQ(1u, desktop.messageBoxes.size());
    EXPECT_EQ("Zarvo 2003 Permissions Error", desktop.messageBoxes[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), desktop.messageBoxes[0].type);
    EXPECT_EQ(0, desktop.messageBoxes[0].text.find("Zarvo 2003 accelerates the Internet connection"));
    EXPECT_NE(std::string::npos, desktop.messageBoxes[0].text.find("be able to modify Zarvo 2003 configuration."));
    EXPECT_EQ(0, registry.OpenKeyCount());
}

TEST_F(ProductInfoTest, LargeFontsMeanExactly120Dpi) {
    for (int dpi : {96, 119, 121, 144}) {
        desktop.logPixelsX = dpi;
        EXPECT_FALSE(product.IsLargeFontDisplay()) << dpi;
    }
    desktop.logPixelsX = 120;
    EXPECT_TRUE(product.IsLargeFontDisplay());
}

TEST_F(ProductInfoTest, NoWindowTitledLooksForTheExactTitle) {
    EXPECT_TRUE(product.NoWindowTitled("ZV - Kavrel"));
    desktop.windowTitles.insert("ZV - Kavrel");
    EXPECT_FALSE(product.NoWindowTitled("ZV - Kavrel"));
}

TEST_F(ProductInfoTest, AutostartWritesTheQuotedPathUnderExistingKeysOnly) {
    registry.AddKey(RegRoot::LocalMachine, kRun);
    desktop.commandLine = "\"C:\\Program Files\\Zarvo\\zarwatch.exe\" /auto";
    product.RegisterAutostart(" /auto");
    EXPECT_EQ(std::string("\"C:\\Program Files\\Zarvo\\zarwatch.exe\" /auto") + '\0', RunValue(kRun));
    EXPECT_FALSE(registry.HasKey(RegRoot::LocalMachine, kRunServices));

    registry.AddKey(RegRoot::LocalMachine, kRunServices);
    desktop.commandLine = "C:\\Zarvo\\zarwatch.exe";
    product.RegisterAutostart(" /auto");
    EXPECT_EQ(std::string("\"C:\\Zarvo\\zarwatch.exe\" /auto") + '\0', RunValue(kRun));
    EXPECT_EQ(RunValue(kRun), RunValue(kRunServices));
    EXPECT_EQ(0, registry.OpenKeyCount());
}

TEST_F(ProductInfoTest, AutostartFallsBackToTheModulePath) {
    registry.AddKey(RegRoot::LocalMachine, kRun);
    desktop.commandLine = "C:\\ZARVO\\ZARWATCH.EXE /auto";
    desktop.modulePath = "C:\\ZARVO\\ZARWATCH.EXE";
    product.RegisterAutostart(" /auto");
    EXPECT_EQ(std::string("\"C:\\ZARVO\\ZARWATCH.EXE\" /auto") + '\0', RunValue(kRun));
}

TEST_F(ProductInfoTest, AutostartSkipsKeysItMayNotWrite) {
    registry.AddKey(RegRoot::LocalMachine, kRunServices);
    registry.DenyAccess(RegRoot::LocalMachine, kRun, KEY_SET_VALUE);
    desktop.commandLine = "C:\\Zarvo\\zarwatch.exe";
    product.RegisterAutostart(" /auto");
    EXPECT_EQ("<absent>", RunValue(kRun));
    EXPECT_EQ(std::string("\"C:\\Zarvo\\zarwatch.exe\" /auto") + '\0', RunValue(kRunServices));
}

TEST_F(ProductInfoTest, MissingFilesTextCarriesTheCode) {
    EXPECT_EQ("You are using a CORRUPTED copy of Zarvo 2003.\n\n"
              "In order to fix this problem, all you have to do is to reinstall Zarvo 2003. \n\n"
              "If after your second installation the problem persists, please contact\n"
              "our support team (support@zarvo.example) and specify that your error code is 00102.",
              product.MissingFilesText("00102"));
}

}  // namespace
