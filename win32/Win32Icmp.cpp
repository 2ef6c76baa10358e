#include "win32/Win32Icmp.h"

#include <winsock.h>

#include <vector>

#ifndef _WIN64
// What the system reads and writes of them: their documented members laid
// out for 32 bits (ipexport.h; the x86-64 headers keep this form as
// IP_OPTION_INFORMATION32 and ICMP_ECHO_REPLY32).
static_assert(sizeof(IP_OPTION_INFORMATION) == 8);
static_assert(sizeof(ICMP_ECHO_REPLY) == 28);
#endif

namespace {

// Through void*: a FARPROC is no function type of its own.
template <typename Function>
Function Export(HMODULE library, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

}  // namespace

Win32Icmp::~Win32Icmp() = default;

bool Win32Icmp::LoadFrom(const char* name) {
    library_.reset(LoadLibraryA(name));
    if (!library_) return false;
    createFile_ = Export<CreateFileFunction>(library_.get(), "IcmpCreateFile");
    sendEcho_ = Export<SendEchoFunction>(library_.get(), "IcmpSendEcho");
    CloseHandleFunction& close = handle_.get_closer().close;
    close = Export<CloseHandleFunction>(library_.get(), "IcmpCloseHandle");
    return createFile_ != nullptr && sendEcho_ != nullptr && close != nullptr;
}

bool Win32Icmp::Open() {
    Close();
    // XP exports them from iphlpapi.dll; 2000 and the systems before it
    // from icmp.dll only (sources: tests/compat/first_versions.txt, ICMP).
    if ((LoadFrom("iphlpapi.dll") || LoadFrom("icmp.dll")) && winsock_.Start()) handle_.reset(createFile_());
    if (handle_) return true;
    Close();
    return false;
}

bool Win32Icmp::Resolve(const std::string& host, std::uint32_t* address) {
    const unsigned long dotted = inet_addr(host.c_str());
    if (dotted != INADDR_NONE || host == "255.255.255.255") {
        *address = dotted;
        return true;
    }
    const hostent* entry = gethostbyname(host.c_str());
    if (entry == nullptr || entry->h_addrtype != AF_INET || entry->h_addr_list[0] == nullptr) return false;
    *address = *reinterpret_cast<const std::uint32_t*>(entry->h_addr_list[0]);
    return true;
}

Icmp::Reply Win32Icmp::Echo(std::uint32_t address, WORD size, DWORD timeout) {
    if (!handle_) return {};
    std::vector<char> data(size, 'Z');
    // Room for one reply with all the data, and an ICMP error's eight bytes.
    std::vector<char> reply(sizeof(ICMP_ECHO_REPLY) + size + 8 + 64);
    IP_OPTION_INFORMATION options = {};
    options.Ttl = 128;
    options.Flags = IP_FLAG_DF;
    SetLastError(0);
    const DWORD replies = sendEcho_(handle_.get(), address, data.data(), size, &options, reply.data(),
                                    static_cast<DWORD>(reply.size()), timeout);
    if (replies > 0) {
        const auto* answer = reinterpret_cast<const ICMP_ECHO_REPLY*>(reply.data());
        return {answer->Status, answer->RoundTripTime};
    }
    // Some systems tell an ICMP error only through the last error; any
    // other failure counts as no answer.
    const DWORD error = GetLastError();
    if (error > IP_STATUS_BASE && error <= IP_GENERAL_FAILURE) return {error, 0};
    return {};
}

void Win32Icmp::Close() {
    handle_.reset();
    winsock_.Stop();
    library_.reset();
}

bool Win32Icmp::WinsockStart::Start() {
    WSADATA data;
    started_ = WSAStartup(MAKEWORD(1, 1), &data) == 0;
    return started_;
}

void Win32Icmp::WinsockStart::Stop() {
    if (started_) WSACleanup();
    started_ = false;
}
