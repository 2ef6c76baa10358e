#pragma once
#include "win32/UniqueHandle.h"

#include <windows.h>

// A bitmap resource loaded as a DIB section, with a palette to show it on
// palette displays: its own colour table for up to 256 colours, a halftone
// palette for more. False, with both left empty, when the bitmap can't be
// loaded; a palette that can't be made leaves only the palette empty.
bool LoadBitmapWithPalette(HINSTANCE instance, int id, UniqueHbitmap* bitmap, UniqueHpalette* palette);

// The palette for a DIB section, as above; empty when none can be made.
UniqueHpalette CreateDibPalette(HBITMAP dibSection);
