#include "launcher/body_wnd.h"

#include "framework/display_dpi.h"
#include "items/data_file.h"
#include "items/kv_button.h"
#include "launcher/messages.h"
#include "settings/path_probe.h"

#include <algorithm>
#include <climits>

namespace {

// Grid origin, gap and the margin around the icon in the plain look.
constexpr int kPlainOrigin = 3;
constexpr int kPlainButtonSpace = 3;
constexpr int kPlainIconMargin = 6;
constexpr UINT kFullRedraw = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW;
constexpr DWORD kAttachedToDesktop = 0x00000001;  // DISPLAY_DEVICE_ATTACHED_TO_DESKTOP

BYTE Opacity(int windowTpValue) {
    return static_cast<BYTE>(windowTpValue & 0xFF);
}

// The theme's body bitmap sizes the window in the skin look.
Size SizeOf(HBITMAP bitmap) {
    const SIZE size = BitmapSize(bitmap);
    return Size{size.cx, size.cy};
}

// Every placement of the launcher puts it above all non-topmost windows: it must come to the
// top when shown, over whatever program was active.
const HWND kZOrder = HWND_TOPMOST;

}  // namespace

void CKestrovarBodyWnd::SetPlacement(int x, int y, int w, int h, UINT flags) {
    SetWindowPos(hwnd(), kZOrder, x, y, w, h, flags);
}

bool CKestrovarBodyWnd::IsParked() const {
    RECT r = {};
    GetWindowRect(hwnd(), &r);
    return r.left == kParkingX && r.top == kParkingY;
}

// The profile's and the theme's lengths are at 96 DPI; this maps them to the pixels drawn.
DrawScale CKestrovarBodyWnd::Scale() const {
    return settings_.SkinMode ? DrawScale{skinFactor_, 1} : PlainScale(dpi_);
}

Size CKestrovarBodyWnd::LauncherSize() const {
    if (settings_.SkinMode && settings_.Skin.Body)
        return SizeOf(settings_.Skin.Body.get());
    return Scale().Of(PlainWindowSize(settings_.ButtonSpace, GridColumns(settings_.Col), GridRows(settings_.Row),
                                      settings_.ButtonWidth, settings_.ButtonHeight));
}

// A rebuild destroys every button. It waits while a modal loop runs (a button's file dialog
// still works on its button) and while another rebuild is under way (a message box of the icon
// load pumps messages); asked for meanwhile, it runs once when they have ended. A launcher shut
// down at the end of the session is not rebuilt.
void CKestrovarBodyWnd::Rebuild(bool initial) {
    if (shutdownDone_)
        return;
    if (modalDepth_ > 0 || rebuilding_) {
        rebuildPending_ = true;
        return;
    }
    rebuilding_ = true;
    RebuildNow(initial);
    while (rebuildPending_ && modalDepth_ == 0 && !shutdownDone_) {
        rebuildPending_ = false;
        RebuildNow(false);
    }
    rebuilding_ = false;
}

void CKestrovarBodyWnd::RebuildNow(bool initial) {
    // Removing and adding the layered style resets the layered attributes.
    const LONG_PTR exStyle = GetWindowLongPtrA(hwnd(), GWL_EXSTYLE);
    SetWindowLongPtrA(hwnd(), GWL_EXSTYLE, exStyle & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
    SetWindowLongPtrA(hwnd(), GWL_EXSTYLE, exStyle | WS_EX_LAYERED);

    RECT before = {};
    GetWindowRect(hwnd(), &before);
    if (initial) {
        // Laid out for the monitor it will most likely show on; ShowAtCursor lays it out again
        // when it shows on a monitor of another DPI.
        POINT cursor = {};
        GetCursorPos(&cursor);
        dpi_ = MonitorDpiAt(cursor);
    }
    // Hidden for any reason: parked, or hidden in place while the settings sheet is open.
    const bool wasHidden = IsParked() || !IsWindowVisible(hwnd());

    if (settings_.SkinMode)
        LayOutSkin(initial);
    if (!settings_.SkinMode)
        LayOutPlain();

    iconCache_.SetScale(Scale());
    if (iconCache_.SizeDiffersFromLoad()) {
        // Icons of another size: the data file no longer fits (kept while starting up).
        if (!initialising_)
            iconCache_.DeleteDataFile();
        LoadIconStore();
        iconCache_.NoteLoadedSize();
    }

    DestroyButtons();
    CreateButtons();
    if (!settings_.MemoryPage)
        currentPage_ = 0;
    ShowPage(currentPage_);

    if (initial || wasHidden) {
        // A hidden launcher stays hidden; otherwise it would count as shown at the parking
        // place, or come up over the settings sheet, live.
        SetPlacement(0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_HIDEWINDOW);
    } else if (!settings_.SkinMode) {
        SetPlacement(before.left, before.top, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    }
}

void CKestrovarBodyWnd::LayOutSkin(bool initial) {
    settings_.LoadTheme();
    if (!settings_.Skin.Body) {
        settings_.SkinMode = 0;
        return;
    }
    const int factor = ThemeScale(dpi_).numerator;
    skinFactor_ = factor > 1 && settings_.EnlargeSkin(factor) ? factor : 1;
    const Size body = SizeOf(settings_.Skin.Body.get());
    if (initial) {
        SetPlacement(kParkingX, kParkingY, body.width, body.height, SWP_SHOWWINDOW);
        NoteOffScreenPainting();
        ApplyTransparency();
        RedrawWindow(hwnd(), nullptr, nullptr, kFullRedraw);
    } else {
        SetPlacement(0, 0, body.width, body.height, SWP_NOMOVE | SWP_SHOWWINDOW);
        ApplyTransparency();
    }
}

// The plain look's metrics are written into the settings, so the profile keeps them.
void CKestrovarBodyWnd::LayOutPlain() {
    settings_.Theme = kPlainThemeName;
    settings_.ButtonSpace = kPlainButtonSpace;
    settings_.ButtonOriginX = kPlainOrigin;
    settings_.ButtonOriginY = kPlainOrigin;
    settings_.SkinMode = 0;
    settings_.ButtonWidth = settings_.IconSize + kPlainIconMargin;
    settings_.ButtonHeight = settings_.IconSize + kPlainIconMargin;
    const Size size = LauncherSize();
    SetPlacement(kParkingX, kParkingY, size.width, size.height, SWP_SHOWWINDOW);
    NoteOffScreenPainting();
    SetLayeredWindowAttributes(hwnd(), 0, Opacity(settings_.WindowTPValue), LWA_ALPHA);
    PaintPlainBackground();
}

// Whether what is painted while the window lies at the parking place is kept. Windows keeps
// the picture of a layered window wherever it lies; Wine clips a window off the screen to
// nothing, so painting it there is wasted (ShowAtCursor then paints once, in place).
void CKestrovarBodyWnd::NoteOffScreenPainting() {
    WindowDc dc(hwnd());
    RECT client = {};
    RECT box = {};
    GetClientRect(hwnd(), &client);
    // Kept only when the whole client area can be painted there.
    offScreenPaintKept_ = dc.get() && GetClipBox(dc.get(), &box) != NULLREGION && EqualRect(&box, &client);
}

void CKestrovarBodyWnd::CreateButtons() {
    const int cols = GridColumns(settings_.Col);
    const int rows = GridRows(settings_.Row);
    const Point origin{settings_.ButtonOriginX, settings_.ButtonOriginY};
    int n = 0;
    for (int row = 0; row < rows; ++row) {
        for (int col = 0; col < cols; ++col) {
            const Rect r = Scale().Of(
                ButtonRect(col, row, origin, settings_.ButtonSpace, settings_.ButtonWidth, settings_.ButtonHeight));
            auto button = std::make_unique<CKVButton>(settings_, static_cast<ButtonHost&>(*this));
            const RECT rect = {r.left, r.top, r.right, r.bottom};
            // Kept even when its window could not be made: list position n is control id 1024 + n.
            button->CreateButton(hwnd(), rect, kFirstButtonId + n);
            buttons_.push_back(std::move(button));
            ++n;
        }
    }
}

CKVButton* CKestrovarBodyWnd::ButtonAt(int position) const {
    if (position < 0 || static_cast<size_t>(position) >= buttons_.size())
        return nullptr;
    CKVButton* button = buttons_[static_cast<size_t>(position)].get();
    return button->hwnd() ? button : nullptr;
}

int CKestrovarBodyWnd::PositionOf(HWND window) const {
    for (size_t i = 0; i < buttons_.size(); ++i) {
        if (window && buttons_[i]->hwnd() == window)
            return static_cast<int>(i);
    }
    return -1;
}

// The icon of a used item, or nullptr after clearing an item whose program gives none. An item
// whose drive or share is away keeps its slot with the default icon; the shell is asked again
// at the next page display.
HICON CKestrovarBodyWnd::IconForShownItem(const CLaunchItem& item) {
    if (item.strCommand.empty())
        return nullptr;
    if (HICON icon = GetIcon(item.strCommand))
        return icon;
    if (IsVolumeUnreachable(item.strCommand))
        return iconCache_.DefaultItemIcon();
    settings_.Items.ClearItem(item.nIndex);
    return nullptr;
}

namespace {

// The first record of each index in [first, first + count), found in one walk of the list.
std::vector<const CLaunchItem*> RecordsOfRange(const ItemList& items, long long first, int count) {
    std::vector<const CLaunchItem*> found(static_cast<size_t>(count), nullptr);
    for (const auto& record : items.records()) {
        const long long offset = record->nIndex - first;
        if (offset >= 0 && offset < count && !found[static_cast<size_t>(offset)])
            found[static_cast<size_t>(offset)] = record.get();
    }
    return found;
}

}  // namespace

// Puts page p on the buttons. Every button whose picture changes is repainted and the last one
// keeps the keyboard focus, as if the focus had passed over every button in turn.
bool CKestrovarBodyWnd::ShowPage(int page) {
    const int perPage = GridButtonCount(settings_.Col, settings_.Row);
    const long long first = static_cast<long long>(perPage) * page;
    if (page < 0 || first + 2LL * perPage > INT_MAX)
        return false;
    const std::vector<const CLaunchItem*> records = RecordsOfRange(settings_.Items, first, perPage);
    const int iconSize = iconCache_.IconSize();
    bool anyShown = false;
    CKVButton* lastButton = nullptr;
    std::vector<CKVButton*> changed;
    for (int i = 0; i < perPage; ++i) {
        CKVButton* button = ButtonAt(i);
        if (!button)
            continue;
        const int index = static_cast<int>(first + i);
        const CLaunchItem* item = records[static_cast<size_t>(i)];
        HICON icon = item ? IconForShownItem(*item) : nullptr;
        bool pictureChanged = false;
        if (icon) {
            pictureChanged = button->SetButtonItem(index, item->strCommand, item->strTip, icon, iconSize);
            anyShown = true;
        } else {
            pictureChanged = button->SetButtonItem(index, std::string(), std::string(), nullptr, iconSize);
        }
        // Repainting hundreds of unchanged buttons (empty slots) would cost far more than the page.
        if (pictureChanged)
            changed.push_back(button);
        lastButton = button;
    }
    RepaintButtons(changed);
    if (lastButton)
        SetFocus(lastButton->hwnd());
    if (anyShown)
        return true;
    if (page == 0)
        return false;
    // An empty page right after a page with items may still be shown (one step past the end).
    for (const CLaunchItem* item : RecordsOfRange(settings_.Items, first - perPage, perPage)) {
        if (item && IconForShownItem(*item))
            return true;
    }
    return false;
}

// A launcher on the screen gets the changed buttons in one copy: a paint of its own for each
// button costs about half a millisecond under Wine, several hundred on a big grid. A hidden or
// parked launcher leaves them to their own paints, which come when it is shown.
void CKestrovarBodyWnd::RepaintButtons(const std::vector<CKVButton*>& buttons) {
    if (buttons.empty())
        return;
    if (IsWindowVisible(hwnd()) && !IsParked()) {
        PaintButtonsAtOnce(buttons);
        return;
    }
    for (CKVButton* button : buttons)
        InvalidateRect(button->hwnd(), nullptr, FALSE);
}

// Draws the buttons straight through one DC of the launcher that does not clip its child
// windows; each button is still composed off screen and copied in one piece. They were not
// invalidated, so no paint of their own follows; a button that cannot be drawn this way is left
// to its own paint.
void CKestrovarBodyWnd::PaintButtonsAtOnce(const std::vector<CKVButton*>& buttons) {
    HDC screen = GetDCEx(hwnd(), nullptr, DCX_CACHE | DCX_CLIPSIBLINGS);
    POINT cursor = {};
    GetCursorPos(&cursor);
    for (CKVButton* button : buttons) {
        const RECT r = WindowRectIn(button->hwnd(), hwnd());
        if (!screen || !button->PaintAt(screen, r.left, r.top, cursor))
            InvalidateRect(button->hwnd(), nullptr, FALSE);
    }
    if (screen)
        ReleaseDC(hwnd(), screen);
}

// Composes the background and every button on one off-screen picture, puts it on the screen in
// one copy and leaves nothing for the window's and the buttons' own paints; cursor is the
// pointer's place on the screen. False when the picture could not be made; the caller then lets
// the window paint itself.
bool CKestrovarBodyWnd::PaintWholeWindowAtOnce(POINT cursor) {
    RECT client = {};
    GetClientRect(hwnd(), &client);
    HDC screen = GetDCEx(hwnd(), nullptr, DCX_CACHE | DCX_CLIPSIBLINGS);
    if (!screen)
        return false;
    UniqueMemoryDc offScreen(CreateCompatibleDC(screen));
    UniqueBitmap picture(CreateCompatibleBitmap(screen, std::max(1L, client.right), std::max(1L, client.bottom)));
    bool painted = offScreen && picture;
    if (painted) {
        SelectedObject selected(offScreen.get(), picture.get());
        PaintBackground(offScreen.get());
        for (auto& button : buttons_) {
            const RECT r = WindowRectIn(button->hwnd(), hwnd());
            button->PaintAt(offScreen.get(), r.left, r.top, cursor);
        }
        painted = BitBlt(screen, 0, 0, client.right, client.bottom, offScreen.get(), 0, 0, SRCCOPY) != FALSE;
    }
    ReleaseDC(hwnd(), screen);
    if (painted)
        RedrawWindow(hwnd(), nullptr, nullptr, RDW_VALIDATE | RDW_NOERASE | RDW_ALLCHILDREN);
    return painted;
}

void CKestrovarBodyWnd::ApplyTransparency() {
    HBITMAP bodyBitmap = settings_.Skin.Body.get();
    if (!bodyBitmap)
        return;
    const Size body = SizeOf(bodyBitmap);
    {
        WindowDc windowDc(hwnd());
        UniqueMemoryDc bodyDc(CreateCompatibleDC(windowDc.get()));
        SelectedObject selected(bodyDc.get(), bodyBitmap);
        BitBlt(windowDc.get(), 0, 0, body.width, body.height, bodyDc.get(), 0, 0, SRCPAINT);
    }
    SetLayeredWindowAttributes(hwnd(), static_cast<COLORREF>(settings_.ColorKey), Opacity(settings_.WindowTPValue),
                               LWA_COLORKEY | LWA_ALPHA);
}

void CKestrovarBodyWnd::PaintPlainBackground() {
    if (settings_.SkinMode)
        return;
    WindowDc windowDc(hwnd());
    PaintPlainBackground(windowDc.get());
}

// The erase handler. In the skin look the body is copied on every erase: a picture painted
// once is not kept everywhere (Wine keeps nothing of a window painted off screen).
void CKestrovarBodyWnd::PaintBackground(HDC target) {
    HBITMAP bodyBitmap = settings_.Skin.Body.get();
    if (!settings_.SkinMode || !bodyBitmap) {
        PaintPlainBackground(target);
        return;
    }
    const Size body = SizeOf(bodyBitmap);
    UniqueMemoryDc bodyDc(CreateCompatibleDC(target));
    SelectedObject selected(bodyDc.get(), bodyBitmap);
    BitBlt(target, 0, 0, body.width, body.height, bodyDc.get(), 0, 0, SRCCOPY);
}

// Face colour with a one-pixel shadow frame, composed off screen and copied in one blit.
void CKestrovarBodyWnd::PaintPlainBackground(HDC target) {
    if (settings_.SkinMode || !target)
        return;
    RECT client = {};
    GetClientRect(hwnd(), &client);
    if (client.right <= 0 || client.bottom <= 0)
        return;
    UniqueMemoryDc memoryDc(CreateCompatibleDC(target));
    UniqueBitmap canvas(CreateCompatibleBitmap(target, client.right, client.bottom));
    if (!memoryDc || !canvas)
        return;
    SelectedObject selected(memoryDc.get(), canvas.get());
    FillRect(memoryDc.get(), &client, GetSysColorBrush(COLOR_BTNFACE));
    FrameRect(memoryDc.get(), &client, GetSysColorBrush(COLOR_BTNSHADOW));
    BitBlt(target, 0, 0, client.right, client.bottom, memoryDc.get(), 0, 0, SRCCOPY);
}

void CKestrovarBodyWnd::EnumerateMonitors() {
    monitors_.clear();
    using EnumDisplayDevicesFn = BOOL(WINAPI*)(LPCSTR, DWORD, PDISPLAY_DEVICEA, DWORD);
    UniqueModule user32(LoadLibraryA("USER32"));
    if (!user32)
        return;
    auto enumDevices = reinterpret_cast<EnumDisplayDevicesFn>(
        reinterpret_cast<void*>(GetProcAddress(user32.get(), "EnumDisplayDevicesA")));
    if (!enumDevices)
        return;
    DISPLAY_DEVICEA device = {};
    device.cb = sizeof(device);
    for (DWORD n = 0; enumDevices(nullptr, n, &device, 0); ++n) {
        if (device.StateFlags & kAttachedToDesktop) {
            DEVMODEA mode = {};
            mode.dmSize = sizeof(mode);
            if (EnumDisplaySettingsA(device.DeviceName, ENUM_CURRENT_SETTINGS, &mode)) {
                const int x = mode.dmPosition.x;
                const int y = mode.dmPosition.y;
                monitors_.push_back(
                    Rect{x, y, x + static_cast<int>(mode.dmPelsWidth), y + static_cast<int>(mode.dmPelsHeight)});
            }
        }
        device = {};
        device.cb = sizeof(device);
    }
}
