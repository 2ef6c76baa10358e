#pragma once
#include "win32/Internet.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Scripted WinINet: records what it is asked and answers from the script. A
// body without a size never ends; each read fills the whole buffer it may.
class FakeInternet : public Internet {
public:
    static constexpr Handle kSession = 0x100;
    static constexpr Handle kRequest = 0x200;

    Handle OpenSession(const std::string& userAgent) override {
        userAgents.push_back(userAgent);
        return sessionWorks ? kSession : 0;
    }
    Handle OpenUrl(Handle session, const std::string& url, DWORD flags) override {
        urls.push_back({session, url, flags});
        if (whileRequesting) whileRequesting();
        return session != 0 && urlWorks ? kRequest : 0;
    }
    bool QueryContentLength(Handle, std::string* text) override {
        if (!contentLength) return false;
        *text = *contentLength;
        return true;
    }
    bool QueryStatus(Handle, DWORD* code, std::string* text) override {
        *code = status;
        *text = statusText;
        return status != 0;
    }
    void SetReceiveTimeout(Handle, DWORD milliseconds) override { timeouts.push_back(milliseconds); }
    bool Read(Handle, char* buffer, DWORD size, DWORD* read) override {
        readSizes.push_back(size);
        if (whileReading) whileReading();
        *read = 0;
        if (static_cast<int>(readSizes.size()) == failingRead) return false;
        *read = body ? static_cast<DWORD>(std::min<std::uint64_t>(size, *body - sent)) : size;
        if (*read > 0) buffer[*read - 1] = 'x';  // what it reads must be ours to write
        sent += *read;
        return true;
    }
    void Close(Handle handle) override { closed.push_back(handle); }
    DWORD LastError() override { return error; }
    std::string ErrorText(DWORD) override { return errorText; }

    struct UrlCall {
        Handle session;
        std::string url;
        DWORD flags;
    };

    // Script.
    bool sessionWorks = true;
    bool urlWorks = true;
    std::optional<std::string> contentLength;
    DWORD status = 200;  // 0: none
    std::string statusText = "OK";
    std::optional<std::uint64_t> body;
    int failingRead = 0;  // its number, from 1
    DWORD error = 0;
    std::string errorText;  // Windows' words for it
    std::function<void()> whileRequesting;
    std::function<void()> whileReading;

    // Record.
    std::vector<std::string> userAgents;
    std::vector<UrlCall> urls;
    std::vector<DWORD> readSizes, timeouts;
    std::vector<Handle> closed;
    std::uint64_t sent = 0;
};
