#pragma once
#include <string>

// A number read the way atoi reads it: leading blanks, a sign, the digits up
// to the first other character; 0 without digits. Overflow is clamped to the
// int range instead of being undefined.
int ReadLeadingInt(const std::string& text);
