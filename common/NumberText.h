#pragma once
#include "win32/Desktop.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// printf's "%0*lu" and "%0*lx" without printf, whose MinGW form brings a
// floating-point formatter the programs never use: number's digits, led by
// zeros to at least the given count; hexadecimal in lower case.
std::string DecimalNumber(unsigned long number, int digits);
std::string HexNumber(unsigned long number, int digits);
// "2003-05-14 09:12", with seconds "2003-05-14 09:12:03".
std::string DateTimeText(const LocalTime& time, bool withSeconds);
// The number text holds when it is nothing but 1 to most decimal digits
// (most at most 19); none otherwise.
std::optional<std::uint64_t> DigitsValue(const std::string& text, std::size_t most);
