// Window objects with a virtual window procedure. One static procedure binds the object to
// its window (GWLP_USERDATA) and forwards every message to WindowProc; dialogs, property
// pages and subclassed controls all go through the same procedure, so FromHandle knows them.
#pragma once

#include <windows.h>

#include <string>

class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND hwnd() const { return hwnd_; }

    // The object bound to a window by this layer, or nullptr for any other window.
    static Window* FromHandle(HWND hwnd);

    // Creates a window of a class registered by this layer for the given name (texts in UTF-8).
    bool
    Create(const char* className, DWORD exStyle, const char* text, DWORD style, const RECT& rect, HWND parent, UINT id);
    // Takes over an existing window (typically a control) and routes its messages here.
    bool Subclass(HWND hwnd);
    void DestroyWindow();

    // Offered each queued message bound for this window or one of its descendants before
    // it is dispatched. Returning true consumes it.
    virtual bool PreTranslateMessage(MSG* msg) { return false; }

    // The window procedure. Overrides pass unhandled messages to Window::WindowProc.
    virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);

    // A notification that the parent reflects back to the control that sent it
    // (WM_DRAWITEM, WM_COMMAND, WM_NOTIFY). Returns true when handled.
    virtual bool OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) { return false; }

    // The processing the window would get without this object.
    LRESULT DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam);

    std::string GetText() const;

protected:
    // Binds this object to hwnd and replaces the window's procedure with ours.
    void Attach(HWND hwnd, WNDPROC previous);
    // Called after the window received WM_NCDESTROY and was unbound.
    virtual void OnFinalMessage() {}

    static LRESULT CALLBACK StaticWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

private:
    LRESULT ReflectToChild(UINT msg, WPARAM wParam, LPARAM lParam, bool* handled);

    HWND hwnd_ = nullptr;
    WNDPROC previousProc_ = nullptr;  // DefWindowProc for our classes, the control's own for subclasses
};

// Sends a message to a window and returns its text, for windows of any process. maxUnits is
// the size of the text buffer including the terminating zero, as for GetWindowTextW: the text
// returned holds at most maxUnits - 1 UTF-16 units.
std::string WindowTextOf(HWND hwnd, int maxUnits = 260);

// The text of entry index of a list box or a combo box, empty for an index it does not have.
std::string ListBoxText(HWND box, int index);
std::string ComboBoxText(HWND combo, int index);

// Sets a window's text (UTF-8).
void SetTextOf(HWND hwnd, const std::string& text);

// The system's message box with texts in UTF-8.
int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type);

// Makes window the foreground window, also when another program holds the foreground.
void ForceForeground(HWND window);

// The window's rectangle in the client coordinates of frame.
RECT WindowRectIn(HWND hwnd, HWND frame);
