#pragma once
// The vendor's addresses, in one place for both programs.
#include <string>

namespace vendor {

constexpr const char* kWebSite = "http://www.zarvo.example/";
// The site as a user types it: the keep-alive dialog's example, whose line
// has no room for the whole address.
constexpr const char* kWebSiteHost = "www.zarvo.example";
constexpr const char* kSupportMail = "support@zarvo.example";
constexpr const char* kFeedbackMail = "feedback@zarvo.example";

enum class Page {
    Home,
    Faq,
    Recommend,
    SupportMail,   // subject "Question regarding " and the product
    FeedbackMail,  // subject the product and " Feedback"
    AboutMail,     // the About box's support link: subject the product alone
};

// The ?ref= tag of the vendor's pages: product name and version with blanks
// as "_", then where the link was ("Zarvo_2003_v5.4_tray").
std::string ReferenceTag(const std::string& productName, const std::string& version, const std::string& place);
// The address a link to the page opens; place names the link in the web
// pages' tag, and mail addresses take none.
std::string Address(Page page, const std::string& productName, const std::string& version, const std::string& place);

}  // namespace vendor
