#pragma once
#include <string>

// One section of a private profile file, as GetPrivateProfileStringA,
// GetPrivateProfileIntA and WritePrivateProfileStringA see it.
class ProfileSection {
public:
    virtual ~ProfileSection() = default;

    // The default when the key is missing.
    virtual std::string ReadText(const char* key, const std::string& defaultText) = 0;
    // Signed: "-1" reads as -1. The default when the key is missing.
    virtual int ReadInt(const char* key, int defaultValue) = 0;
    virtual void Write(const char* key, const std::string& value) = 0;
};
