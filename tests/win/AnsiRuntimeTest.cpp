// The ANSI stand-ins for the W functions that the MinGW runtime calls
// (win32/AnsiRuntime.cpp), reached as the runtime reaches them: through the
// import slots of kernel32's functions.
#include <gtest/gtest.h>
#include <windows.h>

extern "C" {
extern void* const zvTestCreateSemaphoreW __asm__("__imp__CreateSemaphoreW@16");
extern void* const zvTestGetModuleHandleW __asm__("__imp__GetModuleHandleW@4");
extern void* const zvTestLoadLibraryW __asm__("__imp__LoadLibraryW@4");
}

TEST(AnsiRuntime, ImportSlotsHoldTheStandInsNotKernel32s) {
    HMODULE kernel32 = GetModuleHandleA("kernel32.dll");
    ASSERT_NE(nullptr, kernel32);
    for (auto [slot, name] : {std::pair{zvTestCreateSemaphoreW, "CreateSemaphoreW"},
                              std::pair{zvTestGetModuleHandleW, "GetModuleHandleW"},
                              std::pair{zvTestLoadLibraryW, "LoadLibraryW"}}) {
        EXPECT_NE(nullptr, slot) << name;
        EXPECT_NE(reinterpret_cast<void*>(GetProcAddress(kernel32, name)), slot) << name;
    }
}

TEST(AnsiRuntime, UnnamedSemaphoreCountsAsTheRuntimeExpects) {
    HANDLE semaphore = CreateSemaphoreW(nullptr, 0, 2, nullptr);
    ASSERT_NE(nullptr, semaphore);
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(semaphore, 0));
    EXPECT_TRUE(ReleaseSemaphore(semaphore, 2, nullptr));
    EXPECT_FALSE(ReleaseSemaphore(semaphore, 1, nullptr));  // above the maximum
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(semaphore, 0));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(semaphore, 0));
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(semaphore, 0));
    CloseHandle(semaphore);
}

TEST(AnsiRuntime, NamedSemaphoreIsFoundByItsAnsiName) {
    HANDLE semaphore = CreateSemaphoreW(nullptr, 1, 1, L"ZvAnsiRuntimeTest");
    ASSERT_NE(nullptr, semaphore);
    HANDLE same = OpenSemaphoreA(SEMAPHORE_ALL_ACCESS, FALSE, "ZvAnsiRuntimeTest");
    ASSERT_NE(nullptr, same);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(same, 0));
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(semaphore, 0));
    CloseHandle(same);
    CloseHandle(semaphore);
}

TEST(AnsiRuntime, ModulesAreFoundAndLoadedByTheirAnsiNames) {
    EXPECT_EQ(GetModuleHandleA(nullptr), GetModuleHandleW(nullptr));
    EXPECT_EQ(GetModuleHandleA("kernel32.dll"), GetModuleHandleW(L"kernel32.dll"));
    EXPECT_EQ(nullptr, GetModuleHandleW(L"zv-no-such-module.dll"));

    HMODULE advapi32 = LoadLibraryW(L"advapi32.dll");
    ASSERT_NE(nullptr, advapi32);
    EXPECT_EQ(GetModuleHandleA("advapi32.dll"), advapi32);
    EXPECT_NE(nullptr, reinterpret_cast<void*>(GetProcAddress(advapi32, "RegOpenKeyExA")));
    FreeLibrary(advapi32);
    EXPECT_EQ(nullptr, LoadLibraryW(L"zv-no-such-module.dll"));
    EXPECT_EQ(nullptr, LoadLibraryW(nullptr));
}
