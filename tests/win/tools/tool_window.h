// Shared by the test programs that show a window of their own: registering its class and
// creating it, the default end of its window procedure, and the message loop.
#pragma once

#include <windows.h>

// A window of a class registered for it here, with the arrow cursor and the window colour;
// null when the class or the window cannot be made.
inline HWND CreateToolWindow(const char* className, WNDPROC proc, const char* title, DWORD style, RECT bounds) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = proc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = className;
    if (!RegisterClassA(&windowClass))
        return nullptr;
    return CreateWindowExA(0, className, title, style, bounds.left, bounds.top, bounds.right - bounds.left,
                           bounds.bottom - bounds.top, nullptr, nullptr, windowClass.hInstance, nullptr);
}

// What a tool window does with the messages its procedure leaves: the program ends with the window.
inline LRESULT ToolWindowDefault(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, msg, wParam, lParam);
}

inline int RunMessageLoop() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
