#include "tests/support/RegistryContract.h"
#include "win32/Win32Registry.h"

#include <windows.h>
#include <shlwapi.h>

TEST(Win32Registry, BehavesAsTheInMemoryModelAssumes) {
    const char* scratch = "SOFTWARE\\ZvTest\\Contract";
    SHDeleteKeyA(HKEY_LOCAL_MACHINE, scratch);
    Win32Registry registry;
    CheckRegistryContract(registry, scratch);
    SHDeleteKeyA(HKEY_LOCAL_MACHINE, scratch);
}
