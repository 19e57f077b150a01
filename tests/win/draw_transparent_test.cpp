// Colour-key blitting on real GDI memory surfaces.
#include "theme/draw_transparent.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/surface.h"

namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGrey = RGB(100, 110, 120);

using kvtest::Surface;

TEST(DrawTransparent, KeyPixelsKeepTheDestinationAndAllOthersAreCopied) {
    Surface source(5, 1, kGrey);
    const std::vector<COLORREF> row = {kMagenta, kBlack, kRed, kWhite, RGB(254, 0, 255)};
    for (int x = 0; x < 5; ++x)
        source.Set(x, 0, row[x]);

    Surface dest(5, 1, kBlue);
    DrawTransparent(source.dc(), dest.dc(), 0, 0, 5, 1, 0, 0, kMagenta);
    EXPECT_EQ(kBlue, dest.At(0, 0));   // the key shows what was beneath
    EXPECT_EQ(kBlack, dest.At(1, 0));  // black is a colour, not a hole
    EXPECT_EQ(kRed, dest.At(2, 0));
    EXPECT_EQ(kWhite, dest.At(3, 0));
    EXPECT_EQ(RGB(254, 0, 255), dest.At(4, 0));  // only the exact key is left out

    // Another key: magenta is now an ordinary colour and green would be the hole.
    Surface other(5, 1, kBlue);
    source.Set(1, 0, kGreen);
    DrawTransparent(source.dc(), other.dc(), 0, 0, 5, 1, 0, 0, kGreen);
    EXPECT_EQ(kMagenta, other.At(0, 0));
    EXPECT_EQ(kBlue, other.At(1, 0));
}

TEST(DrawTransparent, CopiesOnlyTheRequestedRectangleToTheRequestedPlace) {
    Surface source(4, 4, kMagenta);
    source.Set(2, 1, kRed);
    source.Set(3, 2, kBlack);
    Surface dest(6, 6, kBlue);
    // Source rectangle (2, 1)-(4, 3) to destination (1, 3).
    DrawTransparent(source.dc(), dest.dc(), 1, 3, 2, 2, 2, 1, kMagenta);
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 6; ++x) {
            SCOPED_TRACE(testing::Message() << x << "," << y);
            COLORREF expected = kBlue;
            if (x == 1 && y == 3)
                expected = kRed;
            if (x == 2 && y == 4)
                expected = kBlack;
            EXPECT_EQ(expected, dest.At(x, y));
        }
    }
}

TEST(DrawTransparent, LeavesTheDestinationWhiteOnBlackAndTheSourceAsItWas) {
    Surface source(3, 3, kRed);
    Surface dest(3, 3, kBlue);
    SetBkColor(dest.dc(), kGreen);
    SetTextColor(dest.dc(), kRed);
    SetBkColor(source.dc(), kGreen);
    SetTextColor(source.dc(), kBlue);

    DrawTransparent(source.dc(), dest.dc(), 0, 0, 3, 3, 0, 0, kMagenta);
    EXPECT_EQ(kWhite, GetBkColor(dest.dc()));
    EXPECT_EQ(kBlack, GetTextColor(dest.dc()));
    EXPECT_EQ(kGreen, GetBkColor(source.dc()));
    EXPECT_EQ(kBlue, GetTextColor(source.dc()));
    EXPECT_EQ(source.bitmap(), GetCurrentObject(source.dc(), OBJ_BITMAP));
    EXPECT_EQ(dest.bitmap(), GetCurrentObject(dest.dc(), OBJ_BITMAP));

    // An empty rectangle draws nothing.
    DrawTransparent(source.dc(), dest.dc(), 0, 0, 0, 3, 0, 0, kMagenta);
    EXPECT_EQ(kRed, dest.At(0, 0));
    Surface untouched(1, 1, kBlue);
    DrawTransparent(source.dc(), untouched.dc(), 0, 0, -1, -1, 0, 0, kMagenta);
    EXPECT_EQ(kBlue, untouched.At(0, 0));
}

TEST(DrawTransparent, ABitmapOfOnlyTheKeyLeavesTheDestinationUnchanged) {
    Surface source(22, 22, kMagenta);
    Surface dest(22, 22, kGrey);
    dest.Set(5, 7, kRed);
    DrawTransparent(source.dc(), dest.dc(), 0, 0, 22, 22, 0, 0, kMagenta);
    EXPECT_EQ(kGrey, dest.At(0, 0));
    EXPECT_EQ(kRed, dest.At(5, 7));
    EXPECT_EQ(kGrey, dest.At(21, 21));
}

}  // namespace
