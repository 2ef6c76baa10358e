#pragma once
#include <windows.h>

// The message loop of a program. OnIdle runs once each time the queue has
// been emptied, which is where command states and status texts are brought
// up to date. PreTranslate lets modeless dialogs and tooltips see a message
// before it is dispatched.
class Application {
public:
    Application() = default;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;
    virtual ~Application() = default;

    int Run();

protected:
    virtual void OnIdle() noexcept {}
    virtual bool PreTranslate(MSG& message) noexcept { (void)message; return false; }
};
