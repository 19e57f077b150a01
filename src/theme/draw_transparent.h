// Colour-key blitting of theme bitmaps.
#pragma once

#include <windows.h>

// Copies the width x height rectangle at (sourceX, sourceY) of the bitmap selected into `source`
// to (x, y) of `dest`, leaving out source pixels of exactly the colour `key`: the destination
// keeps its own pixels there. Afterwards `dest` has background colour white and text colour
// black; nothing else of either DC changes.
void DrawTransparent(HDC source, HDC dest, int x, int y, int width, int height, int sourceX, int sourceY, COLORREF key);
