// The launcher's painter: the plain and the skin backgrounds, the transparency of the layered
// window, and the kept picture of the whole window. The picture holds the background and every
// button at rest; it is composed when the look or the buttons are made, a button is redrawn in it
// when its item or icon changes, and a show puts it on the screen in one blit. Besides the
// picture the painter owns one fact, whether what is painted off every screen is kept;
// everything it draws comes from the settings and the grid's buttons.
#pragma once

#include <windows.h>

#include <vector>

#include "framework/dib_canvas.h"
#include "framework/window.h"
#include "settings/kestrovar_settings.h"

class ButtonGrid;
enum class ButtonFace;

class LauncherPainter {
public:
    LauncherPainter(const Window& window, const CKestrovarSettings& settings, const ButtonGrid& grid)
        : window_(window), settings_(settings), grid_(grid) {}
    LauncherPainter(const LauncherPainter&) = delete;
    LauncherPainter& operator=(const LauncherPainter&) = delete;

    // Checked while the window lies at the parking place, off every screen.
    void NoteOffScreenPainting();
    bool OffScreenPaintKept() const { return offScreenPaintKept_; }

    // The skin look: the body bitmap painted and its colour key made transparent.
    void ApplyTransparency();
    // The plain look: the window's opacity and its background.
    void ApplyPlainLook();
    // WM_ERASEBKGND: the body bitmap in the skin look, the plain background otherwise.
    void PaintBackground(HDC target);

    // The picture is dropped when its buttons go or the look changes, and composed anew here.
    void DiscardPicture();
    void ComposePicture();
    // The buttons at these grid positions show another picture: redrawn in the kept picture, and
    // when onScreen also on the screen, the one under pointer (client coordinates) as pointed at.
    void UpdateButtons(const std::vector<int>& positions, bool onScreen, POINT pointer);
    // Every button back at rest in the picture, each with the icon it holds now.
    void RefreshPicture();
    // The kept picture on the window in one blit, the button under pointer (client coordinates)
    // with the face the pointer gives it. False when there is no picture; the window and its
    // buttons must then paint themselves.
    bool ShowPicture(POINT pointer);

private:
    // Where a button lies in the window and the icon it was drawn with in the picture.
    struct Place {
        RECT rect;
        HICON icon;
    };

    HWND hwnd() const { return window_.hwnd(); }
    // The background drawn straight onto dc, which is already off screen or needs one step.
    void DrawBackground(HDC dc, const RECT& client) const;
    // Composes the picture when there is none; false when it cannot be made.
    bool EnsurePicture();
    void DrawButton(int position, ButtonFace face);
    // The button under pointer (client coordinates) drawn with the face the pointer gives it;
    // returns its position, -1 for none.
    int DrawButtonUnder(POINT pointer);

    const Window& window_;
    const CKestrovarSettings& settings_;
    const ButtonGrid& grid_;
    bool offScreenPaintKept_ = true;
    DibCanvas picture_;
    bool pictureKept_ = false;
    std::vector<Place> places_;  // by grid position
    int pointed_ = -1;           // the button drawn in the picture with another face than at rest
};
