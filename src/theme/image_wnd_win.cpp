#include "theme/image_wnd.h"

#include "theme/draw_transparent.h"
#include "theme/theme_loader.h"

namespace {

constexpr char kClassName[] = "KestrovarImageWnd";
constexpr char kWindowText[] = "ImageWnd";

// Draws a whole bitmap at (x, y) of dest, leaving out the preview's key colour.
void DrawBitmapKeyed(HDC dest, HBITMAP bitmap, int x, int y) {
    const SIZE size = BitmapSize(bitmap);
    BitmapDc source(dest, bitmap);
    if (!source || size.cx <= 0 || size.cy <= 0)
        return;
    DrawTransparent(source.get(), dest, x, y, size.cx, size.cy, 0, 0, CImageWnd::kDrawKey);
}

}  // namespace

CImageWnd::~CImageWnd() {
    // Destroy the window while this object can still answer its last messages.
    DestroyWindow();
}

bool CImageWnd::Create(HWND parentFrame, const RECT& rect) {
    return Window::Create(kClassName, 0, kWindowText, WS_CHILD | WS_VISIBLE, rect, parentFrame, kControlId);
}

int CImageWnd::LoadTheme() {
    theme_ = ReadThemeDefinition(ThemesHome(), themeName_);
    colorKey_ = theme_.ColorKey;
    return theme_.BodyNamed ? 1 : 0;
}

void CImageWnd::ReleaseSkin() {
    theme_ = ThemeDefinition{};
    colorKey_ = 0xFFFFFFFF;
}

void CImageWnd::PaintTo(HDC dc, const RECT& client) const {
    HBRUSH face = GetSysColorBrush(COLOR_3DFACE);
    if (!theme_.Body) {
        FillRect(dc, &client, face);
        return;
    }
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    // Composed off screen so that the face, body and button appear in one step.
    UniqueMemoryDc memory(CreateCompatibleDC(dc));
    UniqueBitmap image(CreateCompatibleBitmap(dc, width, height));
    if (!memory || !image) {
        FillRect(dc, &client, face);
        return;
    }
    SelectedObject selection(memory.get(), image.get());
    const RECT imageRect = {0, 0, width, height};
    FillRect(memory.get(), &imageRect, face);
    DrawBitmapKeyed(memory.get(), theme_.Body.get(), kBodyOffset, kBodyOffset);
    if (theme_.ButtonOnMouse)
        DrawBitmapKeyed(memory.get(), theme_.ButtonOnMouse.get(), kBodyOffset + ButtonOriginX(),
                        kBodyOffset + ButtonOriginY());
    BitBlt(dc, client.left, client.top, width, height, memory.get(), 0, 0, SRCCOPY);
}

void CImageWnd::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd(), &paint);
    RECT client;
    GetClientRect(hwnd(), &client);
    PaintTo(dc, client);
    EndPaint(hwnd(), &paint);
}

LRESULT CImageWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_PAINT) {
        OnPaint();
        return 0;
    }
    return Window::WindowProc(msg, wParam, lParam);
}
