#pragma once
#include "win32/Registry.h"

// The real registry through the ANSI Win32 functions.
class Win32Registry : public Registry {
public:
    LONG OpenKey(RegRoot root, const std::string& path, REGSAM access, Key* key) override;
    LONG CreateKey(RegRoot root, const std::string& path, REGSAM access, Key* key) override;
    LONG QueryValue(Key key, const std::string& name, DWORD bufferSize, RegValue* value) override;
    LONG SetValue(Key key, const std::string& name, DWORD type, const BYTE* data, DWORD size) override;
    LONG DeleteValue(Key key, const std::string& name) override;
    LONG EnumKey(Key key, DWORD index, std::string* name) override;
    void CloseKey(Key key) override;
};
