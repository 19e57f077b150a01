#include "launcher/painter.h"

#include "framework/handles.h"
#include "items/kv_button.h"
#include "launcher/button_grid.h"
#include "theme/theme_loader.h"

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

void LauncherPainter::DiscardPicture() {
    pictureKept_ = false;
    places_.clear();
    pointed_ = -1;
}

void LauncherPainter::ComposePicture() {
    EnsurePicture();
}

bool LauncherPainter::EnsurePicture() {
    if (pictureKept_)
        return true;
    RECT client = {};
    GetClientRect(hwnd(), &client);
    if (client.right <= 0 || client.bottom <= 0)
        return false;
    if (picture_.width() != client.right || picture_.height() != client.bottom || !picture_) {
        if (!picture_.Create(client.right, client.bottom))
            return false;
    }
    DrawBackground(picture_.dc(), client);
    places_.clear();
    pointed_ = -1;
    for (const auto& button : grid_.Buttons()) {
        const RECT rect = button->hwnd() ? WindowRectIn(button->hwnd(), hwnd()) : RECT{};
        places_.push_back(Place{rect, nullptr});
    }
    pictureKept_ = true;
    for (size_t position = 0; position < places_.size(); ++position)
        DrawButton(static_cast<int>(position), ButtonFace::kResting);
    return true;
}

void LauncherPainter::DrawButton(int position, ButtonFace face) {
    CKVButton* button = grid_.ButtonAt(position);
    if (!button || static_cast<size_t>(position) >= places_.size())
        return;
    // One button at most is drawn pointed at or pressed.
    if (face != ButtonFace::kResting && pointed_ >= 0 && pointed_ != position)
        DrawButton(pointed_, ButtonFace::kResting);
    Place& place = places_[static_cast<size_t>(position)];
    button->PaintAt(picture_.dc(), place.rect.left, place.rect.top, face);
    place.icon = button->Icon();
    if (face != ButtonFace::kResting)
        pointed_ = position;
    else if (pointed_ == position)
        pointed_ = -1;
}

int LauncherPainter::DrawButtonUnder(POINT pointer) {
    for (size_t position = 0; position < places_.size(); ++position) {
        const RECT& rect = places_[position].rect;
        CKVButton* button = grid_.ButtonAt(static_cast<int>(position));
        if (button && PtInRect(&rect, pointer)) {
            const POINT inButton = {pointer.x - rect.left, pointer.y - rect.top};
            DrawButton(static_cast<int>(position), button->FaceFor(inButton));
            return static_cast<int>(position);
        }
    }
    return -1;
}

// Each changed button is copied to the screen on its own: a button between them may show
// another face there than in the picture (pressed by a key, say).
void LauncherPainter::UpdateButtons(const std::vector<int>& positions, bool onScreen, POINT pointer) {
    if (!EnsurePicture()) {
        for (int position : positions) {
            if (CKVButton* button = grid_.ButtonAt(position))
                InvalidateRect(button->hwnd(), nullptr, FALSE);
        }
        return;
    }
    for (int position : positions)
        DrawButton(position, ButtonFace::kResting);
    if (!onScreen)
        return;
    DrawButtonUnder(pointer);
    WindowDc screen(hwnd(), kUnclippedDc);
    for (int position : positions) {
        if (static_cast<size_t>(position) >= places_.size())
            continue;
        const RECT& r = places_[static_cast<size_t>(position)].rect;
        if (!screen.get() || !BitBlt(screen.get(), r.left, r.top, r.right - r.left, r.bottom - r.top, picture_.dc(),
                                     r.left, r.top, SRCCOPY)) {
            InvalidateRect(grid_.ButtonAt(position)->hwnd(), nullptr, FALSE);
        }
    }
}

// A button's icon can change without a page display (a file registered on it): the icon each
// was drawn with is compared.
void LauncherPainter::RefreshPicture() {
    if (!EnsurePicture())
        return;
    for (size_t position = 0; position < places_.size(); ++position) {
        const CKVButton* button = grid_.ButtonAt(static_cast<int>(position));
        if (button && (button->Icon() != places_[position].icon || pointed_ == static_cast<int>(position)))
            DrawButton(static_cast<int>(position), ButtonFace::kResting);
    }
}

// Leaves nothing for the window's and the buttons' own paints.
bool LauncherPainter::ShowPicture(POINT pointer) {
    RefreshPicture();
    if (!pictureKept_)
        return false;
    DrawButtonUnder(pointer);
    bool painted = false;
    {
        WindowDc screen(hwnd(), kUnclippedDc);
        painted = screen.get() &&
                  BitBlt(screen.get(), 0, 0, picture_.width(), picture_.height(), picture_.dc(), 0, 0, SRCCOPY);
    }
    if (painted)
        RedrawWindow(hwnd(), nullptr, nullptr, RDW_VALIDATE | RDW_NOERASE | RDW_ALLCHILDREN);
    return painted;
}
