#pragma once
#include <string>

// printf's "%0*lu" and "%0*lx" without printf, whose MinGW form brings a
// floating-point formatter the programs never use: number's digits, led by
// zeros to at least the given count; hexadecimal in lower case.
std::string DecimalNumber(unsigned long number, int digits);
std::string HexNumber(unsigned long number, int digits);
