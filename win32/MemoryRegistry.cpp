#include "win32/MemoryRegistry.h"

#include "win32/RegKey.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::vector<std::string> SplitPath(const std::string& path) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : path) {
        if (c == '\\') {
            if (!part.empty()) parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty()) parts.push_back(part);
    return parts;
}

const char* TypeName(DWORD type) {
    switch (type) {
    case REG_SZ: return "REG_SZ";
    case REG_DWORD: return "REG_DWORD";
    case REG_BINARY: return "REG_BINARY";
    default: return "REG_OTHER";
    }
}

std::string Describe(const RegValue& value) {
    std::ostringstream out;
    out << TypeName(value.type) << ' ';
    if (const auto number = DwordOf(value)) {
        out << *number;
    } else if (value.type == REG_SZ) {
        out << '"';
        for (BYTE b : value.data) {
            if (b == 0) out << "\\0"; else out << static_cast<char>(b);
        }
        out << '"';
    } else {
        out << value.data.size() << " bytes";
    }
    return out.str();
}

}  // namespace

struct MemoryRegistry::Node {
    std::string name;
    REGSAM denied = 0;
    std::map<std::string, std::unique_ptr<Node>> children;                // by lower-case name
    std::map<std::string, std::pair<std::string, RegValue>> values;      // by lower-case name
};

MemoryRegistry::MemoryRegistry() {
    for (auto& root : roots_) root = std::make_unique<Node>();
}

MemoryRegistry::~MemoryRegistry() = default;

MemoryRegistry::Node* MemoryRegistry::Root(RegRoot root) const {
    switch (root) {
    case RegRoot::ClassesRoot: return roots_[0].get();
    case RegRoot::CurrentUser: return roots_[1].get();
    case RegRoot::LocalMachine: return roots_[2].get();
    }
    return nullptr;
}

MemoryRegistry::Node* MemoryRegistry::Find(RegRoot root, const std::string& path) const {
    Node* node = Root(root);
    for (const std::string& part : SplitPath(path)) {
        auto it = node->children.find(Lower(part));
        if (it == node->children.end()) return nullptr;
        node = it->second.get();
    }
    return node;
}

MemoryRegistry::Node* MemoryRegistry::FindOrCreate(RegRoot root, const std::string& path) {
    Node* node = Root(root);
    for (const std::string& part : SplitPath(path)) {
        auto& child = node->children[Lower(part)];
        if (!child) {
            child = std::make_unique<Node>();
            child->name = part;
        }
        node = child.get();
    }
    return node;
}

LONG MemoryRegistry::Grant(Node* node, REGSAM access, Key* key) {
    if (!ignoreAccessMasks_ && (node->denied & access) != 0) return ERROR_ACCESS_DENIED;
    const Key id = nextKey_++;
    handles_[id] = Handle{node, access};
    *key = id;
    return ERROR_SUCCESS;
}

const MemoryRegistry::Handle* MemoryRegistry::Lookup(Key key, REGSAM needed, LONG* result) const {
    auto it = handles_.find(key);
    if (it == handles_.end()) {
        *result = ERROR_INVALID_HANDLE;
        return nullptr;
    }
    if (!ignoreAccessMasks_ && (it->second.access & needed) != needed) {
        *result = ERROR_ACCESS_DENIED;
        return nullptr;
    }
    *result = ERROR_SUCCESS;
    return &it->second;
}

LONG MemoryRegistry::OpenKey(RegRoot root, const std::string& path, REGSAM access, Key* key) {
    Node* node = Find(root, path);
    if (node == nullptr) return ERROR_FILE_NOT_FOUND;
    return Grant(node, access, key);
}

LONG MemoryRegistry::CreateKey(RegRoot root, const std::string& path, REGSAM access, Key* key) {
    Node* existing = Find(root, path);
    if (existing != nullptr) return Grant(existing, access, key);
    // Creating below a key that refuses new subkeys fails, as in Windows.
    Node* parent = Root(root);
    for (const std::string& part : SplitPath(path)) {
        auto it = parent->children.find(Lower(part));
        if (it == parent->children.end()) break;
        parent = it->second.get();
    }
    if (!ignoreAccessMasks_ && (parent->denied & KEY_CREATE_SUB_KEY) != 0) return ERROR_ACCESS_DENIED;
    return Grant(FindOrCreate(root, path), access, key);
}

LONG MemoryRegistry::QueryValue(Key key, const std::string& name, DWORD bufferSize, RegValue* value) {
    LONG result;
    const Handle* handle = Lookup(key, KEY_QUERY_VALUE, &result);
    if (handle == nullptr) return result;
    auto it = handle->node->values.find(Lower(name));
    if (it == handle->node->values.end()) return ERROR_FILE_NOT_FOUND;
    if (it->second.second.data.size() > bufferSize) return ERROR_MORE_DATA;
    *value = it->second.second;
    return ERROR_SUCCESS;
}

LONG MemoryRegistry::SetValue(Key key, const std::string& name, DWORD type, const BYTE* data, DWORD size) {
    LONG result;
    const Handle* handle = Lookup(key, KEY_SET_VALUE, &result);
    if (handle == nullptr) return result;
    auto& slot = handle->node->values[Lower(name)];
    slot.first = name;
    slot.second.type = type;
    slot.second.data = StoredData(type, data, size);
    ++writes_;
    return ERROR_SUCCESS;
}

LONG MemoryRegistry::DeleteValue(Key key, const std::string& name) {
    LONG result;
    const Handle* handle = Lookup(key, KEY_SET_VALUE, &result);
    if (handle == nullptr) return result;
    if (handle->node->values.erase(Lower(name)) == 0) return ERROR_FILE_NOT_FOUND;
    ++writes_;
    return ERROR_SUCCESS;
}

LONG MemoryRegistry::EnumKey(Key key, DWORD index, std::string* name) {
    LONG result;
    const Handle* handle = Lookup(key, KEY_ENUMERATE_SUB_KEYS, &result);
    if (handle == nullptr) return result;
    if (index >= handle->node->children.size()) return ERROR_NO_MORE_ITEMS;
    *name = std::next(handle->node->children.begin(), index)->second->name;
    return ERROR_SUCCESS;
}

void MemoryRegistry::CloseKey(Key key) { handles_.erase(key); }

void MemoryRegistry::AddKey(RegRoot root, const std::string& path) { FindOrCreate(root, path); }

void MemoryRegistry::Put(RegRoot root, const std::string& path, const std::string& name, DWORD type,
                         const std::vector<BYTE>& data) {
    auto& slot = FindOrCreate(root, path)->values[Lower(name)];
    slot.first = name;
    slot.second.type = type;
    slot.second.data = data;
}

void MemoryRegistry::PutString(RegRoot root, const std::string& path, const std::string& name,
                               const std::string& text) {
    std::vector<BYTE> data(text.begin(), text.end());
    data.push_back(0);
    Put(root, path, name, REG_SZ, data);
}

void MemoryRegistry::PutDword(RegRoot root, const std::string& path, const std::string& name, DWORD number) {
    Put(root, path, name, REG_DWORD, DwordBytes(number));
}

bool MemoryRegistry::HasKey(RegRoot root, const std::string& path) const { return Find(root, path) != nullptr; }

std::optional<RegValue> MemoryRegistry::Value(RegRoot root, const std::string& path, const std::string& name) const {
    const Node* node = Find(root, path);
    if (node == nullptr) return std::nullopt;
    auto it = node->values.find(Lower(name));
    if (it == node->values.end()) return std::nullopt;
    return it->second.second;
}

std::string MemoryRegistry::Dump(RegRoot root) const {
    std::vector<std::string> lines;
    struct Walker {
        std::vector<std::string>& lines;
        void Walk(const Node& node, const std::string& path) {
            for (const auto& entry : node.values) {
                lines.push_back(path + "\\[" + entry.second.first + "] " + Describe(entry.second.second));
            }
            for (const auto& child : node.children) {
                Walk(*child.second, path.empty() ? child.second->name : path + "\\" + child.second->name);
            }
        }
    } walker{lines};
    walker.Walk(*Root(root), "");
    std::sort(lines.begin(), lines.end());
    std::string text;
    for (const auto& line : lines) text += line + "\n";
    return text;
}

void MemoryRegistry::DenyAccess(RegRoot root, const std::string& path, REGSAM rights) {
    FindOrCreate(root, path)->denied |= rights;
}
