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

TEST(DrawScale, PlainLooksScaleByDpiAndThemesByTheNearestWholeFactor) {
    struct Case {
        int dpi, plainLength22, plainLength3, themeFactor;
    } cases[] = {
        {96, 22, 3, 1},  {120, 28, 4, 1}, {144, 33, 5, 1}, {168, 39, 5, 2},
        {192, 44, 6, 2}, {240, 55, 8, 2}, {288, 66, 9, 3}, {0, 22, 3, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PlainScale(c.dpi).Length(22), c.plainLength22) << c.dpi;
        EXPECT_EQ(PlainScale(c.dpi).Length(3), c.plainLength3) << c.dpi;
        EXPECT_EQ(ThemeScale(c.dpi).Length(7), 7 * c.themeFactor) << c.dpi;
    }
    // Edge by edge: the buttons of a default grid at 150 % are 33 pixels wide, 5 apart.
    const DrawScale scale = PlainScale(144);
    const Rect first = scale.Of(ButtonRect(0, 0, Point{3, 3}, 3, 22, 22));
    const Rect sixth = scale.Of(ButtonRect(5, 1, Point{3, 3}, 3, 22, 22));
    EXPECT_EQ(first.left, 5);
    EXPECT_EQ(first.right - first.left, 33);
    EXPECT_EQ(sixth.left, 192);
    EXPECT_EQ(sixth.right - sixth.left, 33);
    EXPECT_EQ(sixth.bottom, 75);
    EXPECT_EQ(scale.Of(PlainWindowSize(3, 6, 2, 22, 22)).width, 230);
    EXPECT_EQ(scale.Of(Size{kMaxWindowExtent, 1}).width, kMaxWindowExtent);
}
