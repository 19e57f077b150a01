#include "launcher/body_wnd.h"

#include "items/command_ids.h"
#include "items/hotkey_rules.h"
#include "items/kv_button.h"
#include "items/messages.h"

#include <mmsystem.h>
#include <windowsx.h>
#include <climits>

namespace {

constexpr int kWindowTextBytes = 260;
constexpr UINT kWmDpiChanged = 0x02E0;  // WM_DPICHANGED, newer than the headers this targets
// Bounds the walk to the top-level window should a broken owner chain loop.
constexpr int kMaxAncestorSteps = 1000;

// The top-level window of w, climbing GetParent (owners included) until there is none.
HWND TopLevelOf(HWND w) {
    HWND top = w;
    for (int step = 0; step < kMaxAncestorSteps; ++step) {
        HWND parent = GetParent(top);
        if (!parent)
            break;
        top = parent;
    }
    return top;
}

// Hook points travel as signed 16-bit halves (negative on monitors left of or above the primary).
POINT HookPoint(LPARAM lParam) {
    return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

// The window a hook message names; nullptr for a value that is no window (any program may post
// these messages, and a window can be gone by the time its message is handled).
HWND WindowParam(WPARAM wParam) {
    HWND window = reinterpret_cast<HWND>(wParam);
    return IsWindow(window) ? window : nullptr;
}

LPARAM ClientPointOf(HWND w, POINT screen) {
    ScreenToClient(w, &screen);
    return MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(screen.x)), static_cast<WORD>(static_cast<SHORT>(screen.y)));
}

bool IsArrowKey(WPARAM key, ArrowKey* arrow) {
    switch (key) {
        case VK_LEFT:
            *arrow = kArrowLeft;
            return true;
        case VK_RIGHT:
            *arrow = kArrowRight;
            return true;
        case VK_UP:
            *arrow = kArrowUp;
            return true;
        case VK_DOWN:
            *arrow = kArrowDown;
            return true;
        default:
            return false;
    }
}

}  // namespace

LRESULT CKestrovarBodyWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_QUERYENDSESSION:
            RunShutdownSequence();
            break;
        case WM_ENDSESSION:
            if (!wParam)
                ResumeAfterCancelledEnd();
            break;
        case WM_DESTROY: {
            LRESULT result = Dialog::WindowProc(msg, wParam, lParam);
            OnDestroy();
            return result;
        }
        case WM_SETTINGCHANGE:
            if (!settings_.SkinMode)
                Rebuild(false);
            break;
        case WM_SYSCOLORCHANGE:
            // The plain look and the buttons' faces are drawn in the system's colours.
            painter_.DiscardPicture();
            painter_.ComposePicture();
            break;
        case WM_DISPLAYCHANGE:
            EnumerateMonitors();
            break;
        case kWmDpiChanged:
            OnDpiChanged(HIWORD(wParam));
            return 0;
        case WM_LBUTTONDOWN:
            grid_.EndDrag();
            break;
        case WM_ERASEBKGND:
            // Nonzero: the background is done, so BeginPaint does not ask for it a second time.
            painter_.PaintBackground(reinterpret_cast<HDC>(wParam));
            return 1;
        case WM_CONTEXTMENU:
            commands_.ShowMenu(reinterpret_cast<HWND>(wParam), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return 0;
        case WM_COMMAND:
            // Notifications of the buttons carry their window; menu commands carry none. Button
            // ids (1024 + n) may equal menu ids on big grids, so only the latter are commands.
            if (lParam != 0)
                break;
            if (LOWORD(wParam) == kCmdRefresh || LOWORD(wParam) == kCmdHelpRefresh) {
                OnRefresh();
                return 0;
            }
            if (commands_.Run(LOWORD(wParam)))
                return 0;
            break;
        case WM_HOTKEY:
            if (hook_.IsLockMessage())
                break;
            OnHotKey(wParam);
            return 0;
        case KVM_HIDE:
            Hide();
            return 0;
        case KVM_DELETEITEM:
            if (wParam <= static_cast<WPARAM>(INT_MAX))
                settings_.Items.ClearItem(static_cast<int>(wParam));
            return 0;
        case KVM_MOVEITEM:
            return OnMoveItem(lParam);
        case KVM_SETDRAGSOURCE:
            OnSetDragSource(wParam);
            return 0;
        case KVM_GETDRAGSOURCE:
            return DragSource();
        case KVM_PAGESTEP:
            if (const int step = WheelPageStep(wParam))
                PageStep(step);
            break;
        case KVM_HOOKCLICK:
            if (hook_.IsLockMessage())
                break;
            return OnHookClick(WindowParam(wParam), HookPoint(lParam));
        case KVM_HOOKDOWN:
            if (hook_.IsLockMessage())
                break;
            return OnHookDown(WindowParam(wParam), HookPoint(lParam));
        default:
            break;
    }
    return Dialog::WindowProc(msg, wParam, lParam);
}

void CKestrovarBodyWnd::OnHotKey(WPARAM id) {
    switch (id) {
        case kHotkeyNextId:
            PageStep(-1);
            break;
        case kHotkeyPrevId:
            PageStep(1);
            break;
        case kHotkeyShowId:
            Toggle();
            break;
        default:
            break;
    }
}

// Turns the page; acts only while the cursor is over the shown launcher.
void CKestrovarBodyWnd::PageStep(int step) {
    POINT cursor = {};
    GetCursorPos(&cursor);
    RECT r = {};
    GetWindowRect(hwnd(), &r);
    if (!PtInRect(&r, cursor))
        return;
    grid_.StepPage(PageStepDirection(step));
}

// The wheel click reported by the hook library: toggles the launcher unless it happened in an
// ignored window or on a launcher button, which get their click re-delivered under the lock.
LRESULT CKestrovarBodyWnd::OnHookClick(HWND window, POINT screenPoint) {
    const bool doubleClickOn = settings_.DoubleClick != 0;
    const bool qualifies = clickQualifier_.OnClick(timeGetTime(), GetDoubleClickTime(), doubleClickOn);

    // Every press re-delivered by OnHookDown gets its release here, whatever the click count.
    const bool onButton = WindowTextOf(window, kWindowTextBytes) == kButtonWindowText;
    const bool ignored = IsIgnored(TopLevelOf(window));
    if (ignored || onButton) {
        clickQualifier_.Reset();
        if (settings_.WheelClickLock) {
            PostMessageW(window, WM_MBUTTONUP, MK_MBUTTON, ClientPointOf(window, screenPoint));
            return 0;
        }
        if (ignored)
            return 0;
    }
    if (doubleClickOn && !qualifies && clickQualifier_.count == 0)
        return 0;  // a third click after an unused pair only resets the count
    if (!settings_.WheelClickTrigger || !qualifies)
        return 0;
    Toggle(screenPoint);
    return 0;
}

// The press half of the re-delivery: ignored windows and the launcher's own buttons get their
// middle-button press back while the hook library keeps it from them.
LRESULT CKestrovarBodyWnd::OnHookDown(HWND window, POINT screenPoint) {
    HWND topLevel = TopLevelOf(window);
    const bool launcher = WindowTextOf(topLevel, kWindowTextBytes) == kBodyWindowText;
    if (!launcher && !IsIgnored(topLevel))
        return 0;
    if (!settings_.WheelClickLock)
        return 0;
    PostMessageW(window, WM_MBUTTONDOWN, MK_MBUTTON, ClientPointOf(window, screenPoint));
    return 0;
}

// The end of a drag: the dragged item goes to the target slot (high word of lParam).
// Posted to itself: the button that asks is still handling its message, and the move, the page
// step and the hide repaint or hide the buttons.
// The message carries no proof of its sender: only the move asked for here is made.
void CKestrovarBodyWnd::MoveItemLater(int target) {
    const DWORD packed = static_cast<DWORD>(target) * 65536u + (static_cast<DWORD>(grid_.DragSource()) & 0xFFFFu);
    pendingMove_ = static_cast<LPARAM>(packed);
    PostMessageW(hwnd(), KVM_MOVEITEM, 0, *pendingMove_);
}

void CKestrovarBodyWnd::PageStepLater(int step) {
    PostMessageW(hwnd(), KVM_PAGESTEP, static_cast<WPARAM>(step), 0);
}

void CKestrovarBodyWnd::HideLater() {
    PostMessageW(hwnd(), KVM_HIDE, 0, 0);
}

void CKestrovarBodyWnd::AddItem(std::unique_ptr<CLaunchItem> item) {
    settings_.Items.PutItem(std::move(item));
    SaveUserChange();
}

LRESULT CKestrovarBodyWnd::OnMoveItem(LPARAM lParam) {
    if (pendingMove_ != lParam)
        return 0;
    pendingMove_.reset();
    const int source = grid_.DragSource();
    if (source == -1)
        return 0;
    const int target = HIWORD(static_cast<DWORD>(lParam));
    settings_.Items.MoveItem(source, target);
    SaveUserChange();
    ShowPage(grid_.CurrentPage());
    grid_.EndDrag();
    FocusButtonUnderCursor();
    return 0;
}

// From another program: an item index shown on a button of the page, or -1 (in any width) to
// end the drag. Any other value would let a later drop move an item the user never took up.
void CKestrovarBodyWnd::OnSetDragSource(WPARAM wParam) {
    const int index = static_cast<int>(wParam);
    const bool fitsInt = wParam <= static_cast<WPARAM>(INT_MAX) || wParam == static_cast<WPARAM>(-1) ||
                         wParam == static_cast<WPARAM>(UINT_MAX);
    if (fitsInt && index == -1)
        grid_.EndDrag();
    else if (fitsInt && grid_.ShowsIndex(index))
        grid_.SetDragSource(index);
}

void CKestrovarBodyWnd::FocusButtonUnderCursor() {
    HWND under = WindowUnderCursor();
    if (under && WindowTextOf(under, kWindowTextBytes) == kButtonWindowText)
        SetFocus(under);
}

// Keys belong to the button under the pointer. The focus follows the pointer from button to
// button, but not always in time: a pointer that comes onto a button with the space key already
// down, or back from a dialog, leaves the focus on the button it was on, which ignores keys
// meant for another and would drop a space-key move. A key's first press takes the focus to the
// button under the pointer; its repeats and its release then go where the focus is, so a space
// key held while the pointer moves on stays with the button it was pressed on.
void CKestrovarBodyWnd::SendKeyToButtonUnderCursor(MSG* msg) {
    constexpr LPARAM kRepeat = 1 << 30;  // the key was down before this message
    if ((msg->lParam & kRepeat) || grid_.PositionOf(msg->hwnd) < 0)
        return;
    CKVButton* under = grid_.ButtonAt(grid_.PositionOf(WindowUnderCursor()));
    if (!under || under->hwnd() == msg->hwnd)
        return;
    SetFocus(under->hwnd());
    msg->hwnd = under->hwnd();
}

// The system's suggested rectangle is not taken: the launcher sizes itself from its grid. A
// hidden launcher is laid out when it next shows, at the DPI of the monitor it shows on; its
// parking place off every screen would otherwise give it the nearest monitor's DPI at each hide.
void CKestrovarBodyWnd::OnDpiChanged(int dpi) {
    if (dpi <= 0 || dpi == dpi_ || IsParked() || !IsWindowVisible(hwnd()))
        return;
    dpi_ = dpi;
    Rebuild(false);
}

// Makes every icon again from the shell. Not while the icons are still loading, nor while a
// modal loop may still use them.
void CKestrovarBodyWnd::OnRefresh() {
    if (!iconCache_.IsLoaded() || life_.InModal())
        return;
    iconCache_.DeleteDataFile();
    LoadIconStore();
    Rebuild(false);
}

bool CKestrovarBodyWnd::PreTranslateMessage(MSG* msg) {
    if (msg->message != WM_KEYDOWN)
        return false;
    SendKeyToButtonUnderCursor(msg);
    if (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE) {
        Hide();
        return false;
    }
    ArrowKey arrow;
    if (IsArrowKey(msg->wParam, &arrow))
        return OnArrowKey(arrow, msg);
    return false;
}

// Moves the pointer to `to`. It is first set where it really is: a late pointer event handled
// by another process can leave the system's idea of the pointer behind the pointer itself
// (seen under Wine), and a move to that stale place would then be taken as no move at all.
static void MovePointerTo(POINT to) {
    POINT now = {};
    if (GetCursorPos(&now))
        SetCursorPos(now.x, now.y);
    SetCursorPos(to.x, to.y);
}

// Walks the cursor from button to button. The key is consumed after a move: the dialog's own
// arrow handling would otherwise move the focus away from the button under the cursor.
bool CKestrovarBodyWnd::OnArrowKey(ArrowKey arrow, MSG* msg) {
    const int position = grid_.PositionOf(WindowUnderCursor());
    const std::optional<int> target = ArrowTarget(arrow, position, settings_.Col, settings_.Row);
    CKVButton* button = target ? grid_.ButtonAt(*target) : nullptr;
    if (!button) {
        // No navigation on a single column or row: the key goes to the focused button as is,
        // without the dialog's arrow handling.
        TranslateMessage(msg);
        DispatchMessageW(msg);
        return true;
    }
    RECT r = {};
    GetWindowRect(button->hwnd(), &r);
    MovePointerTo({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    SetFocus(button->hwnd());
    InvalidateRect(hwnd(), nullptr, TRUE);
    return true;
}
