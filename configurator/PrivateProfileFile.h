#pragma once
#include "configurator/ProfileSection.h"

#include <string>

namespace zartune {

// One section of a real private profile file. Every write is followed by a
// flush, so the file on disk is complete after each key and not only when
// the system gets round to writing its cached copy.
class PrivateProfileFile : public ProfileSection {
public:
    // The longest text a value may hold: Windows refuses longer ones and
    // Wine's WritePrivateProfileStringA crashes on them. Texts read are cut
    // to it: anything longer is damage, and an edit control takes a long
    // text in quadratic time (1 MB kept the form from opening for minutes).
    static constexpr unsigned kLongestText = 32766;

    PrivateProfileFile(std::string path, std::string section);

    std::string ReadText(const char* key, const std::string& defaultText) override;
    int ReadInt(const char* key, int defaultValue) override;
    void Write(const char* key, const std::string& value) override;

private:
    std::string path_;
    std::string section_;
};

}  // namespace zartune
