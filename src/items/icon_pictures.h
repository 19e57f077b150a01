// Pictures of the icons drawn on the launcher's buttons. Each icon is turned once into a
// premultiplied 32-bit picture, so that drawing it again is one alpha blend: DrawIconEx costs
// tens of microseconds under Wine, milliseconds on a page of hundreds of buttons.
//
// Pictures are keyed by icon handle and size; a handle value may come back for another icon
// once the first is destroyed, so the owner of the icons forgets all pictures whenever it
// destroys icons. GUI thread only.
#pragma once

#include <windows.h>

// Draws icon at (x, y) of dc in size x size pixels, as DrawIconEx with DI_NORMAL would.
void DrawIconPicture(HDC dc, int x, int y, HICON icon, int size);

// Drops every picture (and the memory they hold).
void ForgetIconPictures();

// The number of pictures held; for tests.
size_t IconPictureCount();
