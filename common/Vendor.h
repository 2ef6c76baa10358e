#pragma once
// The vendor's addresses, in one place for both programs.
namespace vendor {

constexpr const char* kWebSite = "http://www.zarvo.example/";
constexpr const char* kSupportMail = "support@zarvo.example";
constexpr const char* kFeedbackMail = "feedback@zarvo.example";

}  // namespace vendor
