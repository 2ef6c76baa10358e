#pragma once
#include <windows.h>

// A critical section, made with the object and deleted with it; Lock holds
// it for one scope.
class CriticalSection {
public:
    CriticalSection() { InitializeCriticalSection(&section_); }
    ~CriticalSection() { DeleteCriticalSection(&section_); }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    class Lock {
    public:
        explicit Lock(CriticalSection& held) : held_(&held) { EnterCriticalSection(&held_->section_); }
        ~Lock() { LeaveCriticalSection(&held_->section_); }
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

    private:
        CriticalSection* held_;
    };

private:
    CRITICAL_SECTION section_;
};
