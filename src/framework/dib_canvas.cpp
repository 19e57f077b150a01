#include "framework/dib_canvas.h"

UniqueBitmap CreateTopDownDib(int width, int height, uint32_t** pixels) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    *pixels = bitmap ? static_cast<uint32_t*>(bits) : nullptr;
    return bitmap;
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info = {};
    if (!bitmap || GetObjectW(bitmap, sizeof(info), &info) != sizeof(info))
        return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight};
}

void DrawBitmap(HDC target, HBITMAP bitmap, int x, int y, DWORD rop) {
    const SIZE size = BitmapSize(bitmap);
    BitmapDc source(target, bitmap);
    if (source && size.cx > 0 && size.cy > 0)
        BitBlt(target, x, y, size.cx, size.cy, source.get(), 0, 0, rop);
}

DibCanvas::~DibCanvas() {
    if (dc_ && previous_)
        SelectObject(dc_.get(), previous_);
}

bool DibCanvas::Create(int width, int height) {
    uint32_t* pixels = nullptr;
    UniqueBitmap bitmap = CreateTopDownDib(width, height, &pixels);
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    if (!bitmap || !dc)
        return false;
    if (dc_ && previous_)
        SelectObject(dc_.get(), previous_);
    previous_ = SelectObject(dc.get(), bitmap.get());
    dc_ = std::move(dc);
    bitmap_ = std::move(bitmap);
    pixels_ = pixels;
    width_ = width;
    height_ = height;
    return true;
}

uint32_t* DibCanvas::pixels() const {
    GdiFlush();
    return pixels_;
}
