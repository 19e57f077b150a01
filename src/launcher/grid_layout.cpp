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
