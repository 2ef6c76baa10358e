#include "win32/RegKey.h"

#include <algorithm>
#include <cctype>

#include <utility>

RegKey::RegKey(RegKey&& other) noexcept
    : registry_(other.registry_), key_(std::exchange(other.key_, 0)) {}

RegKey& RegKey::operator=(RegKey&& other) noexcept {
    if (this != &other) {
        Close();
        registry_ = other.registry_;
        key_ = std::exchange(other.key_, 0);
    }
    return *this;
}

LONG RegKey::Open(RegRoot root, const std::string& path, REGSAM access) {
    Close();
    Registry::Key key = 0;
    const LONG result = registry_->OpenKey(root, path, access, &key);
    if (result == ERROR_SUCCESS) key_ = key;
    return result;
}

LONG RegKey::Create(RegRoot root, const std::string& path, REGSAM access) {
    Close();
    Registry::Key key = 0;
    const LONG result = registry_->CreateKey(root, path, access, &key);
    if (result == ERROR_SUCCESS) key_ = key;
    return result;
}

void RegKey::Close() {
    if (key_ != 0) registry_->CloseKey(std::exchange(key_, 0));
}

LONG RegKey::Query(const std::string& name, DWORD bufferSize, RegValue* value) const {
    if (key_ == 0) return ERROR_INVALID_HANDLE;
    return registry_->QueryValue(key_, name, bufferSize, value);
}

LONG RegKey::SetString(const std::string& name, const std::string& text) {
    return Set(name, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
               static_cast<DWORD>(text.size() + 1));
}

LONG RegKey::SetDword(const std::string& name, DWORD number) {
    const BYTE bytes[4] = {static_cast<BYTE>(number), static_cast<BYTE>(number >> 8),
                           static_cast<BYTE>(number >> 16), static_cast<BYTE>(number >> 24)};
    return Set(name, REG_DWORD, bytes, sizeof bytes);
}

LONG RegKey::Set(const std::string& name, DWORD type, const BYTE* data, DWORD size) {
    if (key_ == 0) return ERROR_INVALID_HANDLE;
    return registry_->SetValue(key_, name, type, data, size);
}

LONG RegKey::Delete(const std::string& name) {
    if (key_ == 0) return ERROR_INVALID_HANDLE;
    return registry_->DeleteValue(key_, name);
}

LONG RegKey::EnumKey(DWORD index, std::string* name) const {
    if (key_ == 0) return ERROR_INVALID_HANDLE;
    return registry_->EnumKey(key_, index, name);
}

bool SameRegistryName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}
