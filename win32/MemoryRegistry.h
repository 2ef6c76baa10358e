#pragma once
#include "win32/Registry.h"

#include <map>
#include <memory>
#include <optional>
#include <string>

// An in-memory registry for native tests. Names are case-insensitive, as in
// Windows. By default a handle allows only what it was opened for (the NT
// rule: a query through a KEY_WRITE handle is refused); IgnoreAccessMasks
// models Windows 9x, which grants everything.
class MemoryRegistry : public Registry {
public:
    MemoryRegistry();
    ~MemoryRegistry() override;

    LONG OpenKey(RegRoot root, const std::string& path, REGSAM access, Key* key) override;
    LONG CreateKey(RegRoot root, const std::string& path, REGSAM access, Key* key) override;
    LONG QueryValue(Key key, const std::string& name, DWORD bufferSize, RegValue* value) override;
    LONG SetValue(Key key, const std::string& name, DWORD type, const BYTE* data, DWORD size) override;
    LONG DeleteValue(Key key, const std::string& name) override;
    LONG EnumKey(Key key, DWORD index, std::string* name) override;
    void CloseKey(Key key) override;

    // Test set-up and inspection; they bypass every access rule.
    void AddKey(RegRoot root, const std::string& path);
    void Put(RegRoot root, const std::string& path, const std::string& name, DWORD type,
             const std::vector<BYTE>& data);
    void PutString(RegRoot root, const std::string& path, const std::string& name, const std::string& text);
    void PutDword(RegRoot root, const std::string& path, const std::string& name, DWORD number);
    bool HasKey(RegRoot root, const std::string& path) const;
    std::optional<RegValue> Value(RegRoot root, const std::string& path, const std::string& name) const;
    // Every value below root as sorted lines "path\[name] TYPE data".
    std::string Dump(RegRoot root) const;

    // Opening or creating this key with any of these rights is refused.
    void DenyAccess(RegRoot root, const std::string& path, REGSAM rights);
    void IgnoreAccessMasks(bool ignore) { ignoreAccessMasks_ = ignore; }
    int OpenKeyCount() const { return static_cast<int>(handles_.size()); }
    int WriteCount() const { return writes_; }

private:
    struct Node;
    struct Handle {
        Node* node;
        REGSAM access;
    };

    Node* Root(RegRoot root) const;
    Node* Find(RegRoot root, const std::string& path) const;
    Node* FindOrCreate(RegRoot root, const std::string& path);
    LONG Grant(Node* node, REGSAM access, Key* key);
    const Handle* Lookup(Key key, REGSAM needed, LONG* result) const;

    std::unique_ptr<Node> roots_[3];
    std::map<Key, Handle> handles_;
    Key nextKey_ = 1;
    bool ignoreAccessMasks_ = false;
    int writes_ = 0;
};
