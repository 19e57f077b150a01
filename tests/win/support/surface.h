// A surface the tests draw on and read back pixel by pixel: a 32-bit DIB in a memory DC of its
// own, filled with one colour.
#pragma once

#include "framework/dib_canvas.h"

#include <algorithm>

namespace kvtest {

class Surface {
public:
    Surface(int width, int height, COLORREF fill = RGB(0, 0, 0)) {
        if (canvas_.Create(width, height))
            std::fill(canvas_.pixels(), canvas_.pixels() + width * height, DibPixel(fill));
    }

    HDC dc() const { return canvas_.dc(); }
    HBITMAP bitmap() const { return canvas_.bitmap(); }
    void Set(int x, int y, COLORREF color) { SetPixel(dc(), x, y, color); }
    COLORREF At(int x, int y) const { return GetPixel(dc(), x, y); }

private:
    DibCanvas canvas_;
};

}  // namespace kvtest
