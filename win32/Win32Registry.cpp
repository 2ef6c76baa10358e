#include "win32/Win32Registry.h"

namespace {

HKEY ToHkey(RegRoot root) { return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(root)); }
HKEY ToHkey(Registry::Key key) { return reinterpret_cast<HKEY>(key); }

}  // namespace

LONG Win32Registry::OpenKey(RegRoot root, const std::string& path, REGSAM access, Key* key) {
    HKEY opened = nullptr;
    const LONG result = RegOpenKeyExA(ToHkey(root), path.c_str(), 0, access, &opened);
    if (result == ERROR_SUCCESS) *key = reinterpret_cast<Key>(opened);
    return result;
}

LONG Win32Registry::CreateKey(RegRoot root, const std::string& path, REGSAM access, Key* key) {
    HKEY created = nullptr;
    const LONG result = RegCreateKeyExA(ToHkey(root), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                        access, nullptr, &created, nullptr);
    if (result == ERROR_SUCCESS) *key = reinterpret_cast<Key>(created);
    return result;
}

LONG Win32Registry::QueryValue(Key key, const std::string& name, DWORD bufferSize, RegValue* value) {
    std::vector<BYTE> buffer(bufferSize);
    DWORD type = 0;
    DWORD size = bufferSize;
    const LONG result = RegQueryValueExA(ToHkey(key), name.c_str(), nullptr, &type,
                                         buffer.empty() ? nullptr : buffer.data(), &size);
    if (result != ERROR_SUCCESS) return result;
    buffer.resize(size < bufferSize ? size : bufferSize);
    value->type = type;
    value->data = std::move(buffer);
    return ERROR_SUCCESS;
}

LONG Win32Registry::SetValue(Key key, const std::string& name, DWORD type, const BYTE* data, DWORD size) {
    const std::vector<BYTE> stored = StoredData(type, data, size);
    return RegSetValueExA(ToHkey(key), name.c_str(), 0, type, stored.empty() ? data : stored.data(),
                          static_cast<DWORD>(stored.size()));
}

LONG Win32Registry::DeleteValue(Key key, const std::string& name) {
    return RegDeleteValueA(ToHkey(key), name.c_str());
}

LONG Win32Registry::EnumKey(Key key, DWORD index, std::string* name) {
    char buffer[260];
    DWORD size = sizeof buffer;
    const LONG result = RegEnumKeyExA(ToHkey(key), index, buffer, &size, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_SUCCESS) name->assign(buffer, size);
    return result;
}

void Win32Registry::CloseKey(Key key) { RegCloseKey(ToHkey(key)); }
