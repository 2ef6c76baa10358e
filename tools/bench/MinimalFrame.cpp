// The yardstick for the configurator's start: a frame with zartune.exe's own
// menu, toolbar, status bar and form (dialog 101), which starts the agent
// with ShellExecuteA as the configurator does, and nothing else.
//   bench_frame.exe AGENT_PATH
#include "resources/zartune_ids.h"

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

namespace {

const char kTitle[] = "Minimal Frame";

HWND toolbar = nullptr;
HWND statusBar = nullptr;
HWND form = nullptr;

INT_PTR CALLBACK FormProcedure(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

void Layout(HWND frame) {
    SendMessageA(toolbar, TB_AUTOSIZE, 0, 0);
    SendMessageA(statusBar, WM_SIZE, 0, 0);
    RECT client, bar, status;
    GetClientRect(frame, &client);
    GetWindowRect(toolbar, &bar);
    GetWindowRect(statusBar, &status);
    const int top = bar.bottom - bar.top;
    MoveWindow(form, 0, top, client.right, client.bottom - top - (status.bottom - status.top), TRUE);
}

void CreateBars(HWND frame) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    TBBUTTON buttons[16] = {};
    const int commands[] = {ID_FILE_APPLY, ID_FILE_EVERTIE, ID_FILE_RESTORE, ID_FILE_BACKUP, ID_CPL_INTERNET,
                            ID_CPL_SYSTEM, ID_CPL_MODEMS, ID_CPL_NETWORK, ID_HELP_TOPICS, ID_APP_ABOUT,
                            ID_HELP_WEBSITE};
    int count = 0;
    for (int command : commands) {
        buttons[count].iBitmap = count;
        buttons[count].idCommand = command;
        buttons[count].fsState = TBSTATE_ENABLED;
        buttons[count].fsStyle = TBSTYLE_BUTTON;
        ++count;
    }
    toolbar = CreateToolbarEx(frame, WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS, ID_VIEW_TOOLBAR, 17,
                              instance, IDR_MAINFRAME, buttons, count, 16, 16, 16, 16, sizeof(TBBUTTON));
    statusBar = CreateStatusWindowA(WS_CHILD | WS_VISIBLE, "Ready", frame, ID_VIEW_STATUS_BAR);
    const int panes[] = {300, 450, -1};
    SendMessageA(statusBar, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(panes));
}

LRESULT CALLBACK FrameProcedure(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        CreateBars(frame);
        form = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MAIN_FORM), frame, FormProcedure,
                                  0);
        ShowWindow(form, SW_SHOW);
        return 0;
    case WM_SIZE:
        if (form != nullptr) Layout(frame);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(frame, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    InitCommonControls();
    ShellExecuteA(nullptr, "open", commandLine, "/auto", "", SW_SHOWNORMAL);

    WNDCLASSA frameClass = {};
    frameClass.lpfnWndProc = FrameProcedure;
    frameClass.hInstance = instance;
    frameClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME));
    frameClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    frameClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    frameClass.lpszClassName = "MinimalFrame";
    if (!RegisterClassA(&frameClass)) return 1;
    HWND frame = CreateWindowExA(0, frameClass.lpszClassName, kTitle,
                                 WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
                                 CW_USEDEFAULT, CW_USEDEFAULT, 604, 450, nullptr,
                                 LoadMenuA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME)), instance, nullptr);
    if (frame == nullptr) return 1;
    ShowWindow(frame, SW_SHOW);
    UpdateWindow(frame);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageA(form, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
