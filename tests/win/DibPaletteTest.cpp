#include "win32/DibPalette.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A DIB section of the given depth; an 8-bit one gets a colour table whose
// entry i is (i, 255 - i, i / 2).
UniqueHbitmap MakeDib(WORD bits) {
    std::vector<BYTE> block(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
    auto* info = reinterpret_cast<BITMAPINFO*>(block.data());
    info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info->bmiHeader.biWidth = 8;
    info->bmiHeader.biHeight = 8;
    info->bmiHeader.biPlanes = 1;
    info->bmiHeader.biBitCount = bits;
    info->bmiHeader.biCompression = BI_RGB;
    for (int i = 0; i < 256; ++i) {
        info->bmiColors[i] = {static_cast<BYTE>(i / 2), static_cast<BYTE>(255 - i), static_cast<BYTE>(i), 0};
    }
    void* bitsPointer = nullptr;
    return UniqueHbitmap(CreateDIBSection(nullptr, info, DIB_RGB_COLORS, &bitsPointer, nullptr, 0));
}

std::vector<PALETTEENTRY> Entries(HPALETTE palette) {
    WORD count = 0;
    GetObjectA(palette, sizeof count, &count);
    std::vector<PALETTEENTRY> entries(count);
    GetPaletteEntries(palette, 0, count, entries.data());
    return entries;
}

}  // namespace

TEST(DibPalette, EightBitBitmapGetsItsOwnColours) {
    UniqueHbitmap dib = MakeDib(8);
    ASSERT_TRUE(dib);
    UniqueHpalette palette = CreateDibPalette(dib.get());
    ASSERT_TRUE(palette);
    const std::vector<PALETTEENTRY> entries = Entries(palette.get());
    ASSERT_EQ(256u, entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(i, entries[i].peRed);
        EXPECT_EQ(255 - i, entries[i].peGreen);
        EXPECT_EQ(i / 2, entries[i].peBlue);
        EXPECT_EQ(0, entries[i].peFlags);
    }
}

TEST(DibPalette, TrueColourBitmapGetsTheHalftonePalette) {
    UniqueHbitmap dib = MakeDib(24);
    ASSERT_TRUE(dib);
    UniqueHpalette palette = CreateDibPalette(dib.get());
    ASSERT_TRUE(palette);
    WindowDc screen(nullptr);
    UniqueHpalette halftone(CreateHalftonePalette(screen.get()));
    const std::vector<PALETTEENTRY> got = Entries(palette.get());
    const std::vector<PALETTEENTRY> expected = Entries(halftone.get());
    ASSERT_EQ(expected.size(), got.size());
    EXPECT_EQ(0, memcmp(expected.data(), got.data(), got.size() * sizeof(PALETTEENTRY)));
}

TEST(DibPalette, MissingResourceLeavesBothEmpty) {
    UniqueHbitmap bitmap = MakeDib(8);
    UniqueHpalette palette(CreateDibPalette(bitmap.get()));
    EXPECT_FALSE(LoadBitmapWithPalette(GetModuleHandleA(nullptr), 31999, &bitmap, &palette));
    EXPECT_FALSE(bitmap);
    EXPECT_FALSE(palette);
}

TEST(DibPalette, DeviceDependentBitmapHasNoPalette) {
    WindowDc screen(nullptr);
    UniqueHbitmap ddb(CreateCompatibleBitmap(screen.get(), 4, 4));
    ASSERT_TRUE(ddb);
    EXPECT_FALSE(CreateDibPalette(ddb.get()));
}
