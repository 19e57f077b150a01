// The off-screen drawing kit: 32-bit device-independent bitmaps whose pixels can be read and
// written directly (pictures composed off screen, and images checked pixel by pixel), and the
// drawing of a whole bitmap.
#pragma once

#include "framework/handles.h"

#include <cstdint>

// A 32-bit DIB section with rows top-down: pixel (x, y) is (*pixels)[y * width + x], 0xAARRGGBB,
// all zero at first. Null on failure. The pixels live as long as the bitmap.
UniqueBitmap CreateTopDownDib(int width, int height, uint32_t** pixels);

// The DIB pixel of a colour (0x00RRGGBB).
inline uint32_t DibPixel(COLORREF color) {
    return (static_cast<uint32_t>(GetRValue(color)) << 16) | (static_cast<uint32_t>(GetGValue(color)) << 8) |
           GetBValue(color);
}

// Pixel size of a bitmap; {0, 0} when the handle is absent or invalid.
SIZE BitmapSize(HBITMAP bitmap);

// A bitmap selected into a memory DC of its own, compatible with reference, for as long as this
// value lives: the source of a copy. Empty when the DC cannot be made.
class BitmapDc {
public:
    BitmapDc(HDC reference, HBITMAP bitmap) : dc_(CreateCompatibleDC(reference)), selected_(dc_.get(), bitmap) {}
    BitmapDc(const BitmapDc&) = delete;
    BitmapDc& operator=(const BitmapDc&) = delete;
    HDC get() const { return dc_.get(); }
    explicit operator bool() const { return static_cast<bool>(dc_); }

private:
    UniqueMemoryDc dc_;
    SelectedObject selected_;
};

// Copies all of bitmap to (x, y) of target with the raster operation rop.
void DrawBitmap(HDC target, HBITMAP bitmap, int x, int y, DWORD rop);

// A top-down 32-bit DIB selected into a memory DC of its own, for as long as the canvas lives.
class DibCanvas {
public:
    DibCanvas() = default;
    DibCanvas(const DibCanvas&) = delete;
    DibCanvas& operator=(const DibCanvas&) = delete;
    ~DibCanvas();

    // False when the bitmap or the DC cannot be made; the canvas is then empty.
    bool Create(int width, int height);
    explicit operator bool() const { return pixels_ != nullptr; }

    HDC dc() const { return dc_.get(); }
    HBITMAP bitmap() const { return bitmap_.get(); }
    int width() const { return width_; }
    int height() const { return height_; }
    // The pixels, after the GDI drawing queued so far is done.
    uint32_t* pixels() const;

private:
    UniqueMemoryDc dc_;
    UniqueBitmap bitmap_;
    HGDIOBJ previous_ = nullptr;  // not owned: the DC's original bitmap
    uint32_t* pixels_ = nullptr;  // not owned: the DIB section's bits
    int width_ = 0;
    int height_ = 0;
};
