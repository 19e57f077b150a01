#include "theme/image_wnd.h"

#include <utility>

#include "theme/draw_transparent.h"
#include "theme/theme_loader.h"

namespace {

constexpr char kClassName[] = "KestrovarImageWnd";
constexpr char kWindowText[] = "ImageWnd";

// Draws a whole bitmap at (x, y) of dest, leaving out the preview's key colour.
void DrawBitmapKeyed(HDC dest, HBITMAP bitmap, int x, int y) {
    const SIZE size = BitmapSize(bitmap);
    UniqueMemoryDc source(CreateCompatibleDC(dest));
    if (!source || size.cx <= 0 || size.cy <= 0)
        return;
    SelectedObject selection(source.get(), bitmap);
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
    ReleaseSkin();
    ThemeDefinition theme = ReadThemeDefinition(ThemesHome(), themeName_);
    colorKey_ = theme.ColorKey;
    if (!theme.BodyNamed)
        return 0;

    bodyBitmap_ = std::move(theme.Body);
    buttonBitmap_ = std::move(theme.Button);
    buttonOnMouseBitmap_ = std::move(theme.ButtonOnMouse);
    buttonDownBitmap_ = std::move(theme.ButtonDown);
    if (buttonBitmap_)
        buttonWidth_ = BitmapSize(buttonBitmap_.get()).cx;
    iconSize_ = theme.Layout.IconSize;
    buttonSpace_ = theme.Layout.ButtonSpace;
    columns_ = theme.Layout.XButton;
    rows_ = theme.Layout.YButton;
    buttonOriginX_ = theme.Layout.X;
    buttonOriginY_ = theme.Layout.Y;
    return 1;
}

void CImageWnd::ReleaseSkin() {
    bodyBitmap_.reset();
    buttonBitmap_.reset();
    buttonOnMouseBitmap_.reset();
    buttonDownBitmap_.reset();
    colorKey_ = 0xFFFFFFFF;
    buttonOriginX_ = 0;
    buttonOriginY_ = 0;
}

void CImageWnd::PaintTo(HDC dc, const RECT& client) const {
    HBRUSH face = GetSysColorBrush(COLOR_3DFACE);
    if (!bodyBitmap_) {
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
    DrawBitmapKeyed(memory.get(), bodyBitmap_.get(), kBodyOffset, kBodyOffset);
    if (buttonOnMouseBitmap_)
        DrawBitmapKeyed(memory.get(), buttonOnMouseBitmap_.get(), kBodyOffset + buttonOriginX_,
                        kBodyOffset + buttonOriginY_);
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
