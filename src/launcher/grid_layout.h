// Button grid and window placement arithmetic of the launcher window.
#pragma once

#include <vector>

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct Point {
    int x = 0;
    int y = 0;
};

struct Size {
    int width = 0;
    int height = 0;
};

// Columns and rows beyond this are not built: the profile and themes are not range-checked,
// and a huge grid would create millions of child windows.
inline constexpr int kMaxGridColumns = 32;
inline constexpr int kMaxGridRows = 32;

// Window sizes are kept within what window coordinates can carry.
inline constexpr int kMaxWindowExtent = 32767;

// Columns (rows) actually built for a setting: 0 when the setting is 0 or less, at most the cap.
int GridColumns(int col);
int GridRows(int row);
// Buttons per page: GridColumns(col) * GridRows(row).
int GridButtonCount(int col, int row);

// Rectangle of the button in column col and row row, counted from 0.
Rect ButtonRect(int col, int row, Point origin, int space, int width, int height);

// Plain-look window: space + cols * (space + width) by space + rows * (space + height),
// each clamped to 0..kMaxWindowExtent.
Size PlainWindowSize(int space, int cols, int rows, int width, int height);

// Lengths in the profile and in theme files are pixels at this DPI (100 % scaling).
inline constexpr int kBaseDpi = 96;

// How lengths at kBaseDpi map to the pixels drawn: multiplied by numerator / denominator and
// rounded to the nearest pixel (halves up). Rectangles are scaled edge by edge, so neighbouring
// buttons stay neighbours and the gaps between them stay even.
struct DrawScale {
    int numerator = 1;
    int denominator = 1;

    int Length(int length) const;
    Rect Of(const Rect& r) const;
    Size Of(const Size& s) const;
};

// The plain look is drawn at the monitor's DPI over 96.
DrawScale PlainScale(int dpi);
// A theme's bitmaps and positions are enlarged by a whole factor, so that pixel art stays
// sharp: the whole number nearest to dpi / 96, halves going down (150 % draws a theme at 1x,
// 175 % and 200 % at 2x), never below 1.
DrawScale ThemeScale(int dpi);

// Top-left corner for a w x h window centred on the cursor (cx, cy) and kept inside the first
// monitor that contains the cursor (left/top edges inside, right/bottom outside). A window larger
// than its monitor ends at the monitor's right or bottom edge. No monitor: no clamping.
Point PlaceAtCursor(int cx, int cy, int w, int h, const std::vector<Rect>& monitors);
