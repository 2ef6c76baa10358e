#include "configurator/PrivateProfileFile.h"

#include <windows.h>

#include <utility>
#include <vector>

namespace zartune {

PrivateProfileFile::PrivateProfileFile(std::string path, std::string section)
    : path_(std::move(path)), section_(std::move(section)) {}

std::string PrivateProfileFile::ReadText(const char* key, const std::string& defaultText) {
    std::vector<char> buffer(kLongestText + 1);
    const DWORD length = GetPrivateProfileStringA(section_.c_str(), key, defaultText.c_str(), buffer.data(),
                                                  static_cast<DWORD>(buffer.size()), path_.c_str());
    return std::string(buffer.data(), length);
}

int PrivateProfileFile::ReadInt(const char* key, int defaultValue) {
    // The system parses a sign; the result only comes back unsigned.
    return static_cast<int>(GetPrivateProfileIntA(section_.c_str(), key, defaultValue, path_.c_str()));
}

void PrivateProfileFile::Write(const char* key, const std::string& value) {
    WritePrivateProfileStringA(section_.c_str(), key, value.c_str(), path_.c_str());
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path_.c_str());
}

}  // namespace zartune
