#include "framework/window.h"

#include "framework/application.h"
#include "text/unicode.h"

#include <vector>

Window::~Window() {
    if (hwnd_ && IsWindow(hwnd_)) {
        HWND h = hwnd_;
        ::DestroyWindow(h);
    }
}

Window* Window::FromHandle(HWND hwnd) {
    if (!hwnd)
        return nullptr;
    // The user data of another process's window is an address in that process, even when
    // its window procedure lies at the same address as ours (another copy of this program).
    DWORD process = 0;
    if (!GetWindowThreadProcessId(hwnd, &process) || process != GetCurrentProcessId())
        return nullptr;
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC)) != &Window::StaticWindowProc)
        return nullptr;
    return reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

bool Window::Create(const char* className,
                    DWORD exStyle,
                    const char* text,
                    DWORD style,
                    const RECT& rect,
                    HWND parent,
                    UINT id) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    const std::wstring wideClass = Wide(className);
    WNDCLASSEXW existing = {};
    existing.cbSize = sizeof(existing);
    if (!GetClassInfoExW(instance, wideClass.c_str(), &existing)) {
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof(wc);
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = &Window::StaticWindowProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = wideClass.c_str();
        if (!RegisterClassExW(&wc))
            return false;
    }
    HMENU menuOrId = (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)) : nullptr;
    HWND hwnd = CreateWindowExW(exStyle, wideClass.c_str(), Wide(text).c_str(), style, rect.left, rect.top,
                                rect.right - rect.left, rect.bottom - rect.top, parent, menuOrId, instance, this);
    return hwnd != nullptr;
}

bool Window::Subclass(HWND hwnd) {
    if (!hwnd || hwnd_)
        return false;
    Attach(hwnd, reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC)));
    return true;
}

void Window::DestroyWindow() {
    if (hwnd_)
        ::DestroyWindow(hwnd_);
}

void Window::Attach(HWND hwnd, WNDPROC previous) {
    hwnd_ = hwnd;
    previousProc_ = previous;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC)) != &Window::StaticWindowProc)
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Window::StaticWindowProc));
}

LRESULT Window::DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (previousProc_)
        return CallWindowProcW(previousProc_, hwnd_, msg, wParam, lParam);
    return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

LRESULT Window::ReflectToChild(UINT msg, WPARAM wParam, LPARAM lParam, bool* handled) {
    HWND child = nullptr;
    if (msg == WM_DRAWITEM)
        child = reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem;
    else if (msg == WM_COMMAND)
        child = reinterpret_cast<HWND>(lParam);
    else if (msg == WM_NOTIFY)
        child = reinterpret_cast<NMHDR*>(lParam)->hwndFrom;
    LRESULT result = 0;
    Window* target = FromHandle(child);
    *handled = target && target != this && target->OnReflectedMessage(msg, wParam, lParam, &result);
    return result;
}

LRESULT Window::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DRAWITEM || msg == WM_COMMAND || msg == WM_NOTIFY) {
        bool handled = false;
        LRESULT result = ReflectToChild(msg, wParam, lParam, &handled);
        if (handled)
            return result;
    }
    return DefaultProc(msg, wParam, lParam);
}

LRESULT CALLBACK Window::StaticWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self && msg == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (self)
            self->Attach(hwnd, nullptr);
    }
    if (!self)
        return DefWindowProcW(hwnd, msg, wParam, lParam);

    LRESULT result = self->WindowProc(msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        if (self->previousProc_)
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(self->previousProc_));
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        self->previousProc_ = nullptr;
        if (Application* app = Application::Current(); app && app->MainWindow() == self)
            app->OnMainWindowDestroyed();
        self->OnFinalMessage();
    }
    return result;
}

std::string Window::GetText() const {
    return WindowTextOf(hwnd_, 0x10000);
}

RECT WindowRectIn(HWND hwnd, HWND frame) {
    RECT rect = {};
    GetWindowRect(hwnd, &rect);
    MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string WindowTextOf(HWND hwnd, int maxUnits) {
    std::vector<wchar_t> buffer(static_cast<size_t>(maxUnits) + 1, L'\0');
    int n = GetWindowTextW(hwnd, buffer.data(), maxUnits);
    return Utf8(std::wstring_view(buffer.data(), n > 0 ? static_cast<size_t>(n) : 0));
}

void SetTextOf(HWND hwnd, const std::string& text) {
    SetWindowTextW(hwnd, Wide(text).c_str());
}

int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type) {
    return MessageBoxW(owner, Wide(text).c_str(), Wide(caption).c_str(), type);
}

namespace {

// A list entry's text through the control's length and text messages; both report a bad index
// as -1 (LB_ERR, CB_ERR).
std::string ListEntryText(HWND control, int index, UINT lengthMessage, UINT textMessage) {
    const LRESULT length = SendMessageW(control, lengthMessage, index, 0);
    if (length < 0)
        return std::string();
    std::vector<wchar_t> text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(control, textMessage, index, reinterpret_cast<LPARAM>(text.data()));
    return Utf8(text.data());
}

}  // namespace

std::string ListBoxText(HWND box, int index) {
    return ListEntryText(box, index, LB_GETTEXTLEN, LB_GETTEXT);
}

std::string ComboBoxText(HWND combo, int index) {
    return ListEntryText(combo, index, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}

namespace {

void SetForegroundLockTimeout(UINT_PTR timeout) {
    SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, reinterpret_cast<void*>(timeout), 0);
}

UINT_PTR ForegroundLockTimeout() {
    DWORD timeout = 0;
    SystemParametersInfoW(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &timeout, 0);
    return timeout;
}

}  // namespace

// Takes the foreground from another program: joined to the foreground thread's input and with
// the foreground lock timeout off, SetForegroundWindow is not refused.
void ForceForeground(HWND window) {
    if (!window)
        return;
    HWND topLevel = GetAncestor(window, GA_ROOT);
    // Asked plainly first: the foreground thread may hand the foreground on, as the launcher does
    // when it hides, and Wine grants it to any thread. Joining the input queues costs several
    // times as much under Wine; a refusal leaves the foreground where it was.
    const DWORD ownThread = GetCurrentThreadId();
    if (SetForegroundWindow(window) && GetForegroundWindow() == topLevel) {
        // A dialog's activation already gave the focus to one of its controls; moving it to the
        // dialog would only send it back there, through two more focus changes.
        HWND focus = GetWindowThreadProcessId(window, nullptr) == ownThread ? GetFocus() : window;
        if (focus != window && !IsChild(window, focus))
            SetFocus(window);
        return;
    }
    const DWORD foregroundThread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    const DWORD windowThread = GetWindowThreadProcessId(window, nullptr);
    AttachThreadInput(windowThread, foregroundThread, TRUE);
    const UINT_PTR savedTimeout = ForegroundLockTimeout();
    SetForegroundLockTimeout(0);
    SetForegroundWindow(window);
    SetFocus(window);
    SetForegroundLockTimeout(savedTimeout);
    AttachThreadInput(windowThread, foregroundThread, FALSE);

    // Wine can end this sequence with no foreground window at all.
    if (GetForegroundWindow() != topLevel)
        SetForegroundWindow(topLevel ? topLevel : window);
}
