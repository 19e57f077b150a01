#include "launcher/grid_layout.h"

#include <algorithm>

namespace {

int ClampCount(int value, int maximum) {
    return std::clamp(value, 0, maximum);
}

bool Contains(const Rect& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

}  // namespace

int GridColumns(int col) {
    return ClampCount(col, kMaxGridColumns);
}

int GridRows(int row) {
    return ClampCount(row, kMaxGridRows);
}

int GridButtonCount(int col, int row) {
    return GridColumns(col) * GridRows(row);
}

Rect ButtonRect(int col, int row, Point origin, int space, int width, int height) {
    Rect r;
    r.left = origin.x + col * (space + width);
    r.top = origin.y + row * (space + height);
    r.right = r.left + width;
    r.bottom = r.top + height;
    return r;
}

// Computed wide and clamped: the profile values are not range-checked.
Size PlainWindowSize(int space, int cols, int rows, int width, int height) {
    const long long w = space + static_cast<long long>(cols) * (static_cast<long long>(space) + width);
    const long long h = space + static_cast<long long>(rows) * (static_cast<long long>(space) + height);
    return Size{static_cast<int>(std::clamp(w, 0LL, static_cast<long long>(kMaxWindowExtent))),
                static_cast<int>(std::clamp(h, 0LL, static_cast<long long>(kMaxWindowExtent)))};
}

int DrawScale::Length(int length) const {
    if (denominator <= 0)
        return length;
    const long long scaled = (static_cast<long long>(length) * numerator * 2 + denominator) / (2LL * denominator);
    return static_cast<int>(
        std::clamp(scaled, -static_cast<long long>(kMaxWindowExtent), static_cast<long long>(kMaxWindowExtent)));
}

Rect DrawScale::Of(const Rect& r) const {
    return Rect{Length(r.left), Length(r.top), Length(r.right), Length(r.bottom)};
}

Size DrawScale::Of(const Size& s) const {
    return Size{Length(s.width), Length(s.height)};
}

DrawScale PlainScale(int dpi) {
    return dpi > 0 ? DrawScale{dpi, kBaseDpi} : DrawScale{};
}

DrawScale ThemeScale(int dpi) {
    // (2 * dpi + 95) / 192 rounds dpi / 96 to the nearest whole number, halves down.
    const int factor = dpi > 0 ? (2 * dpi + kBaseDpi - 1) / (2 * kBaseDpi) : 1;
    return DrawScale{std::max(factor, 1), 1};
}

Point PlaceAtCursor(int cx, int cy, int w, int h, const std::vector<Rect>& monitors) {
    Point p{cx - w / 2, cy - h / 2};
    for (const Rect& monitor : monitors) {
        if (!Contains(monitor, cx, cy))
            continue;
        p.x = std::max(p.x, monitor.left);
        p.y = std::max(p.y, monitor.top);
        if (static_cast<long long>(p.x) + w > monitor.right)
            p.x = monitor.right - w;
        if (static_cast<long long>(p.y) + h > monitor.bottom)
            p.y = monitor.bottom - h;
        break;
    }
    return p;
}
