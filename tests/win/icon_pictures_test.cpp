// Icons drawn from their cached pictures look as DrawIconEx draws them, on any background,
// and the pictures are dropped with the icons they were made from.
#include "items/icon_pictures.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <cstdint>
#include <cstdlib>

#include "framework/handles.h"
#include "support/surface.h"
#include "items/icon_store.h"

namespace {

constexpr int kSize = 32;

// A kSize x kSize surface filled with one colour.
struct Surface : kvtest::Surface {
    explicit Surface(COLORREF fill) : kvtest::Surface(kSize, kSize, fill) {}
};

// The largest difference of one colour channel between the two drawings.
int LargestDifference(const Surface& a, const Surface& b) {
    int largest = 0;
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            for (int shift = 0; shift < 24; shift += 8) {
                const int difference = std::abs(static_cast<int>((a.At(x, y) >> shift) & 0xFF) -
                                                static_cast<int>((b.At(x, y) >> shift) & 0xFF));
                largest = std::max(largest, difference);
            }
        }
    }
    return largest;
}

class IconPicturesTest : public ::testing::Test {
protected:
    void TearDown() override { ForgetIconPictures(); }
};

// An icon with an alpha channel (the shell's) and one with a mask only (made here), drawn on
// grey, on a colour and on white, at offsets that cut them at the edges.
TEST_F(IconPicturesTest, DrawsAsDrawIconExOnAnyBackground) {
    SHFILEINFOA shell = {};
    ASSERT_TRUE(SHGetFileInfoA("C:\\windows\\notepad.exe", 0, &shell, sizeof(shell), SHGFI_ICON | SHGFI_LARGEICON));
    UniqueIcon withAlpha(shell.hIcon);
    uint8_t andMask[kSize * kSize / 8];
    uint8_t xorMask[kSize * kSize / 8];
    uint8_t invertingXor[kSize * kSize / 8];
    for (int i = 0; i < kSize * kSize / 8; ++i) {
        andMask[i] = (i / 4) % 2 ? 0xF0 : 0x0F;  // transparent stripes
        xorMask[i] = 0xAA & ~andMask[i];         // black and white pixels where opaque
        invertingXor[i] = 0xAA;                  // and inverted ones where transparent
    }
    UniqueIcon maskOnly(CreateIcon(nullptr, kSize, kSize, 1, 1, andMask, xorMask));
    UniqueIcon inverting(CreateIcon(nullptr, kSize, kSize, 1, 1, andMask, invertingXor));
    ASSERT_TRUE(maskOnly);
    ASSERT_TRUE(inverting);

    for (HICON icon : {withAlpha.get(), maskOnly.get(), inverting.get()}) {
        for (COLORREF background : {RGB(0x80, 0x80, 0x80), RGB(0xC0, 0x60, 0x20), RGB(0xFF, 0xFF, 0xFF)}) {
            for (int offset : {0, -5, 7}) {
                Surface expected(background), drawn(background);
                DrawIconEx(expected.dc(), offset, offset, icon, kSize, kSize, 0, nullptr, DI_NORMAL);
                DrawIconPicture(drawn.dc(), offset, offset, icon, kSize);
                EXPECT_LE(LargestDifference(expected, drawn), 2)
                    << "background " << std::hex << background << std::dec << " offset " << offset;
            }
        }
    }
    EXPECT_EQ(IconPictureCount(), 3u) << "one entry per icon, however often it is drawn";
}

TEST_F(IconPicturesTest, ClearingTheIconStoreDropsThePictures) {
    IconStore store;
    HICON icon = store.Append("C:\\windows\\notepad.exe", ShellIcon("C:\\windows\\notepad.exe", kSize));
    ASSERT_TRUE(icon);
    Surface surface(RGB(0xFF, 0xFF, 0xFF));
    DrawIconPicture(surface.dc(), 0, 0, icon, kSize);
    ASSERT_EQ(IconPictureCount(), 1u);
    store.Clear();
    EXPECT_EQ(IconPictureCount(), 0u);
}

// A change of icon size starts the pictures over rather than keeping both sizes.
TEST_F(IconPicturesTest, ANewSizeStartsOver) {
    SHFILEINFOA shell = {};
    ASSERT_TRUE(SHGetFileInfoA("C:\\windows\\regedit.exe", 0, &shell, sizeof(shell), SHGFI_ICON | SHGFI_LARGEICON));
    UniqueIcon icon(shell.hIcon);
    Surface surface(RGB(0xFF, 0xFF, 0xFF));
    DrawIconPicture(surface.dc(), 0, 0, icon.get(), kSize);
    DrawIconPicture(surface.dc(), 0, 0, icon.get(), 16);
    EXPECT_EQ(IconPictureCount(), 1u);
}

}  // namespace
