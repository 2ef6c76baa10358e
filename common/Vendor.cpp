#include "common/Vendor.h"

#include <algorithm>

namespace vendor {

std::string ReferenceTag(const std::string& productName, const std::string& version, const std::string& place) {
    std::string tag = productName + " " + version;
    std::replace(tag.begin(), tag.end(), ' ', '_');
    return tag + "_" + place;
}

std::string Address(Page page, const std::string& productName, const std::string& version, const std::string& place) {
    const std::string ref = "?ref=" + ReferenceTag(productName, version, place);
    const std::string product = productName + " " + version;
    switch (page) {
        case Page::Home: return kWebSite + ref;
        case Page::Faq: return kWebSite + ("zv_faq.html" + ref);
        case Page::Recommend: return kWebSite + ("recommend.html" + ref);
        case Page::SupportMail: return std::string("mailto:") + kSupportMail + "?subject=Question regarding " + product;
        case Page::FeedbackMail: return std::string("mailto:") + kFeedbackMail + "?subject=" + product + " Feedback";
        case Page::AboutMail: return std::string("mailto:") + kSupportMail + "?subject=" + product;
    }
    return std::string();
}

}  // namespace vendor
