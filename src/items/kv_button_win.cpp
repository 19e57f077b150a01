#include "items/kv_button.h"

#include "framework/dib_canvas.h"
#include "framework/handles.h"
#include "items/icon_pictures.h"
#include "items/launch_paths.h"
#include "items/messages.h"
#include "settings/kestrovar_settings.h"
#include "text/unicode.h"
#include "theme/draw_transparent.h"

#include <algorithm>

#include <commctrl.h>
#include <windowsx.h>

namespace {

constexpr char kEmptySlotTip[] = "アイテムをドロップして下さい。";
// A tooltip text stored for items that should show no tooltip.
// Skin state bitmaps always use magenta as their transparent colour, whatever the theme's key.
constexpr COLORREF kButtonImageKey = RGB(0xFF, 0x00, 0xFF);
constexpr DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | BS_OWNERDRAW;

bool IsKeyHeld(int key) {
    return (GetKeyState(key) & 0x8000) != 0;
}

bool IsButtonDownNow(int key) {
    return (GetAsyncKeyState(key) & 0x8000) != 0;
}

bool IsSpaceHeld() {
    return IsKeyHeld(VK_SPACE);
}

// The modifier keys held as of the message being handled, in the form a mouse message carries them.
WPARAM HeldModifierKeys() {
    return (IsKeyHeld(VK_CONTROL) ? MK_CONTROL : 0) | (IsKeyHeld(VK_SHIFT) ? MK_SHIFT : 0);
}

// The window at a mouse message's point, given in the client coordinates of the window that got
// it. A busy launcher handles a release after the pointer may have moved on: a click or a drop is
// judged where the button was released, not where the pointer is when the message is handled.
HWND WindowAtClientPoint(HWND w, LPARAM lParam) {
    POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ClientToScreen(w, &pt);
    return WindowFromPoint(pt);
}

bool IsLauncherButton(HWND window) {
    return window && WindowTextOf(window, MAX_PATH) == kButtonWindowText;
}

void FillWithSystemColor(HDC dc, const RECT& rect, int colorIndex) {
    FillRect(dc, &rect, GetSysColorBrush(colorIndex));
}

void FrameWithSystemColor(HDC dc, const RECT& rect, int colorIndex) {
    FrameRect(dc, &rect, GetSysColorBrush(colorIndex));
}

// One off-screen canvas serves every button: they are drawn one at a time on the GUI thread,
// and a page of many buttons would otherwise make and free a bitmap for each of them. It grows
// to the largest button drawn; nullptr when it cannot.
HDC ButtonCanvas(int width, int height) {
    static DibCanvas canvas;
    if (!canvas || width > canvas.width() || height > canvas.height()) {
        if (!canvas.Create(std::max(width, canvas.width()), std::max(height, canvas.height())))
            return nullptr;
    }
    return canvas.dc();
}

}  // namespace

HWND WindowUnderCursor() {
    POINT pt = {};
    GetCursorPos(&pt);
    return WindowFromPoint(pt);
}

CKVButton::~CKVButton() {
    DestroyWindow();
}

bool CKVButton::CreateButton(HWND parent, const RECT& rect, int controlId) {
    HWND button =
        CreateWindowExW(0, L"BUTTON", Wide(kButtonWindowText).c_str(), kButtonStyle, rect.left, rect.top,
                        rect.right - rect.left, rect.bottom - rect.top, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), GetModuleHandleW(nullptr), nullptr);
    if (!button || !Subclass(button))
        return false;
    OnCreate();
    return true;
}

// What the button does once its window exists: accept dropped files. Its tooltip is made when
// the pointer first comes to it: a tooltip is a window of its own, costly to make (some tens of
// milliseconds each under Wine), and a big grid would otherwise make a thousand of them at start.
void CKVButton::OnCreate() {
    SetWindowLongPtrW(hwnd(), GWL_EXSTYLE, GetWindowLongPtrW(hwnd(), GWL_EXSTYLE) | WS_EX_ACCEPTFILES);
    m_strTooltip = kEmptySlotTip;
}

// Makes the tooltip with one tool over the whole button, showing the current tooltip text.
void CKVButton::CreateTooltip() {
    m_tooltip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!m_tooltip) {
        m_tooltipFailed = true;  // the button works without a tooltip
        return;
    }
    std::wstring text = Wide(m_strTooltip);
    TTTOOLINFOW tool = {};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND;  // the tool is the whole button window
    tool.hwnd = hwnd();
    tool.uId = reinterpret_cast<UINT_PTR>(hwnd());
    tool.lpszText = &text[0];
    SendMessageW(m_tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

std::string CKVButton::TooltipText() const {
    if (!m_tooltip)
        return m_strTooltip;
    wchar_t text[1024] = {};
    TTTOOLINFOW tool = {};
    tool.cbSize = sizeof(tool);
    tool.hwnd = hwnd();
    tool.uId = reinterpret_cast<UINT_PTR>(hwnd());
    tool.lpszText = text;
    SendMessageW(m_tooltip, TTM_GETTEXTW, ARRAYSIZE(text), reinterpret_cast<LPARAM>(&tool));
    return Utf8(text);
}

bool CKVButton::SetButtonItem(int index, const std::string& command, const std::string& tip, HICON icon, int iconSize) {
    const bool pictureChanged = icon != m_hIcon || iconSize != m_nIconSize;
    m_hIcon = icon;
    m_nIndex = index;
    m_strCommand = command;
    m_nIconSize = iconSize;
    if (command.empty() && tip.empty())
        SetTooltipText(kEmptySlotTip);
    else
        SetTooltipText(tip == kNoTooltipText ? std::string() : tip);
    return pictureChanged;
}

void CKVButton::SetTooltipText(const std::string& text) {
    // Every page display sets every button's text; most often it is the text it already has.
    if (text == m_strTooltip)
        return;
    m_strTooltip = text;
    if (!m_tooltip)
        return;
    SendMessageW(m_tooltip, TTM_POP, 0, 0);
    std::wstring wide = Wide(text);
    TTTOOLINFOW tool = {};
    tool.cbSize = sizeof(tool);
    tool.hwnd = hwnd();
    tool.uId = reinterpret_cast<UINT_PTR>(hwnd());
    tool.lpszText = &wide[0];
    SendMessageW(m_tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void CKVButton::HideTooltip() {
    if (m_tooltip && IsWindowVisible(m_tooltip))
        SendMessageW(m_tooltip, TTM_POP, 0, 0);
}

bool CKVButton::PreTranslateMessage(MSG* msg) {
    if (msg->hwnd != hwnd())
        return false;
    const bool mouse = msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST;
    if (!m_tooltip && !m_tooltipFailed && mouse)
        CreateTooltip();
    if (m_tooltip)
        SendMessageW(m_tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg));
    return false;
}

bool CKVButton::OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (msg == WM_DRAWITEM) {
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        *result = TRUE;
        return true;
    }
    if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        // From a release of the left button, or of the space key on the focused button.
        if (m_releasedOver)
            ApplyClickRule(m_releasedOver, m_releasedKeys);
        else
            ApplyClickRule(WindowUnderCursor(), HeldModifierKeys());
        *result = 0;
        return true;
    }
    return false;
}

LRESULT CKVButton::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_MOUSEMOVE:
            OnMouseMove();
            break;
        case WM_MOUSELEAVE:
            m_bHover = false;
            InvalidateRect(hwnd(), nullptr, FALSE);
            break;
        case WM_LBUTTONDOWN:
            m_host.SetDragSource(m_nIndex);
            break;
        case WM_LBUTTONUP: {
            m_releasedOver = WindowAtClientPoint(hwnd(), lParam);
            m_releasedKeys = wParam;
            ApplyDropRule(m_releasedOver);
            // The button control reports its click from within this message.
            const LRESULT result = Window::WindowProc(msg, wParam, lParam);
            m_releasedOver = nullptr;
            return result;
        }
        case WM_KEYDOWN:
            // Keys belong to the button under the pointer; the focused one may lie elsewhere.
            if (WindowUnderCursor() != hwnd())
                return 0;
            if (IsSpaceHeld())
                m_host.SetDragSource(m_nIndex);
            break;
        case WM_KEYUP:
            // Only the space key carries an item; other keys (the arrows) move the pointer.
            if (wParam == VK_SPACE && !IsButtonDownNow(VK_LBUTTON))
                ApplyDropRule(WindowUnderCursor());
            break;
        case WM_MBUTTONDOWN:
            m_bMiddleDown = true;
            InvalidateRect(hwnd(), nullptr, FALSE);
            break;
        case WM_MBUTTONUP:
            OnMiddleButtonUp(wParam, lParam);
            break;
        case WM_MOUSEWHEEL: {
            m_host.PageStepLater(GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? 1 : 2);
            break;
        }
        case WM_ERASEBKGND:
            return 0;  // DrawItem covers every pixel
        case WM_DROPFILES:
            OnDropFiles(reinterpret_cast<HDROP>(wParam));
            return 0;
        case KVM_GETINDEX:
            return m_nIndex;
        case WM_DESTROY:
            // The tooltip is owned by the launcher window (a popup cannot be owned by a child), so
            // it would outlive the button; every rebuild would leave one behind.
            if (m_tooltip) {
                ::DestroyWindow(m_tooltip);
                m_tooltip = nullptr;
            }
            break;
        default:
            break;
    }
    return Window::WindowProc(msg, wParam, lParam);
}

void CKVButton::OnMouseMove() {
    HWND launcher = GetParent(hwnd());
    if (GetForegroundWindow() != launcher)
        ForceForeground(launcher);
    if (m_bHover || IsSpaceHeld())
        return;
    m_bHover = true;
    InvalidateRect(hwnd(), nullptr, FALSE);
    TRACKMOUSEEVENT track = {};
    track.cbSize = sizeof(track);
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = hwnd();
    TrackMouseEvent(&track);
    if (m_tooltip)
        SendMessageW(m_tooltip, TTM_POP, 0, 0);
    if (!IsButtonDownNow(VK_LBUTTON) && !IsButtonDownNow(VK_RBUTTON) && !IsButtonDownNow(VK_MBUTTON))
        m_bMiddleDown = false;
    SetFocus(hwnd());
}

void CKVButton::OnMiddleButtonUp(WPARAM keys, LPARAM point) {
    if (m_bMiddleDown) {
        if (m_pSettings->WheelClickSelect)
            ApplyClickRule(WindowAtClientPoint(hwnd(), point), keys);
        else if (m_pSettings->HideOption)
            m_host.HideLater();
    }
    m_bMiddleDown = false;
    InvalidateRect(hwnd(), nullptr, FALSE);
}

// under: the window where the click was released; keys: the MK_ flags held at the release.
void CKVButton::ApplyClickRule(HWND under, WPARAM keys) {
    if (under == hwnd() && !IsSpaceHeld())
        StartLaunch(LaunchVerb((keys & MK_CONTROL) != 0, (keys & MK_SHIFT) != 0));
}

// A release over another launcher button moves the dragged item there. Any other release ends
// the drag without a move: a drag source left behind would let a later release elsewhere (an
// arrow key's, say) move the item.
void CKVButton::ApplyDropRule(HWND target) {
    const int source = m_host.DragSource();
    const int targetIndex = IsLauncherButton(target) ? static_cast<int>(SendMessageW(target, KVM_GETINDEX, 0, 0)) : -1;
    if (source == -1 || targetIndex == -1 || source == targetIndex) {
        m_host.SetDragSource(-1);
        return;
    }
    // The launcher clears the drag source when it makes the move.
    m_host.MoveItemLater(targetIndex);
}

bool CKVButton::IsShownPressed() const {
    if (SendMessageW(hwnd(), BM_GETSTATE, 0, 0) & BST_PUSHED)
        return true;
    return m_bMiddleDown && m_bHover && m_pSettings->WheelClickSelect;
}

bool CKVButton::IsSkinned() const {
    return m_pSettings->SkinMode && m_pSettings->Skin.Body;
}

// The part of the launcher's body bitmap that lies under this button.
void CKVButton::DrawSkinBackground(HDC dc, const RECT& client) const {
    const RECT inParent = WindowRectIn(hwnd(), GetParent(hwnd()));
    BitmapDc body(dc, m_pSettings->Skin.Body.get());
    BitBlt(dc, 0, 0, client.right, client.bottom, body.get(), inParent.left, inParent.top, SRCCOPY);
}

void CKVButton::DrawFace(HDC dc, const RECT& client, ButtonFace face) const {
    HBITMAP image = nullptr;
    if (IsSkinned()) {
        image = face == ButtonFace::kPressed   ? m_pSettings->Skin.ButtonDown.get()
                : face == ButtonFace::kPointed ? m_pSettings->Skin.ButtonOnMouse.get()
                                               : m_pSettings->Skin.Button.get();
    }
    if (image) {
        BitmapDc source(dc, image);
        DrawTransparent(source.get(), dc, 0, 0, client.right, client.bottom, 0, 0, kButtonImageKey);
        return;
    }
    // Plain look, and skinned themes that name no image for this state.
    switch (face) {
        case ButtonFace::kPressed:
            FillWithSystemColor(dc, client, COLOR_BTNSHADOW);
            break;
        case ButtonFace::kPointed:
            FrameWithSystemColor(dc, client, COLOR_BTNSHADOW);
            break;
        case ButtonFace::kResting:
            FrameWithSystemColor(dc, client, COLOR_BTNFACE);
            break;
    }
}

void CKVButton::DrawItem(const DRAWITEMSTRUCT& draw) {
    // The button shows no focus: a focus change alone leaves its picture as it is.
    if (draw.itemAction == ODA_FOCUS)
        return;
    RECT client = {};
    GetClientRect(hwnd(), &client);
    POINT pointer = {};
    GetCursorPos(&pointer);
    ScreenToClient(hwnd(), &pointer);
    if (HDC picture = ComposeOnCanvas(client, FaceFor(pointer)))
        BitBlt(draw.hDC, 0, 0, client.right, client.bottom, picture, 0, 0, SRCCOPY);
}

ButtonFace CKVButton::FaceFor(POINT pointer) const {
    if (IsShownPressed())
        return ButtonFace::kPressed;
    RECT client = {};
    GetClientRect(hwnd(), &client);
    return PtInRect(&client, pointer) ? ButtonFace::kPointed : ButtonFace::kResting;
}

bool CKVButton::PaintAt(HDC dc, int x, int y, ButtonFace face) const {
    RECT client = {};
    GetClientRect(hwnd(), &client);
    HDC picture = ComposeOnCanvas(client, face);
    return picture && BitBlt(dc, x, y, client.right, client.bottom, picture, 0, 0, SRCCOPY);
}

// Composes the button's picture off screen (so it reaches the screen in one copy, without
// flicker) and returns the canvas DC holding it, or nullptr when there is nothing to draw.
HDC CKVButton::ComposeOnCanvas(const RECT& client, ButtonFace face) const {
    if (client.right <= 0 || client.bottom <= 0)
        return nullptr;
    HDC dc = ButtonCanvas(client.right, client.bottom);
    if (!dc)
        return nullptr;
    if (IsSkinned())
        DrawSkinBackground(dc, client);
    else
        FillWithSystemColor(dc, client, COLOR_BTNFACE);
    DrawFace(dc, client, face);
    if (m_hIcon) {
        // Centred; an icon larger than the button gets negative offsets and is clipped.
        DrawIconPicture(dc, (client.right - m_nIconSize) / 2, (client.bottom - m_nIconSize) / 2, m_hIcon, m_nIconSize);
    }
    return dc;
}
