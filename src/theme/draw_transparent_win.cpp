#include "theme/draw_transparent.h"

#include "framework/handles.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

}  // namespace

void DrawTransparent(HDC source,
                     HDC dest,
                     int x,
                     int y,
                     int width,
                     int height,
                     int sourceX,
                     int sourceY,
                     COLORREF key) {
    // The mask blit below depends on these; callers may rely on finding them set afterwards.
    SetBkColor(dest, kWhite);
    SetTextColor(dest, kBlack);
    if (width <= 0 || height <= 0)
        return;

    // A copy of the source rectangle in the destination's format.
    UniqueMemoryDc colorDc(CreateCompatibleDC(dest));
    UniqueBitmap colorBitmap(CreateCompatibleBitmap(dest, width, height));
    // The mask: 1 where the copy has the key colour, 0 elsewhere.
    UniqueMemoryDc maskDc(CreateCompatibleDC(dest));
    UniqueBitmap maskBitmap(CreateBitmap(width, height, 1, 1, nullptr));
    if (!colorDc || !colorBitmap || !maskDc || !maskBitmap)
        return;

    // Destroyed in reverse order: the selections are undone first, then the mask and the colour
    // objects are deleted.
    SelectedObject colorSelection(colorDc.get(), colorBitmap.get());
    SelectedObject maskSelection(maskDc.get(), maskBitmap.get());
    BitBlt(colorDc.get(), 0, 0, width, height, source, sourceX, sourceY, SRCCOPY);

    // Colour to monochrome: pixels equal to the background colour become 1.
    SetBkColor(colorDc.get(), key);
    BitBlt(maskDc.get(), 0, 0, width, height, colorDc.get(), 0, 0, SRCCOPY);

    // Monochrome to colour: 1 becomes the background (black), 0 the text colour (white),
    // so AND-ing blackens the key pixels of the copy and keeps the rest.
    SetBkColor(colorDc.get(), kBlack);
    SetTextColor(colorDc.get(), kWhite);
    BitBlt(colorDc.get(), 0, 0, width, height, maskDc.get(), 0, 0, SRCAND);

    // Punch black holes where the image is opaque (mask 0 -> black text colour), then OR the
    // image into them.
    BitBlt(dest, x, y, width, height, maskDc.get(), 0, 0, SRCAND);
    BitBlt(dest, x, y, width, height, colorDc.get(), 0, 0, SRCPAINT);
}
