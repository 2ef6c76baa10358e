// The MinGW runtime that is linked into our programs calls three W functions
// of kernel32: CreateSemaphoreW (libgcc's locks, in its thread support, the
// unwinder and the TLS emulation), GetModuleHandleW and LoadLibraryW (the
// CRT's lookups of msvcrt.dll and advapi32.dll). On Windows 95, 98 and Me
// these are stubs that only fail. Defining their import slots here makes the
// linker take these ANSI forms instead of kernel32's, so the programs import
// no W function at all. This file must be linked as an object, not from an
// archive: the runtime is searched after our libraries.
#include <windows.h>

#include <string>

namespace {

// Names reach these from the runtime as plain ASCII; the system's ANSI code
// page carries any other character as well as it can.
std::string Narrow(LPCWSTR text) {
    const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return std::string();
    std::string narrow(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, &narrow[0], size, nullptr, nullptr);
    narrow.resize(static_cast<std::size_t>(size - 1));
    return narrow;
}

HANDLE WINAPI AnsiCreateSemaphore(LPSECURITY_ATTRIBUTES attributes, LONG initial, LONG maximum, LPCWSTR name) {
    if (name == nullptr) return CreateSemaphoreA(attributes, initial, maximum, nullptr);
    return CreateSemaphoreA(attributes, initial, maximum, Narrow(name).c_str());
}

HMODULE WINAPI AnsiGetModuleHandle(LPCWSTR name) {
    if (name == nullptr) return GetModuleHandleA(nullptr);
    return GetModuleHandleA(Narrow(name).c_str());
}

HMODULE WINAPI AnsiLoadLibrary(LPCWSTR name) {
    if (name == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return LoadLibraryA(Narrow(name).c_str());
}

}  // namespace

// The slots through which dllimport calls go, named as the import library names them.
extern "C" {
extern decltype(&AnsiCreateSemaphore) const zvCreateSemaphoreW __asm__("__imp__CreateSemaphoreW@16");
extern decltype(&AnsiGetModuleHandle) const zvGetModuleHandleW __asm__("__imp__GetModuleHandleW@4");
extern decltype(&AnsiLoadLibrary) const zvLoadLibraryW __asm__("__imp__LoadLibraryW@4");
}
decltype(&AnsiCreateSemaphore) const zvCreateSemaphoreW = &AnsiCreateSemaphore;
decltype(&AnsiGetModuleHandle) const zvGetModuleHandleW = &AnsiGetModuleHandle;
decltype(&AnsiLoadLibrary) const zvLoadLibraryW = &AnsiLoadLibrary;
