#pragma once
// The vendor's addresses, in one place for both programs.
#include <algorithm>
#include <string>

namespace vendor {

constexpr const char* kWebSite = "http://www.zarvo.example/";
// The site as a user types it: the keep-alive dialog's example, whose line
// has no room for the whole address.
constexpr const char* kWebSiteHost = "www.zarvo.example";
constexpr const char* kSupportMail = "support@zarvo.example";
constexpr const char* kFeedbackMail = "feedback@zarvo.example";

// The ?ref= tag of the vendor's pages: product name and version with blanks
// as "_", then where the link was ("Zarvo_2003_v5.4_tray").
inline std::string ReferenceTag(const std::string& productName, const std::string& version, const std::string& place) {
    std::string tag = productName + " " + version;
    std::replace(tag.begin(), tag.end(), ' ', '_');
    return tag + "_" + place;
}

}  // namespace vendor
