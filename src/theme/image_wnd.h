// The theme preview on the design page: a child window that shows a theme's body bitmap with
// one button in its pointed-at look, read with its own theme loader so that browsing themes
// never touches the launcher's settings.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/handles.h"
#include "framework/window.h"
#include "theme/theme_loader.h"

class CImageWnd : public Window {
public:
    static constexpr UINT kControlId = 1692;
    // Where the body is drawn, inside the sunken frame the window lies over.
    static constexpr int kBodyOffset = 10;
    static constexpr COLORREF kDrawKey = RGB(255, 0, 255);

    CImageWnd() = default;
    ~CImageWnd() override;

    // A visible child of parentFrame with the text "ImageWnd" and id kControlId.
    bool Create(HWND parentFrame, const RECT& rect);

    void SetThemeName(const std::string& name) { themeName_ = name; }
    const std::string& ThemeName() const { return themeName_; }

    // Reads the theme named by ThemeName() from the program's themes folder (ThemesFolder()).
    // Returns 1 when the definition names a body image, 0 otherwise. Does not repaint.
    int LoadTheme();
    // Deletes the bitmaps, clears the colour key and the button origin.
    void ReleaseSkin();

    // The preview as WM_PAINT shows it, drawn onto `dc` over the rectangle `client`.
    void PaintTo(HDC dc, const RECT& client) const;

    // What the last load read (the preview draws only the body, the pointed-at button and the
    // origin). After ReleaseSkin, or a load of a theme that names no body, the bitmaps are absent
    // and the origin is (0, 0).
    HBITMAP BodyBitmap() const { return theme_.Body.get(); }
    HBITMAP ButtonBitmap() const { return theme_.Button.get(); }
    HBITMAP ButtonOnMouseBitmap() const { return theme_.ButtonOnMouse.get(); }
    HBITMAP ButtonDownBitmap() const { return theme_.ButtonDown.get(); }
    uint32_t ColorKey() const { return colorKey_; }
    int ButtonOriginX() const { return theme_.BodyNamed ? theme_.Layout.X : 0; }
    int ButtonOriginY() const { return theme_.BodyNamed ? theme_.Layout.Y : 0; }
    int IconSize() const { return theme_.Layout.IconSize; }
    int ButtonSpace() const { return theme_.Layout.ButtonSpace; }
    int Columns() const { return theme_.Layout.XButton; }
    int Rows() const { return theme_.Layout.YButton; }

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void OnPaint();

    std::string themeName_;
    ThemeDefinition theme_;
    // The definition's colour key, or none after ReleaseSkin.
    uint32_t colorKey_ = 0xFFFFFFFF;
};
