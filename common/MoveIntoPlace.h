#pragma once
#include <string>

// Puts the complete file fresh where target is, and never loses target on the
// way: Windows' rename does not replace a file, so target steps aside first
// (as target + ".old") and comes back if fresh cannot take its place. False
// when fresh could not be moved; target is then as it was.
bool MoveIntoPlace(const std::string& fresh, const std::string& target);
