// The launcher's painter: the plain and the skin backgrounds, the transparency of the layered
// window, and painting the buttons (or the whole window) at once, in one copy to the screen. It
// owns one fact of its own, whether what is painted off every screen is kept; everything it
// draws comes from the settings and the buttons it is given.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "framework/window.h"
#include "settings/kestrovar_settings.h"

class CKVButton;

class LauncherPainter {
public:
    LauncherPainter(const Window& window, const CKestrovarSettings& settings) : window_(window), settings_(settings) {}
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
    // Draws the buttons straight to the screen, each composed off screen.
    void PaintButtonsAtOnce(const std::vector<CKVButton*>& buttons);
    // The background and every button composed off screen and put on the screen in one copy;
    // cursor is the pointer's place on the screen. False when the picture could not be made.
    bool PaintWholeWindowAtOnce(const std::vector<std::unique_ptr<CKVButton>>& buttons, POINT cursor);

private:
    HWND hwnd() const { return window_.hwnd(); }
    // The background drawn straight onto dc, which is already off screen or needs one step.
    void DrawBackground(HDC dc, const RECT& client) const;

    const Window& window_;
    const CKestrovarSettings& settings_;
    bool offScreenPaintKept_ = true;
};
