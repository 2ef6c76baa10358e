#include "win32/DibPalette.h"

#include <vector>

#ifndef _WIN64
// GetObject fills as much as it is given: BITMAP, BITMAPINFOHEADER, the three
// masks, the section handle and offset, 84 bytes on 32-bit (wingdi.h).
static_assert(sizeof(DIBSECTION) == 84);
#endif

namespace {

struct DeleteDcCloser { void operator()(HDC h) const { DeleteDC(h); } };
using UniqueMemoryDc = UniqueHandle<HDC, DeleteDcCloser>;

}  // namespace

UniqueHpalette CreateDibPalette(HBITMAP dibSection) {
    DIBSECTION section = {};
    if (GetObjectA(dibSection, sizeof section, &section) != sizeof section) return UniqueHpalette();
    const BITMAPINFOHEADER& header = section.dsBmih;
    const DWORD colours = header.biClrUsed != 0 ? header.biClrUsed
                          : header.biBitCount < 32 ? 1u << header.biBitCount
                                                   : 0xFFFFFFFFu;

    WindowDc screen(nullptr);
    if (colours > 256) return UniqueHpalette(CreateHalftonePalette(screen.get()));

    UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
    if (!memory) return UniqueHpalette();
    std::vector<RGBQUAD> table(colours);
    UINT read;
    {
        SelectedObject selected(memory.get(), dibSection);
        read = GetDIBColorTable(memory.get(), 0, colours, table.data());
    }
    if (read == 0) return UniqueHpalette();

    // LOGPALETTE holds one entry; the rest follow it in the same block.
    std::vector<BYTE> block(sizeof(LOGPALETTE) + (read - 1) * sizeof(PALETTEENTRY));
    auto* logical = reinterpret_cast<LOGPALETTE*>(block.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = static_cast<WORD>(read);
    for (UINT i = 0; i < read; ++i) {
        logical->palPalEntry[i] = {table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, 0};
    }
    return UniqueHpalette(CreatePalette(logical));
}

bool LoadBitmapWithPalette(HINSTANCE instance, int id, UniqueHbitmap* bitmap, UniqueHpalette* palette) {
    UniqueHbitmap loaded(static_cast<HBITMAP>(
        LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!loaded) {
        bitmap->reset();
        palette->reset();
        return false;
    }
    *palette = CreateDibPalette(loaded.get());
    *bitmap = std::move(loaded);
    return true;
}
