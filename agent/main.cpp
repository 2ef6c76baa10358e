#include "agent/CZarwatchApp.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    zarwatch::CZarwatchApp app;
    if (!app.InitInstance()) return 0;
    return app.Run();
}
