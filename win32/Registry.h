#pragma once
#include "win32/WinTypes.h"

#include <cstdint>
#include <string>
#include <vector>

// The predefined root keys the programs use, with their Win32 values.
enum class RegRoot : std::uint32_t {
    ClassesRoot = 0x80000000u,
    CurrentUser = 0x80000001u,
    LocalMachine = 0x80000002u,
};

struct RegValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;  // exactly the bytes stored, no terminator added
};

// The bytes a write of string data stores: the data with its terminating NUL,
// added when the caller's data lacks one. NT's RegSetValueExA adds it only when
// the byte past the data happens to be NUL (it reads that byte), and 95's
// measures the text itself, so only data that ends in its NUL is stored alike
// everywhere, and nothing past the caller's data is read.
inline std::vector<BYTE> StoredData(DWORD type, const BYTE* data, DWORD size) {
    std::vector<BYTE> stored(data, data + size);
    const bool text = type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
    if (text && !stored.empty() && stored.back() != 0) stored.push_back(0);
    return stored;
}

// The registry as the programs see it: every call answers with a Win32 error
// code. Keys are opened below a root by their full path. Production forwards
// to the Win32 API (Win32Registry); native tests use MemoryRegistry.
class Registry {
public:
    using Key = std::uintptr_t;  // an open key; 0 is never one

    virtual ~Registry() = default;

    virtual LONG OpenKey(RegRoot root, const std::string& path, REGSAM access, Key* key) = 0;
    // Creates missing keys along the path, as RegCreateKeyExA does.
    virtual LONG CreateKey(RegRoot root, const std::string& path, REGSAM access, Key* key) = 0;
    // Fails with ERROR_MORE_DATA, leaving *value alone, when the data is
    // larger than bufferSize bytes.
    virtual LONG QueryValue(Key key, const std::string& name, DWORD bufferSize, RegValue* value) = 0;
    // Stores StoredData(type, data, size).
    virtual LONG SetValue(Key key, const std::string& name, DWORD type, const BYTE* data, DWORD size) = 0;
    virtual LONG DeleteValue(Key key, const std::string& name) = 0;
    virtual LONG EnumKey(Key key, DWORD index, std::string* name) = 0;
    virtual void CloseKey(Key key) = 0;
};
