#pragma once
#include "agent/CMainFrame.h"
#include "common/ProductInfo.h"
#include "win32/Application.h"
#include "win32/Win32Desktop.h"
#include "win32/Win32Internet.h"
#include "win32/Win32LogFiles.h"
#include "win32/Win32Registry.h"

#include <memory>

namespace zarwatch {

// The agent program: one copy per desktop, a hidden main window, the message
// loop. The keep-alive function starts enabled on every start.
class CZarwatchApp : public Application {
public:
    CZarwatchApp();

    // False when the program should end without a message loop.
    bool InitInstance();

private:
    Win32Registry registry_;
    Win32Desktop desktop_;
    Win32Internet internet_;
    Win32LogFiles logFiles_;
    ProductInfo product_;
    std::unique_ptr<CMainFrame> mainFrame_;
};

}  // namespace zarwatch
