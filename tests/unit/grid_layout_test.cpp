#include "launcher/grid_layout.h"

#include <gtest/gtest.h>

TEST(GridLayout, DefaultPlainGrid) {
    const Point origin{3, 3};
    Rect r = ButtonRect(0, 0, origin, 3, 22, 22);
    EXPECT_EQ(r.left, 3);
    EXPECT_EQ(r.right, 25);
    r = ButtonRect(5, 1, origin, 3, 22, 22);
    EXPECT_EQ(r.left, 128);
    EXPECT_EQ(r.top, 28);
    EXPECT_EQ(r.bottom, 50);

    Size size = PlainWindowSize(3, 6, 2, 22, 22);
    EXPECT_EQ(size.width, 153);
    EXPECT_EQ(size.height, 53);
    size = PlainWindowSize(3, 6, 2, 38, 38);
    EXPECT_EQ(size.width, 249);
    size = PlainWindowSize(3, 100, 100, 2000000000, 22);
    EXPECT_EQ(size.width, kMaxWindowExtent);
}

TEST(GridLayout, GridIsEmptyForNonPositiveCountsAndCapped) {
    EXPECT_EQ(GridButtonCount(6, 2), 12);
    EXPECT_EQ(GridButtonCount(0, 2), 0);
    EXPECT_EQ(GridButtonCount(6, -1), 0);
    EXPECT_EQ(GridButtonCount(1000000, 1000000), kMaxGridColumns * kMaxGridRows);
}

TEST(PlaceAtCursor, CentresAndClampsToMonitorUnderCursor) {
    const std::vector<Rect> one{{0, 0, 1024, 768}};
    auto at = [&](int cx, int cy) {
        Point p = PlaceAtCursor(cx, cy, 153, 53, one);
        return std::make_pair(p.x, p.y);
    };
    EXPECT_EQ(at(500, 400), std::make_pair(424, 374));
    EXPECT_EQ(at(1023, 767), std::make_pair(871, 715));
    EXPECT_EQ(at(0, 0), std::make_pair(0, 0));

    // Cursor outside every monitor (or none known): centred only, truncating toward zero.
    Point p = PlaceAtCursor(-101, 2000, 153, 53, one);
    EXPECT_EQ(p.x, -101 - 76);
    EXPECT_EQ(p.y, 2000 - 26);
    p = PlaceAtCursor(5, 5, 153, 53, {});
    EXPECT_EQ(p.x, -71);
}

TEST(PlaceAtCursor, UsesFirstContainingMonitorOnly) {
    const std::vector<Rect> twoSideBySide{{0, 0, 1024, 768}, {1024, 0, 2048, 768}};
    Point p = PlaceAtCursor(1034, 300, 153, 53, twoSideBySide);
    EXPECT_EQ(p.x, 1024);
    p = PlaceAtCursor(1023, 300, 153, 53, twoSideBySide);  // right edge belongs to the next monitor
    EXPECT_EQ(p.x, 1024 - 153);

    // Larger than the monitor: ends at its right and bottom edges.
    p = PlaceAtCursor(100, 100, 1500, 900, {{0, 0, 1024, 768}});
    EXPECT_EQ(p.x, 1024 - 1500);
    EXPECT_EQ(p.y, 768 - 900);
}
