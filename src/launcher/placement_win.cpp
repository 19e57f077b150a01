#include "launcher/body_wnd.h"

#include "framework/display_dpi.h"
#include "items/kv_button.h"

namespace {

// Returns the launcher's pages to the system; it spends most of its life hidden. Both sizes
// (SIZE_T)-1 empty the working set as EmptyWorkingSet does, without loading the process
// status library at the first hide.
void TrimWorkingSet() {
    const SIZE_T kEmpty = static_cast<SIZE_T>(-1);
    SetProcessWorkingSetSize(GetCurrentProcess(), kEmpty, kEmpty);
}

}  // namespace

// A wheel click shows the launcher centred where it was clicked: a busy launcher handles the
// click after the pointer may have moved on. A hot key has no point of its own: the pointer's.
void CKestrovarBodyWnd::ShowAtCursor(std::optional<POINT> clickPoint) {
    POINT cursor = {};
    if (clickPoint)
        cursor = *clickPoint;
    else
        GetCursorPos(&cursor);
    const int dpi = MonitorDpiAt(cursor);
    if (dpi != dpi_) {
        // Another monitor, or its scaling changed: laid out again at its DPI before showing.
        dpi_ = dpi;
        Rebuild(false);
    }
    const Size size = LauncherSize();
    const Point place = PlaceAtCursor(cursor.x, cursor.y, size.width, size.height, monitors_);

    if (painter_.OffScreenPaintKept()) {
        // Painted completely off screen first, so nothing is seen being drawn under the cursor.
        SetPlacement(kParkingX, kParkingY, size.width, size.height, SWP_SHOWWINDOW);
        PaintShown(cursor, POINT{place.x, place.y});
        SetPlacement(place.x, place.y, size.width, size.height, SWP_SHOWWINDOW | SWP_NOREDRAW);
        ForceForeground(hwnd());
        return;
    }
    // Nothing painted off screen would be kept: the kept picture is put on the window in place,
    // in one blit, once the window has the foreground (a focus change would repaint a button).
    SetPlacement(place.x, place.y, size.width, size.height, SWP_SHOWWINDOW | SWP_NOREDRAW);
    ForceForeground(hwnd());
    PaintShown(cursor, POINT{place.x, place.y});
}

// The window has no frame: its client area starts at its top-left corner.
void CKestrovarBodyWnd::PaintShown(POINT cursor, POINT place) {
    if (!painter_.ShowPicture(POINT{cursor.x - place.x, cursor.y - place.y}))
        RedrawWindow(hwnd(), nullptr, nullptr, kFullRedraw);
}

void CKestrovarBodyWnd::ShowInPlace(int x, int y) {
    const Size size = LauncherSize();
    SetPlacement(x, y, size.width, size.height, SWP_SHOWWINDOW | SWP_NOREDRAW);
    POINT cursor = {};
    GetCursorPos(&cursor);
    PaintShown(cursor, POINT{x, y});
}

void CKestrovarBodyWnd::Hide() {
    grid_.ForgetPageUnlessKept();
    RECT r = {};
    GetWindowRect(hwnd(), &r);
    SetPlacement(kParkingX, kParkingY, r.right - r.left, r.bottom - r.top, SWP_HIDEWINDOW);

    // The page and its picture are made ready for the next show while nobody sees them.
    ShowPage(grid_.CurrentPage());
    painter_.RefreshPicture();
    grid_.EndDrag();

    // The window the user points at gets the keyboard back. A button's tooltip can still lie
    // under the pointer: it is put away first, and no window of the launcher's own is given the
    // foreground (a tooltip that took it would leave no foreground window at all once it hid,
    // and the next show could not take it back).
    for (auto& button : grid_.Buttons())
        button->HideTooltip();
    POINT cursor = {};
    GetCursorPos(&cursor);
    HWND under = WindowFromPoint(cursor);
    DWORD process = 0;
    if (under && GetWindowThreadProcessId(under, &process) && process != GetCurrentProcessId())
        ForceForeground(under);
    TrimWorkingSet();
}

void CKestrovarBodyWnd::Toggle(std::optional<POINT> clickPoint) {
    clickQualifier_.Reset();
    if (IsWindowVisible(hwnd()))
        Hide();
    else
        ShowAtCursor(clickPoint);
}
