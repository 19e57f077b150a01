#include "launcher/painter.h"

#include "framework/dib_canvas.h"
#include "framework/handles.h"
#include "items/kv_button.h"
#include "theme/theme_loader.h"

#include <algorithm>

namespace {

// A DC of the launcher that does not clip its child windows: the buttons are drawn through it.
constexpr DWORD kUnclippedDc = DCX_CACHE | DCX_CLIPSIBLINGS;

BYTE Opacity(int windowTpValue) {
    return static_cast<BYTE>(windowTpValue & 0xFF);
}

}  // namespace

// Whether what is painted while the window lies at the parking place is kept. Windows keeps
// the picture of a layered window wherever it lies; Wine clips a window off the screen to
// nothing, so painting it there is wasted (ShowAtCursor then paints once, in place).
void LauncherPainter::NoteOffScreenPainting() {
    WindowDc dc(hwnd());
    RECT client = {};
    RECT box = {};
    GetClientRect(hwnd(), &client);
    // Kept only when the whole client area can be painted there.
    offScreenPaintKept_ = dc.get() && GetClipBox(dc.get(), &box) != NULLREGION && EqualRect(&box, &client);
}

void LauncherPainter::ApplyTransparency() {
    HBITMAP bodyBitmap = settings_.Skin.Body.get();
    if (!bodyBitmap)
        return;
    {
        WindowDc windowDc(hwnd());
        DrawBitmap(windowDc.get(), bodyBitmap, 0, 0, SRCPAINT);
    }
    SetLayeredWindowAttributes(hwnd(), static_cast<COLORREF>(settings_.ColorKey), Opacity(settings_.WindowTPValue),
                               LWA_COLORKEY | LWA_ALPHA);
}

void LauncherPainter::ApplyPlainLook() {
    SetLayeredWindowAttributes(hwnd(), 0, Opacity(settings_.WindowTPValue), LWA_ALPHA);
    if (settings_.SkinMode)
        return;
    WindowDc windowDc(hwnd());
    PaintBackground(windowDc.get());
}

// The body bitmap in the skin look (nothing when the theme has none); the face colour with a
// one-pixel shadow frame in the plain look.
void LauncherPainter::DrawBackground(HDC dc, const RECT& client) const {
    if (!settings_.SkinMode) {
        FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
        FrameRect(dc, &client, GetSysColorBrush(COLOR_BTNSHADOW));
    } else if (HBITMAP body = settings_.Skin.Body.get()) {
        DrawBitmap(dc, body, 0, 0, SRCCOPY);
    }
}

// The erase handler. In the skin look the body is copied on every erase: a picture painted
// once is not kept everywhere (Wine keeps nothing of a window painted off screen). The plain
// look's two steps are composed off screen and reach the screen in one blit.
void LauncherPainter::PaintBackground(HDC target) {
    RECT client = {};
    GetClientRect(hwnd(), &client);
    if (!target || client.right <= 0 || client.bottom <= 0)
        return;
    if (settings_.SkinMode) {
        DrawBackground(target, client);
        return;
    }
    UniqueMemoryDc memoryDc(CreateCompatibleDC(target));
    UniqueBitmap canvas(CreateCompatibleBitmap(target, client.right, client.bottom));
    if (!memoryDc || !canvas)
        return;
    SelectedObject selected(memoryDc.get(), canvas.get());
    DrawBackground(memoryDc.get(), client);
    BitBlt(target, 0, 0, client.right, client.bottom, memoryDc.get(), 0, 0, SRCCOPY);
}

// Through one DC of the launcher that does not clip its child windows. The buttons were not
// invalidated, so no paint of their own follows; a button that cannot be drawn this way is left
// to its own paint.
void LauncherPainter::PaintButtonsAtOnce(const std::vector<CKVButton*>& buttons) {
    WindowDc screen(hwnd(), kUnclippedDc);
    POINT cursor = {};
    GetCursorPos(&cursor);
    for (CKVButton* button : buttons) {
        const RECT r = WindowRectIn(button->hwnd(), hwnd());
        if (!screen.get() || !button->PaintAt(screen.get(), r.left, r.top, cursor))
            InvalidateRect(button->hwnd(), nullptr, FALSE);
    }
}

// Leaves nothing for the window's and the buttons' own paints; the caller lets the window paint
// itself when this fails.
bool LauncherPainter::PaintWholeWindowAtOnce(const std::vector<std::unique_ptr<CKVButton>>& buttons, POINT cursor) {
    RECT client = {};
    GetClientRect(hwnd(), &client);
    bool painted = false;
    {
        WindowDc screen(hwnd(), kUnclippedDc);
        if (!screen.get())
            return false;
        UniqueMemoryDc offScreen(CreateCompatibleDC(screen.get()));
        UniqueBitmap picture(
            CreateCompatibleBitmap(screen.get(), std::max(1L, client.right), std::max(1L, client.bottom)));
        if (offScreen && picture) {
            SelectedObject selected(offScreen.get(), picture.get());
            DrawBackground(offScreen.get(), client);
            for (const auto& button : buttons) {
                const RECT r = WindowRectIn(button->hwnd(), hwnd());
                button->PaintAt(offScreen.get(), r.left, r.top, cursor);
            }
            painted =
                BitBlt(screen.get(), 0, 0, client.right, client.bottom, offScreen.get(), 0, 0, SRCCOPY) != FALSE;
        }
    }
    if (painted)
        RedrawWindow(hwnd(), nullptr, nullptr, RDW_VALIDATE | RDW_NOERASE | RDW_ALLCHILDREN);
    return painted;
}
