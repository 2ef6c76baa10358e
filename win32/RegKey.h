#pragma once
#include "win32/Registry.h"

#include <string>

// Owns one open key of a Registry and closes it when it goes. Move-only.
// A failed Open or Create leaves the object closed; nothing else changes.
class RegKey {
public:
    explicit RegKey(Registry& registry) : registry_(&registry) {}
    RegKey(RegKey&& other) noexcept;
    RegKey& operator=(RegKey&& other) noexcept;
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    ~RegKey() { Close(); }

    LONG Open(RegRoot root, const std::string& path, REGSAM access);
    LONG Create(RegRoot root, const std::string& path, REGSAM access);
    bool IsOpen() const { return key_ != 0; }
    void Close();

    LONG Query(const std::string& name, DWORD bufferSize, RegValue* value) const;
    // REG_SZ with its terminating NUL counted in the data length.
    LONG SetString(const std::string& name, const std::string& text);
    LONG SetDword(const std::string& name, DWORD number);
    LONG Set(const std::string& name, DWORD type, const BYTE* data, DWORD size);
    LONG Delete(const std::string& name);
    LONG EnumKey(DWORD index, std::string* name) const;

private:
    Registry* registry_;
    Registry::Key key_ = 0;
};

// Key paths and value names compare without regard to case, as in Windows.
bool SameRegistryName(const std::string& a, const std::string& b);
