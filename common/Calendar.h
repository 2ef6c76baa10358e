#pragma once
#include "win32/Desktop.h"

#include <cstdint>

// The local clock's times as plain numbers: seconds since 1970-01-01 00:00
// of the proleptic Gregorian calendar, with no time zone, and back.
std::int64_t SecondsOf(const LocalTime& time);
LocalTime LocalTimeAt(std::int64_t seconds);
