#pragma once
#include <windows.h>

#include <string>

// While it lives, a key that Everyone may read, delete and re-permit, but not
// write; then Everyone may do anything with it again.
class WriteProtectedKey {
public:
    explicit WriteProtectedKey(const std::string& path) : path_(path) {
        AllocateAndInitializeSid(&world_, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone_);
        ok_ = Permit(KEY_READ | DELETE | WRITE_DAC);
    }
    ~WriteProtectedKey() {
        Permit(KEY_ALL_ACCESS);
        FreeSid(everyone_);
    }
    bool ok() const { return ok_; }

private:
    bool Permit(REGSAM rights) {
        HKEY key;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path_.c_str(), 0, WRITE_DAC, &key) != ERROR_SUCCESS) return false;
        alignas(DWORD) BYTE buffer[256];
        PACL acl = reinterpret_cast<PACL>(buffer);
        SECURITY_DESCRIPTOR descriptor;
        const bool done = InitializeAcl(acl, sizeof buffer, ACL_REVISION) &&
                          AddAccessAllowedAce(acl, ACL_REVISION, rights, everyone_) &&
                          InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) &&
                          SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE) &&
                          RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor) == ERROR_SUCCESS;
        RegCloseKey(key);
        return done;
    }

    std::string path_;
    SID_IDENTIFIER_AUTHORITY world_ = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone_ = nullptr;
    bool ok_;
};
