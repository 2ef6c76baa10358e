#pragma once
#include "win32/Internet.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

// Scripted WinINet: records what the pinger asks and answers from the script.
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
    DWORD Read(Handle, char* buffer, DWORD size) override {
        readSizes.push_back(size);
        buffer[size - 1] = 'x';  // the whole buffer must be ours to write
        return size;
    }
    void Close(Handle handle) override { closed.push_back(handle); }

    struct UrlCall {
        Handle session;
        std::string url;
        DWORD flags;
    };

    // Script.
    bool sessionWorks = true;
    bool urlWorks = true;
    std::optional<std::string> contentLength;
    std::function<void()> whileRequesting;

    // Record.
    std::vector<std::string> userAgents;
    std::vector<UrlCall> urls;
    std::vector<DWORD> readSizes;
    std::vector<Handle> closed;
};
