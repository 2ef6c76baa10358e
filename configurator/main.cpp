#include "configurator/CZartuneApp.h"
#include "win32/Win32Desktop.h"
#include "win32/Win32Registry.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    Win32Registry registry;
    Win32Desktop desktop;
    zartune::CZartuneApp app(registry, desktop);
    if (!app.InitInstance()) return app.ExitCode();
    return app.Run();
}
