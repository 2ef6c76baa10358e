#pragma once
#include <string>

// Puts the complete file fresh where target is, and never loses the only good
// copy on the way: Windows' rename does not replace a file, so target steps
// aside first (as SteppedAside(target)) and comes back if fresh cannot take
// its place, or if the copy aside cannot be removed afterwards (a read-only
// one): a copy left there would later stand for the file. A move that stopped
// between the two renames (a power cut) left target missing and the copy
// aside there: that copy is put back first.
// False when fresh could not be moved; target is then as it was, or back from
// where it had stepped aside.
bool MoveIntoPlace(const std::string& fresh, const std::string& target);

// Where target is missing and its stepped-aside copy is there, puts that copy
// back. False when it stays aside.
bool PutBackSteppedAside(const std::string& target);

// Where target waits while fresh takes its place: target + ".old".
std::string SteppedAside(const std::string& target);
// There, though perhaps not readable.
bool FilePresent(const std::string& path);
