#pragma once
// The keys and value names the tuning writers touch, below HKEY_LOCAL_MACHINE,
// as the Wine tests of the engine and of the previous-settings record use them.
#include <windows.h>
#include <shlwapi.h>

#include <string>
#include <vector>

namespace tunedkeys {

inline const std::string kMstcp = "System\\CurrentControlSet\\Services\\VxD\\MSTCP";
inline const std::string kNwLink = "System\\CurrentControlSet\\Services\\VxD\\NWLink";
inline const std::string kCache = kNwLink + "\\Ndi\\params\\cachesize";
inline const std::string kTcpip = "System\\CurrentControlSet\\Services\\Tcpip\\Parameters";
inline const std::string kInterfaces = kTcpip + "\\Interfaces";
inline const std::string kInternet = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
inline const std::string kClass = "System\\CurrentControlSet\\Services\\Class";
inline const std::string kServices = "System\\CurrentControlSet\\Services\\";
inline const std::string kCards = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards\\";

using Names = std::vector<std::string>;
inline const Names kMstcpNames = {"DefaultRcvWindow", "Tcp1323Opts",        "PMTUDiscovery",
                                  "PMTUBlackHoleDetect", "SessionKeepAlive", "DefaultTTL"};
inline const Names kTcpipNames = {"GlobalMaxTcpWindoSize", "GlobalMaxTcpWindowSize", "TcpWindowSize", "Tcp1323Opts",
                                  "DefaultTTL", "EnablePMTUDiscovery", "EnablePMTUBHDetect", "KeepAliveTime"};
inline const Names kLimitNames = {"MaxConnectionsPer1_0Server", "MaxConnectionsPerServer"};

// Removes the 9x adapter chain and the NDI cache key a test made, and the
// parents it made for them, which go only when nothing else is left in them.
inline void RemoveNineXKeys() {
    SHDeleteKeyA(HKEY_LOCAL_MACHINE, "Enum\\Root\\Net");
    SHDeleteKeyA(HKEY_LOCAL_MACHINE, "Enum\\Network\\MSTCP");
    SHDeleteKeyA(HKEY_LOCAL_MACHINE, (kClass + "\\NetTrans").c_str());
    SHDeleteKeyA(HKEY_LOCAL_MACHINE, kCache.c_str());
    for (const std::string& parent : {std::string("Enum\\Root"), std::string("Enum\\Network"), std::string("Enum"),
                                      kClass, kNwLink + "\\Ndi\\params", kNwLink + "\\Ndi", kNwLink, kInterfaces}) {
        SHDeleteEmptyKeyA(HKEY_LOCAL_MACHINE, parent.c_str());
    }
}

}  // namespace tunedkeys
