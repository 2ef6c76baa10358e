#include "win32/RegKey.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace {

std::string TextUpToNul(const std::vector<BYTE>& data) {
    std::string text(data.begin(), data.end());
    return text.substr(0, text.find('\0'));
}

}  // namespace

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

std::optional<std::string> RegKey::QueryText(const std::string& name, DWORD bufferSize) const {
    RegValue value;
    if (Query(name, bufferSize, &value) != ERROR_SUCCESS || value.type != REG_SZ) return std::nullopt;
    return TextUpToNul(value.data);
}

std::optional<std::string> RegKey::QueryDataAsText(const std::string& name, DWORD bufferSize, LONG* result) const {
    RegValue value;
    const LONG queried = Query(name, bufferSize, &value);
    if (result != nullptr) *result = queried;
    if (queried != ERROR_SUCCESS) return std::nullopt;
    return TextUpToNul(value.data);
}

std::optional<DWORD> RegKey::QueryDword(const std::string& name) const {
    RegValue value;
    if (Query(name, 4, &value) != ERROR_SUCCESS) return std::nullopt;
    return DwordOf(value);
}

bool RegKey::HasValue(const std::string& name, DWORD bufferSize) const {
    RegValue value;
    return Query(name, bufferSize, &value) == ERROR_SUCCESS;
}

LONG RegKey::SetString(const std::string& name, const std::string& text) {
    return Set(name, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
               static_cast<DWORD>(text.size() + 1));
}

LONG RegKey::SetDword(const std::string& name, DWORD number) {
    const std::vector<BYTE> bytes = DwordBytes(number);
    return Set(name, REG_DWORD, bytes.data(), static_cast<DWORD>(bytes.size()));
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

std::vector<BYTE> DwordBytes(DWORD number) {
    return {static_cast<BYTE>(number), static_cast<BYTE>(number >> 8), static_cast<BYTE>(number >> 16),
            static_cast<BYTE>(number >> 24)};
}

std::optional<DWORD> DwordOf(const RegValue& value) {
    if (value.type != REG_DWORD || value.data.size() != 4) return std::nullopt;
    const std::vector<BYTE>& b = value.data;
    return b[0] | b[1] << 8 | b[2] << 16 | static_cast<DWORD>(b[3]) << 24;
}

bool SameRegistryName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}
