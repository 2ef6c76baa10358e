#pragma once
// The keys and value names the tuning writers touch, below HKEY_LOCAL_MACHINE,
// as the Wine tests of the engine and of the previous-settings record use them.
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
inline const Names kMstcpNames = {"DefaultRcvWindow", "PMTUDiscovery", "PMTUBlackHoleDetect", "SessionKeepAlive",
                                  "DefaultTTL"};
inline const Names kTcpipNames = {"GlobalMaxTcpWindoSize", "GlobalMaxTcpWindowSize", "TcpWindowSize", "DefaultTTL",
                                  "EnablePMTUDiscovery", "EnablePMTUBHDetect", "KeepAliveTime"};
inline const Names kLimitNames = {"MaxConnectionsPer1_0Server", "MaxConnectionsPerServer"};

}  // namespace tunedkeys
