#pragma once
// A one-connection-at-a-time HTTP server on 127.0.0.1 for tests: it reads a
// request's head, runs an optional check while the client waits, sends the
// scripted response and closes the connection.
#include <winsock2.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class LoopbackHttpServer {
public:
    explicit LoopbackHttpServer(std::string response, std::function<void()> whileClientWaits = {})
        : response_(std::move(response)), whileClientWaits_(std::move(whileClientWaits)) {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        listen(listener_, 4);
        int size = sizeof address;
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
        port_ = ntohs(address.sin_port);
        thread_ = CreateThread(nullptr, 0, &LoopbackHttpServer::Serve, this, 0, nullptr);
    }
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;
    ~LoopbackHttpServer() {
        closesocket(listener_);
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        WSACleanup();
    }

    unsigned short Port() const { return port_; }
    // The heads of the requests served so far (read them once the client is done).
    const std::vector<std::string>& Requests() const { return requests_; }

    // A port on which nothing listens.
    static unsigned short UnusedPort() {
        LoopbackHttpServer probe("");
        return probe.Port();
    }

private:
    static DWORD WINAPI Serve(void* self) {
        static_cast<LoopbackHttpServer*>(self)->ServeAll();
        return 0;
    }

    void ServeAll() {
        for (;;) {
            SOCKET client = accept(listener_, nullptr, nullptr);
            if (client == INVALID_SOCKET) return;
            std::string head;
            char buffer[1024];
            while (head.find("\r\n\r\n") == std::string::npos) {
                const int got = recv(client, buffer, sizeof buffer, 0);
                if (got <= 0) break;
                head.append(buffer, got);
            }
            requests_.push_back(head);
            if (whileClientWaits_) whileClientWaits_();
            for (std::size_t sent = 0; sent < response_.size();) {
                const int put = send(client, response_.data() + sent, static_cast<int>(response_.size() - sent), 0);
                if (put <= 0) break;
                sent += put;
            }
            shutdown(client, SD_SEND);
            while (recv(client, buffer, sizeof buffer, 0) > 0) {
            }
            closesocket(client);
        }
    }

    std::string response_;
    std::function<void()> whileClientWaits_;
    SOCKET listener_ = INVALID_SOCKET;
    unsigned short port_ = 0;
    HANDLE thread_ = nullptr;
    std::vector<std::string> requests_;
};
