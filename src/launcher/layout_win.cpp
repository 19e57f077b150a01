#include "launcher/body_wnd.h"

#include "framework/display_dpi.h"
#include "framework/system_library.h"
#include "items/kv_button.h"
#include "items/messages.h"

namespace {

// Grid origin, gap and the margin around the icon in the plain look.
constexpr int kPlainOrigin = 3;
constexpr int kPlainButtonSpace = 3;
constexpr int kPlainIconMargin = 6;
constexpr DWORD kAttachedToDesktop = 0x00000001;  // DISPLAY_DEVICE_ATTACHED_TO_DESKTOP

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

// A rebuild destroys every button; when it may run is LauncherLife's rule.
void CKestrovarBodyWnd::Rebuild(bool initial) {
    if (!life_.RequestRebuild())
        return;
    RebuildNow(initial);
    while (life_.TakePendingRebuild())
        RebuildNow(false);
    life_.EndRebuild();
}

void CKestrovarBodyWnd::RebuildNow(bool initial) {
    // Removing and adding the layered style resets the layered attributes.
    const LONG_PTR exStyle = GetWindowLongPtrW(hwnd(), GWL_EXSTYLE);
    SetWindowLongPtrW(hwnd(), GWL_EXSTYLE, exStyle & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
    SetWindowLongPtrW(hwnd(), GWL_EXSTYLE, exStyle | WS_EX_LAYERED);

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
        if (!life_.IsStarting())
            iconCache_.DeleteDataFile();
        LoadIconStore();
        iconCache_.NoteLoadedSize();
    }

    DestroyButtons();
    grid_.Create(hwnd(), Scale());
    grid_.ForgetPageUnlessKept();
    ShowPage(grid_.CurrentPage());
    painter_.ComposePicture();

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
        painter_.NoteOffScreenPainting();
        painter_.ApplyTransparency();
        RedrawWindow(hwnd(), nullptr, nullptr, kFullRedraw);
    } else {
        SetPlacement(0, 0, body.width, body.height, SWP_NOMOVE | SWP_SHOWWINDOW);
        painter_.ApplyTransparency();
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
    painter_.NoteOffScreenPainting();
    painter_.ApplyPlainLook();
}

// Puts page p on the buttons (see ButtonGrid::ShowPage); the changed ones come back to
// RepaintButtons.
bool CKestrovarBodyWnd::ShowPage(int page) {
    return grid_.ShowPage(page);
}

// The changed buttons are copied from the kept picture: a paint of its own for each button costs
// about half a millisecond under Wine, several hundred on a big grid. A hidden or parked launcher
// only keeps them for its next show.
void CKestrovarBodyWnd::RepaintButtons(const std::vector<int>& positions) {
    const bool onScreen = IsWindowVisible(hwnd()) && !IsParked();
    POINT pointer = {};
    if (onScreen) {
        GetCursorPos(&pointer);
        ScreenToClient(hwnd(), &pointer);
    }
    painter_.UpdateButtons(positions, onScreen, pointer);
}

void CKestrovarBodyWnd::EnumerateMonitors() {
    monitors_.clear();
    using EnumDisplayDevicesFn = BOOL(WINAPI*)(LPCWSTR, DWORD, PDISPLAY_DEVICEW, DWORD);
    UniqueModule user32(LoadSystemLibrary(L"user32.dll"));
    if (!user32)
        return;
    auto enumDevices = reinterpret_cast<EnumDisplayDevicesFn>(
        reinterpret_cast<void*>(GetProcAddress(user32.get(), "EnumDisplayDevicesW")));
    if (!enumDevices)
        return;
    DISPLAY_DEVICEW device = {};
    device.cb = sizeof(device);
    for (DWORD n = 0; enumDevices(nullptr, n, &device, 0); ++n) {
        if (device.StateFlags & kAttachedToDesktop) {
            DEVMODEW mode = {};
            mode.dmSize = sizeof(mode);
            if (EnumDisplaySettingsW(device.DeviceName, ENUM_CURRENT_SETTINGS, &mode)) {
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
