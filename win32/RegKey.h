#pragma once
#include "win32/Registry.h"

#include <optional>
#include <string>
#include <vector>

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
    // A REG_SZ up to its first NUL, or to the data's end when it has none.
    // Nothing for another type, data larger than bufferSize, or any failure.
    std::optional<std::string> QueryText(const std::string& name, DWORD bufferSize) const;
    // The data of a value of any type up to its first NUL, as a char buffer
    // filled by RegQueryValueExA or RegQueryValueA holds it. *result, when
    // asked for, is the query's error code.
    std::optional<std::string> QueryDataAsText(const std::string& name, DWORD bufferSize,
                                               LONG* result = nullptr) const;
    // A REG_DWORD of exactly four bytes; nothing for any other value.
    std::optional<DWORD> QueryDword(const std::string& name) const;
    // Whether the value reads into bufferSize bytes, whatever its type.
    bool HasValue(const std::string& name, DWORD bufferSize) const;
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

// The four little-endian bytes of a REG_DWORD.
std::vector<BYTE> DwordBytes(DWORD number);
// The number in a REG_DWORD of exactly four bytes; nothing for any other value.
std::optional<DWORD> DwordOf(const RegValue& value);

// Key paths and value names compare without regard to case, as in Windows.
bool SameRegistryName(const std::string& a, const std::string& b);
