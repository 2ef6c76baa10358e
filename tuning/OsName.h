#pragma once
#include "win32/Desktop.h"

#include <string>

// The display name of the running Windows: "Win32s", "Windows 95",
// "Windows 98", "Windows Me", "Windows NT", "Windows 2000", "Windows XP" or
// "Unknown". Every family decision is taken on this name; nothing is cached.

// The name for a version record filled by whichever of the two queries
// (extended, then basic) succeeded; "Unknown" when both were refused.
std::string OsNameFor(const OsVersionRecord& record, bool extendedAnswered, bool basicAnswered);

// Asks for the extended record first and falls back to the basic one, which
// the oldest systems alone understand.
std::string GetOsName(Desktop& desktop);

// True for "Windows NT", "Windows 2000" and "Windows XP"; every other name,
// "Unknown" included, takes the 9x paths.
bool IsNtFamily(const std::string& osName);
bool IsNtFamily(Desktop& desktop);

// True where TCP takes receive windows above 65535 bytes through RFC 1323
// window scaling ("Tcp1323Opts"): 98, Me, 2000 and XP. Windows 95 and NT 4
// end at 65535 (Microsoft KB 158474, "Windows TCP/IP Registry Entries";
// "Microsoft Windows 2000 TCP/IP Implementation Details", which lists window
// scaling among the features new since NT 4); any other name is kept there too.
bool ScalesWindows(const std::string& osName);
