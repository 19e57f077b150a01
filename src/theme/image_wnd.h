// The theme preview on the design page: a child window that shows a theme's body bitmap with
// one button in its pointed-at look, read with its own theme loader so that browsing themes
// never touches the launcher's settings.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/handles.h"
#include "framework/window.h"

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

    // What the last load read (the preview draws only the body, the pointed-at button and the origin).
    HBITMAP BodyBitmap() const { return bodyBitmap_.get(); }
    HBITMAP ButtonBitmap() const { return buttonBitmap_.get(); }
    HBITMAP ButtonOnMouseBitmap() const { return buttonOnMouseBitmap_.get(); }
    HBITMAP ButtonDownBitmap() const { return buttonDownBitmap_.get(); }
    uint32_t ColorKey() const { return colorKey_; }
    int ButtonOriginX() const { return buttonOriginX_; }
    int ButtonOriginY() const { return buttonOriginY_; }
    int ButtonWidth() const { return buttonWidth_; }
    int IconSize() const { return iconSize_; }
    int ButtonSpace() const { return buttonSpace_; }
    int Columns() const { return columns_; }
    int Rows() const { return rows_; }

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void OnPaint();

    int iconSize_ = 0;
    int buttonSpace_ = 0;
    int buttonWidth_ = 0;
    int columns_ = 0;
    int rows_ = 0;
    std::string themeName_;
    uint32_t colorKey_ = 0xFFFFFFFF;
    UniqueBitmap bodyBitmap_;
    UniqueBitmap buttonBitmap_;
    UniqueBitmap buttonOnMouseBitmap_;
    UniqueBitmap buttonDownBitmap_;
    int buttonOriginX_ = 0;
    int buttonOriginY_ = 0;
};
